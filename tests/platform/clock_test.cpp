#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace platform {
namespace {

LocalDateTime at(int year, int month, int day, int hour, int minute, int second) {
    return {year, month, day, hour, minute, second};
}

// Runs with TAVIRO_NOW set to the text (or unset) and restores what was there.
class FixedNow {
  public:
    explicit FixedNow(const char* value) {
        if (const char* old = std::getenv("TAVIRO_NOW")) old_ = old;
        if (value)
            ::setenv("TAVIRO_NOW", value, 1);
        else
            ::unsetenv("TAVIRO_NOW");
    }
    ~FixedNow() {
        if (old_)
            ::setenv("TAVIRO_NOW", old_->c_str(), 1);
        else
            ::unsetenv("TAVIRO_NOW");
    }

  private:
    std::optional<std::string> old_;
};

LocalDateTime systemLocalTime() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

TEST(Clock, TaviroNowFixesTheTime) {
    FixedNow fixed("2026-12-07 21:05:00");
    EXPECT_EQ(now(), at(2026, 12, 7, 21, 5, 0));
}

TEST(Clock, ASystemClockReadsTaviroNowWhenItIsMade) {
    std::optional<SystemClock> clock;
    {
        FixedNow fixed("2026-12-07 21:05:00");
        clock.emplace();
    }
    FixedNow other("2030-01-01 00:00:00");
    EXPECT_EQ(clock->now(), at(2026, 12, 7, 21, 5, 0));
    EXPECT_EQ(now(), at(2030, 1, 1, 0, 0, 0));  // programs see every change
}

TEST(Clock, AFixedClockStandsStillUntilItIsSet) {
    FixedClock clock(at(2026, 12, 7, 9, 5, 0));
    EXPECT_EQ(clock.now(), at(2026, 12, 7, 9, 5, 0));
    clock.set(at(2026, 1, 2, 0, 5, 9));
    const Clock& asked = clock;
    EXPECT_EQ(asked.now(), at(2026, 1, 2, 0, 5, 9));
}

TEST(Clock, InvalidTaviroNowIsIgnored) {
    for (const char* invalid : {"2026-02-30 10:00:00", "2026-12-07T21:05:00", "2026-12-07 24:00:00",
                                "2026-12-07 21:05", "7/12/2026 9:05:00 PM", "garbage", ""}) {
        FixedNow fixed(invalid);
        const LocalDateTime before = systemLocalTime();
        const LocalDateTime seen = now();
        const LocalDateTime after = systemLocalTime();
        EXPECT_TRUE(before <= seen && seen <= after)
            << invalid << " gave " << formatIsoDateTime(seen);
    }
}

TEST(Clock, ParsesOnlyRealDatesAndTimes) {
    EXPECT_EQ(parseIsoDateTime("2024-02-29 00:00:00"), at(2024, 2, 29, 0, 0, 0));
    EXPECT_EQ(parseIsoDateTime("2000-02-29 23:59:59"), at(2000, 2, 29, 23, 59, 59));
    EXPECT_FALSE(parseIsoDateTime("2100-02-29 00:00:00"));
    EXPECT_FALSE(parseIsoDateTime("2026-13-01 00:00:00"));
    EXPECT_FALSE(parseIsoDateTime("2026-04-31 00:00:00"));
    EXPECT_FALSE(parseIsoDateTime("2026-01-01 00:60:00"));
    EXPECT_FALSE(parseIsoDateTime("2026-01-01 00:00:00 "));
    EXPECT_FALSE(parseIsoDateTime("+026-01-01 00:00:00"));
    EXPECT_EQ(formatIsoDateTime(at(2026, 1, 2, 3, 4, 5)), "2026-01-02 03:04:05");
}

TEST(Clock, GeneralDateIsTheUsFormWithTwelveHourTime) {
    EXPECT_EQ(formatGeneralDate(at(2026, 12, 7, 21, 5, 0)), "12/7/2026 9:05:00 PM");
    EXPECT_EQ(formatGeneralDate(at(2026, 1, 2, 0, 0, 0)), "1/2/2026 12:00:00 AM");
    EXPECT_EQ(formatGeneralDate(at(2026, 1, 2, 0, 59, 9)), "1/2/2026 12:59:09 AM");
    EXPECT_EQ(formatGeneralDate(at(2026, 1, 2, 11, 59, 59)), "1/2/2026 11:59:59 AM");
    EXPECT_EQ(formatGeneralDate(at(2026, 1, 2, 12, 0, 0)), "1/2/2026 12:00:00 PM");
    EXPECT_EQ(formatGeneralDate(at(2026, 10, 31, 13, 7, 30)), "10/31/2026 1:07:30 PM");
    EXPECT_EQ(formatGeneralDate(at(2026, 10, 31, 23, 59, 59)), "10/31/2026 11:59:59 PM");
}

TEST(Clock, ShortDateHasTwoDigitYear) {
    EXPECT_EQ(formatShortDate(at(2026, 12, 7, 21, 5, 0)), "12/7/26");
    EXPECT_EQ(formatShortDate(at(2005, 1, 2, 0, 0, 0)), "1/2/05");
    EXPECT_EQ(formatShortDate(at(2000, 10, 31, 0, 0, 0)), "10/31/00");
}

}  // namespace
}  // namespace platform
