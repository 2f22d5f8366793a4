#include "sync/core/run_clock.h"

#include <cstdlib>
#include <thread>

namespace brindlemoor {

platform::LocalDateTime SystemRunClock::now() const {
    return platform::now();
}

bool SystemRunClock::isFixed() const {
    const char* fixed = std::getenv("TAVIRO_NOW");
    return fixed != nullptr && platform::parseIsoDateTime(fixed).has_value();
}

void SystemRunClock::sleepFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace brindlemoor
