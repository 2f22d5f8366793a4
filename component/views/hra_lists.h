#pragma once
// The hours-registration lists: labor lines that belong to no service order and no activity
// (their line group has an empty ID and Activity), with a fixed registration-date column.
#include <cstdint>
#include <string>

#include "component/core/session.h"

namespace quillmere {

// Public methods. The three parameters of ListHRALines are accepted and not used.
std::string ListHRALines(Session& session, const std::string& iCostType, const std::string& iorder,
                         const std::string& iActivity);
std::string ViewHra_W(Session& session);
std::string ViewHra_SI(Session& session);

// The column widths and the heading row of the kind `iBoiTag` in the loaded field-definition
// document, without ServiceOrder and Activity; "Registration Date" follows the heading that
// brings the counter to 1. Raises `iCols` by one per field heading (overflow past 32,767).
std::string getColumnHeadingsForHRA(Session& session, int16_t& iCols, const std::string& iBoiTag);

}  // namespace quillmere
