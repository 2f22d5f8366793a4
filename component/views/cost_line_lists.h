#pragma once
// The cost lines (material, labor, other) of the activities: the header panel with its
// cost-type drop-down, the lines of one type for one activity, and the list panels of one
// type for one activity or for all activities filtered by State.
#include <string>

#include "component/core/session.h"

namespace quillmere {

// Public methods.
std::string CostLinesHeader(Session& session, const std::string& iOrno, const std::string& iAcln);
std::string BuildCostLines(Session& session, const std::string& icType, const std::string& iOrno,
                           const std::string& iAcln);
std::string ListCostLines(Session& session, const std::string& iCostType, const std::string& iorder,
                          const std::string& iActivity);
std::string ViewCostLines_W(Session& session, const std::string& iCostType);
std::string ViewCostLines_SI(Session& session, const std::string& iCostType);

}  // namespace quillmere
