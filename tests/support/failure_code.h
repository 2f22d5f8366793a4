#pragma once
// The failure code of the PlatformError an action throws; 0 when it throws none.
#include <cstdint>
#include <functional>

#include "platform/failure.h"

namespace testing_support {

inline uint32_t failureCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::PlatformError& error) {
        return error.code();
    }
    return 0;
}

}  // namespace testing_support
