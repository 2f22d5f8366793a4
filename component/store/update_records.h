#pragma once
// updatexml: the page sends a changed order, activity or cost line; its fields are validated,
// copied into the stored record by name, and the record's State moves to changed. A record that
// was already uploaded is cleared from the upload report so that it is sent again.
//
// Failures: a request that is not XML, a store or field definitions that cannot be loaded are
// reported in the result and the last error (and logged where the page needs it); validation
// messages only in the result. DOM and master-data errors reach the method frame.
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// Public method: "" on success, otherwise the failure text.
std::string updatexml(Session& session, const std::string& iXML);

// Update steps on the loaded store; each gives true when it updated the record and sets the
// message ("" on success). UpdateOrder's message is the "order not found" text when the store
// has orders but not this one; the others give no message when nothing matches.
bool UpdateOrder(Session& session, std::string_view order, platform::xml::Node request,
                 std::string& message);
bool UpdateActivity(Session& session, std::string_view order, std::string_view activity,
                    platform::xml::Node request, std::string& message);
bool UpdateCostLine(Session& session, std::string_view kind, std::string_view order,
                    std::string_view activity, std::string_view line, platform::xml::Node request,
                    std::string& message);

}  // namespace quillmere
