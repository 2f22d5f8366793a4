#include "component/store/value_checks.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <string>

namespace quillmere {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view value) {
    while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
    while (!value.empty() && isBlank(value.back())) value.remove_suffix(1);
    return value;
}

// Consumes a run of digits; returns how many there were.
size_t skipDigits(std::string_view text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return at - start;
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!isDigit(c)) return false;
    return true;
}

// Characters `start` (1-based) on, at most `length` of them; "" past the end.
std::string_view mid(std::string_view value, size_t start, size_t length) {
    if (start > value.size()) return {};
    return value.substr(start - 1, length);
}

int number(std::string_view digits) {
    int result = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), result);
    return result;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

// Splits `text` at `separator` into exactly `parts.size()` pieces.
template <size_t N>
bool splitExactly(std::string_view text, char separator, std::array<std::string_view, N>& parts) {
    for (size_t i = 0; i < N; ++i) {
        const size_t end = text.find(separator);
        if (i + 1 < N) {
            if (end == std::string_view::npos) return false;
            parts[i] = text.substr(0, end);
            text.remove_prefix(end + 1);
        } else {
            if (end != std::string_view::npos) return false;
            parts[i] = text;
        }
    }
    return true;
}

bool isShortNumber(std::string_view part) {
    return part.size() <= 2 && allDigits(part);
}

}  // namespace

bool IsNumericText(std::string_view value) {
    const std::string_view text = trimBlanks(value);
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
    std::string text(trimBlanks(value));
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
    std::array<std::string_view, 2> dateAndTime;
    std::array<std::string_view, 3> date;
    std::array<std::string_view, 3> time;
    if (!splitExactly(text, ' ', dateAndTime) || !splitExactly(dateAndTime[0], '/', date) ||
        !splitExactly(dateAndTime[1], ':', time))
        return false;
    if (!isShortNumber(date[0]) || !isShortNumber(date[1]) || date[2].size() != 4 ||
        !allDigits(date[2]))
        return false;
    for (std::string_view part : time)
        if (!isShortNumber(part)) return false;
    const int day = number(date[0]);
    const int month = number(date[1]);
    const int year = number(date[2]);
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return false;
    return number(time[0]) <= 23 && number(time[1]) <= 59 && number(time[2]) <= 59;
}

bool IsStoredDate(std::string_view value) {
    const std::string normalized = NormalizeDateTime(value);
    return !normalized.empty() && IsDateText(normalized);
}

}  // namespace quillmere
