#include "platform/failure.h"

#include <cstdio>

namespace platform {

std::string formatFailureCode(uint32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", code);
    return buffer;
}

}  // namespace platform
