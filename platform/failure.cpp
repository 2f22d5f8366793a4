#include "platform/failure.h"

#include <cstdio>

namespace platform {

std::string formatFailureCode(uint32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", code);
    return buffer;
}

PlatformError objectNotSet() {
    return PlatformError(failure::kObjectNotSet, "Object variable or With block variable not set");
}

PlatformError typeMismatch() {
    return PlatformError(failure::kTypeMismatch, "Type mismatch");
}

PlatformError overflow() {
    return PlatformError(failure::kOverflow, "Overflow");
}

PlatformError pathNotFound(const std::filesystem::path& path) {
    return PlatformError(failure::kPathNotFound, "Path not found: " + path.string());
}

PlatformError argumentTypeMismatch() {
    return PlatformError(failure::kDispTypeMismatch, "Type mismatch");
}

PlatformError invalidUseOfNull() {
    return PlatformError(failure::kInvalidUseOfNull, "Invalid use of Null");
}

}  // namespace platform
