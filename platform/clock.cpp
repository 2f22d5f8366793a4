#include "platform/clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace platform {

namespace {

LocalDateTime systemNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace

bool isValidDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    return date.ok();
}

bool isValidDateTime(const LocalDateTime& t) {
    if (t.year < 1 || t.year > 9999 || !isValidDate(t.year, t.month, t.day)) return false;
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

std::optional<LocalDateTime> parseIsoDateTime(std::string_view text) {
    // Exactly "YYYY-MM-DD hh:mm:ss".
    static const char pattern[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != sizeof pattern - 1) return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) return std::nullopt;
    }
    auto number = [&](size_t from, size_t length) {
        int value = 0;
        for (size_t i = from; i < from + length; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    LocalDateTime t{number(0, 4),  number(5, 2),  number(8, 2),
                    number(11, 2), number(14, 2), number(17, 2)};
    if (!isValidDateTime(t)) return std::nullopt;
    return t;
}

SystemClock::SystemClock() {
    if (const char* fixed = std::getenv("TAVIRO_NOW"); fixed && *fixed) {
        fixed_ = parseIsoDateTime(fixed);
    }
}

LocalDateTime SystemClock::now() const {
    return fixed_ ? *fixed_ : systemNow();
}

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

LocalDateTime now() {
    return SystemClock().now();
}

std::string formatIsoDateTime(const LocalDateTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer;
}

std::string formatGeneralDate(const LocalDateTime& t) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12,
                  t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return buffer;
}

std::string formatShortDate(const LocalDateTime& t) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%02d", t.month, t.day, t.year % 100);
    return buffer;
}

}  // namespace platform
