#pragma once
// Access to the values of the component's registry key, found by exact name (enumerating the
// key's values) although registry names are otherwise compared without regard to case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// The data (as text) of the value named exactly `name`; nullopt when it or the key is missing.
std::optional<std::string> ReadComponentValue(Session& session, std::string_view name);

// The same, or "" when the name is empty or the value or the key is missing.
std::string ReadRegistryValue(Session& session, std::string_view name);

// Sets the data of an existing value named exactly `name`, keeping its type (a number value
// takes the text's numeric value; text that is not an unsigned 32-bit decimal number fails with
// kTypeMismatch). Returns false, changing nothing, when it is missing.
bool SetExistingComponentValue(Session& session, std::string_view name, std::string_view text);

}  // namespace quillmere
