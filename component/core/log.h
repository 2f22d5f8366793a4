#pragma once
// The component's log, "C:\Taviro Quillmere\log.txt": a header line per user action, then
// detail lines "label  value". The file must exist (start-up creates it); every write appends
// one CR LF line and closes the file again.
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// Detail line labels.
inline constexpr std::string_view kErrorLabel = "Error = ";
inline constexpr std::string_view kXmlLabel = "iXml = ";
inline constexpr std::string_view kModeLabel = " Mode = ";

// "|--------- Logged On:  <date>  For User Action: <action>  ----------"
void LogAction(Session& session, std::string_view action);
// One line of free text.
void LogLine(Session& session, std::string_view text);
// label, two blanks, value.
void LogDetail(Session& session, std::string_view label, std::string_view value);

}  // namespace quillmere
