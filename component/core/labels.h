#pragma once
// Label texts: keys such as "SLBEU0262" whose texts, in the user's language, stand in the I18N
// section of the field-definition document.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// The text of the first I18N entry whose ID equals the key exactly; the empty text when the
// document is missing or ill-formed or no entry matches. A document without an I18N section,
// or an entry without ID or DESCRIPTION met on the way, fails with the object error.
std::string GetLabelText(Session& session, std::string_view key);

}  // namespace quillmere
