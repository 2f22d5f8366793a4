#include "component/store/value_checks.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/text.h"

namespace quillmere {

namespace {

using platform::mid;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Consumes a run of digits; returns how many there were.
size_t skipDigits(std::string_view text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return at - start;
}

int number(std::string_view digits) {
    int result = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), result);
    return result;
}

// Splits `text` at `separator` into exactly `count` pieces; false for any other number.
bool splitExactly(std::string_view text, char separator, size_t count,
                  std::vector<std::string_view>& parts) {
    parts = platform::split(text, separator);
    return parts.size() == count;
}

bool isShortNumber(std::string_view part) {
    return part.size() <= 2 && platform::isDigits(part);
}

}  // namespace

bool IsNumericText(std::string_view value) {
    const std::string_view text = platform::trimBlanksAndTabs(value);
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    size_t digits = skipDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits += skipDigits(text, at);
    }
    if (digits == 0) return false;
    if (at < text.size() && std::string_view("EeDd").find(text[at]) != std::string_view::npos) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (skipDigits(text, at) == 0) return false;
    }
    return at == text.size();
}

std::optional<double> NumericValue(std::string_view value) {
    if (!IsNumericText(value)) return std::nullopt;
    std::string text(platform::trimBlanksAndTabs(value));
    for (char& c : text)
        if (c == 'D' || c == 'd') c = 'E';
    return std::strtod(text.c_str(), nullptr);
}

std::string NormalizeDateTime(std::string_view value) {
    if (value.empty()) return {};
    const std::string_view year = mid(value, 1, 4);
    const std::string_view month = mid(value, 5, 2);
    const std::string_view day = mid(value, 7, 2);
    if (!IsNumericText(year) || !IsNumericText(month) || !IsNumericText(day)) return {};
    if (year < "1971" || year > "2037") return {};
    if (*NumericValue(month) > 12) return {};
    std::string_view hour = "00";
    std::string_view minute = "00";
    std::string_view second = "00";
    if (value.size() >= 10) {
        const auto orZeros = [](std::string_view part) { return part.empty() ? "00" : part; };
        hour = orZeros(mid(value, 10, 2));
        minute = orZeros(mid(value, 12, 2));
        second = orZeros(mid(value, 14, 2));
    }
    std::string normalized;
    normalized.append(day).append("/").append(month).append("/").append(year);
    normalized.append(" ").append(hour).append(":").append(minute).append(":").append(second);
    return normalized;
}

bool IsDateText(std::string_view text) {
    std::vector<std::string_view> dateAndTime;
    std::vector<std::string_view> date;
    std::vector<std::string_view> time;
    if (!splitExactly(text, ' ', 2, dateAndTime) || !splitExactly(dateAndTime[0], '/', 3, date) ||
        !splitExactly(dateAndTime[1], ':', 3, time))
        return false;
    if (!isShortNumber(date[0]) || !isShortNumber(date[1]) || date[2].size() != 4 ||
        !platform::isDigits(date[2]))
        return false;
    for (std::string_view part : time)
        if (!isShortNumber(part)) return false;
    if (!platform::isValidDate(number(date[2]), number(date[1]), number(date[0]))) return false;
    return number(time[0]) <= 23 && number(time[1]) <= 59 && number(time[2]) <= 59;
}

bool IsStoredDate(std::string_view value) {
    const std::string normalized = NormalizeDateTime(value);
    return !normalized.empty() && IsDateText(normalized);
}

}  // namespace quillmere
