#pragma once
// Local time. TAVIRO_NOW ("YYYY-MM-DD hh:mm:ss") fixes the time for programs run by tests and
// demos; otherwise the system clock's local time is used. Code that is handed a Clock asks it
// (tests hand in a FixedClock); platform::now() is the system clock of programs.
//
// Failures: none; an invalid TAVIRO_NOW is ignored.
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const LocalDateTime&) const = default;
    auto operator<=>(const LocalDateTime&) const = default;
};

// Where the local time comes from.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
};

// The system clock's local time, or the time TAVIRO_NOW fixes when it is set and valid. The
// variable is read once, when the clock is made.
class SystemClock final : public Clock {
  public:
    SystemClock();
    LocalDateTime now() const override;

  private:
    std::optional<LocalDateTime> fixed_;
};

// A clock that stands still at the time it is given (tests).
class FixedClock final : public Clock {
  public:
    explicit FixedClock(LocalDateTime time) : time_(time) {}
    LocalDateTime now() const override { return time_; }
    void set(LocalDateTime time) { time_ = time; }

  private:
    LocalDateTime time_;
};

// The process's system clock, made on first use.
const Clock& systemClock();

// The current local time (TAVIRO_NOW when set and valid, read on every call, as programs and
// scripts may set it between runs of one process).
LocalDateTime now();

// "YYYY-MM-DD hh:mm:ss" -> time; nullopt when the text is not a real date and time.
std::optional<LocalDateTime> parseIsoDateTime(std::string_view text);

// "YYYY-MM-DD hh:mm:ss".
std::string formatIsoDateTime(const LocalDateTime& t);

// The general date-and-time format of a U.S. system: "12/7/2026 9:05:00 PM".
std::string formatGeneralDate(const LocalDateTime& t);

// The short date form: "12/7/26".
std::string formatShortDate(const LocalDateTime& t);

// True when year, month and day form a real date of the proleptic Gregorian calendar.
bool isValidDate(int year, int month, int day);

// True when the fields form a real calendar date (years 1 to 9999) and a time of day.
bool isValidDateTime(const LocalDateTime& t);

}  // namespace platform
