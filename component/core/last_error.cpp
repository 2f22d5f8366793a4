#include "component/core/last_error.h"

#include "component/core/component_key.h"

namespace quillmere {

bool SetLastError(Session& session, std::string_view text) {
    return SetExistingComponentValue(session, "Error", text);
}

std::string ReadLastError(Session& session) {
    return ReadComponentValue(session, "Error").value_or("");
}

}  // namespace quillmere
