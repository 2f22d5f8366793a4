#pragma once
// The last-error slot: the registry value "Error" of the component's key. Operations write "1"
// (no error) when they start and their failure text when they fail; the page reads it back.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

inline constexpr std::string_view kNoError = "1";

// Changes an existing "Error" value; does nothing when the value (or the key) is missing.
// True when the value was written.
bool SetLastError(Session& session, std::string_view text);

// The data of "Error"; the empty text when it is missing.
std::string ReadLastError(Session& session);

}  // namespace quillmere
