#pragma once
// The clock a run reads its stamps from and waits with. The program's clock is the local time
// (TAVIRO_NOW when set, which fixes it); tests put in a clock of their own.
#include <chrono>

#include "platform/clock.h"

namespace brindlemoor {

class RunClock {
  public:
    virtual ~RunClock() = default;
    virtual platform::LocalDateTime now() const = 0;
    // True when the time stands still (TAVIRO_NOW): waiting for a later minute never ends.
    virtual bool isFixed() const = 0;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

// platform::now(), fixed exactly when TAVIRO_NOW holds a valid time; sleeps for real.
class SystemRunClock final : public RunClock {
  public:
    platform::LocalDateTime now() const override;
    bool isFixed() const override;
    void sleepFor(std::chrono::milliseconds duration) override;
};

}  // namespace brindlemoor
