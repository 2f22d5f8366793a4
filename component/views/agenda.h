#pragma once
// The agenda: the activities of the service orders in one status, grouped by order, as one
// scrolling panel. MyActivities lists open orders ("15"), completedAgenda the orders completed
// on the laptop ("20"), canceledAgenda the orders closed by the server ("35").
#include <string>

#include "component/core/session.h"

namespace quillmere {

std::string MyActivities(Session& session, const std::string& iXML);
std::string completedAgenda(Session& session);
std::string canceledAgenda(Session& session);

}  // namespace quillmere
