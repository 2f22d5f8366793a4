#pragma once
// The published interface of Client20: every method with its position, parameters and result
// type. DISPIDs are kDispIdBase + position; position 27 holds no public method.
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillmere {

inline constexpr int32_t kDispIdBase = 0x60030000;
inline constexpr int kMethodSlots = 58;  // positions 0..57

enum class ParamType { String, Int16, Variant };
enum class ResultType { String, Variant, Boolean };

// What a method does with the state files of the install folder (order store, upload report,
// field definitions): the method frame holds the install folder's lock for the whole call,
// shared for a method that only reads them, exclusive for one that may change them, none for
// a method that does not touch them.
enum class StateAccess { None, Reads, Changes };

struct ParameterDeclaration {
    std::string_view name;
    ParamType type;
    bool byRef = false;
};

struct MethodDeclaration {
    int position;
    std::string_view name;
    std::vector<ParameterDeclaration> params;
    ResultType result;
    StateAccess access = StateAccess::None;

    int32_t dispId() const { return kDispIdBase + position; }
};

// The 57 methods in interface order.
const std::vector<MethodDeclaration>& methodDeclarations();

// Look-up by name, without regard to case as automation clients expect; nullptr when unknown.
const MethodDeclaration* findMethod(std::string_view name);
// Look-up by DISPID; nullptr for an unknown one (position 27 included).
const MethodDeclaration* findMethod(int32_t dispId);

}  // namespace quillmere
