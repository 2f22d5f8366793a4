#pragma once
// The business objects of the ERP audit and, per object, which audit field each record member
// answers from. docs/erp-audit.md lists the same mapping for whoever loads audit databases.
#include <string_view>
#include <vector>

namespace brindlemoor::erp {

struct MemberField {
    std::string_view member;  // e.g. "getDescription"
    std::string_view field;   // e.g. "dsca"
};

struct BusinessObjectFields {
    std::string_view name;  // the server table it feeds, e.g. "UNITS"
    std::vector<MemberField> members;
};

const std::vector<BusinessObjectFields>& businessObjects();
// nullptr for an unknown name (compared without regard to case).
const BusinessObjectFields* findBusinessObject(std::string_view name);
// The field a member answers from; empty when the object has no such member (member names
// compare without regard to case, as late-bound calls do).
std::string_view fieldOfMember(const BusinessObjectFields& object, std::string_view member);

// The item field: stored without the ERP's blank project segment, compared with it.
inline constexpr std::string_view kItemField = "item";

}  // namespace brindlemoor::erp
