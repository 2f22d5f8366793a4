#pragma once
// Client20, the component's one class. A call reaches a method through the dispatch table
// (by name or DISPID) and runs inside the method frame: arguments are checked and converted to
// the declared types, the method's logic runs under one handler, and a platform failure that
// escapes it becomes the call's failure code and description. Handled failures are ordinary
// results (a text plus the last-error value).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "component/core/method_table.h"
#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// Runs one method's logic. Arguments arrive converted to the declared parameter types;
// by-reference parameters are handed back by changing them in place.
using MethodHandler = std::function<Variant(Session&, std::vector<Variant>&)>;
using MethodHandlers = std::array<MethodHandler, kMethodSlots>;

struct CallOutcome {
    bool succeeded = false;
    Variant result;
    uint32_t code = 0;
    std::string description;
};

class Client20 {
  public:
    // The clock must outlive the object.
    Client20(platform::MachineRoot root, platform::MessageSink& messages,
             const MethodHandlers& handlers,
             const platform::Clock& clock = platform::systemClock());

    // Invokes by DISPID / by name with the arguments in parameter order.
    CallOutcome invoke(int32_t dispId, std::vector<Variant>& args);
    CallOutcome invoke(std::string_view name, std::vector<Variant>& args);
    // As invoke by name, for callers that do not read by-value arguments after the call: those
    // are moved into the call rather than copied (a change file may weigh megabytes). By-reference
    // arguments come back as with invoke.
    CallOutcome invokeMovingArguments(std::string_view name, std::vector<Variant>& args);

    Session& session() { return session_; }

  private:
    CallOutcome invokeNamed(std::string_view name, std::vector<Variant>& args,
                            bool moveByValueArguments);
    CallOutcome run(const MethodDeclaration& method, std::vector<Variant>& args,
                    bool moveByValueArguments);
    Session session_;
    const MethodHandlers& handlers_;
};

// Converts an argument to a parameter's declared type (text for strings, a 16-bit integer
// from decimal text). Throws platform::argumentTypeMismatch() when it cannot be converted and
// platform::overflow() for a number outside the 16-bit range.
Variant convertArgument(const Variant& value, ParamType type);
// The same for an argument the caller gives up: a value that needs no conversion is moved.
Variant convertArgument(Variant&& value, ParamType type);

}  // namespace quillmere
