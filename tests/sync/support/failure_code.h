#pragma once
// The failure code an action ends with, for tests that check which runtime error a step gives.
#include <cstdint>
#include <functional>

#include "platform/failure.h"

namespace sync_testing {

// The code of the PlatformError the action throws; 0 when it throws none.
inline uint32_t FailureCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::PlatformError& error) {
        return error.code();
    }
    return 0;
}

}  // namespace sync_testing
