#pragma once
// A run clock for tests: it stands at a set time and moves on only by what the run sleeps, so
// that waiting for the next minute or for another run's lock takes no real time.
#include <chrono>
#include <functional>

#include "sync/core/run_clock.h"

namespace sync_testing {

class SteppingClock final : public brindlemoor::RunClock {
  public:
    explicit SteppingClock(const platform::LocalDateTime& start) : now_(start) {}

    platform::LocalDateTime now() const override { return now_; }
    bool isFixed() const override { return false; }
    void sleepFor(std::chrono::milliseconds duration) override {
        slept += duration;
        now_ = later(now_, std::chrono::duration_cast<std::chrono::seconds>(duration));
        if (onSleep) onSleep();
    }

    void set(const platform::LocalDateTime& time) { now_ = time; }

    std::chrono::milliseconds slept{0};
    // Called after each sleep (to end another run's lock, say).
    std::function<void()> onSleep;

  private:
    static platform::LocalDateTime later(const platform::LocalDateTime& time,
                                         std::chrono::seconds by) {
        using namespace std::chrono;
        const sys_days day = year_month_day{year{time.year}, month{unsigned(time.month)},
                                            std::chrono::day{unsigned(time.day)}};
        const sys_seconds moved =
            day + hours{time.hour} + minutes{time.minute} + seconds{time.second} + by;
        const sys_days movedDay = floor<days>(moved);
        const year_month_day date{movedDay};
        const hh_mm_ss<seconds> clock{moved - movedDay};
        return {
            int(date.year()),           int(unsigned(date.month())),  int(unsigned(date.day())),
            int(clock.hours().count()), int(clock.minutes().count()), int(clock.seconds().count())};
    }

    platform::LocalDateTime now_;
};

}  // namespace sync_testing
