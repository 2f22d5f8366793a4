#pragma once
// Hours registrations are labor cost lines under the object name "hra": their detail view and
// their empty entry form. A registration entered here has an empty order and activity number,
// which is what the hours-registration lists select.
#include <cstdint>
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// Public methods. iObject and iXML (and, for the form, all three arguments) are not used.
std::string GetDetailsForHRA(Session& session, const std::string& iObject, const std::string& iOrno,
                             const std::string& iAcln, const std::string& iLine,
                             const std::string& iXML, int16_t iError);
std::string CreateFormforHra(Session& session, const std::string& iObject, const std::string& iOrno,
                             const std::string& iAcln);

// The form block of CreateFormforHra; takes a number of the "LineId" counter into `line`.
std::string BuildNewHraForm(Session& session, std::string_view element, std::string_view objectName,
                            std::string& order, std::string& activity, std::string& line);

}  // namespace quillmere
