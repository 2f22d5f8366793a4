#pragma once
// The plain lists of service orders and of activities, chosen by where each record stands
// between laptop and server (its State code), in the scrolling panel of the agenda.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// Public methods. Each returns the panel, or "" after a handled failure (last error and log).
std::string ListOrders(Session& session);
std::string ViewOrders_W(Session& session);
std::string ViewOrders_SI(Session& session);
std::string ViewActivities_W(Session& session);
std::string ViewActivities_SI(Session& session);

}  // namespace quillmere
