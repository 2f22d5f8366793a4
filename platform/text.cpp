#include "platform/text.h"

#include <algorithm>

namespace platform {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

template <typename IsTrimmed>
std::string_view trimWith(std::string_view text, IsTrimmed isTrimmed) {
    while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    return trimWith(text, [](char c) { return c == ' '; });
}

std::string_view trimBlanksAndTabs(std::string_view text) {
    return trimWith(text, [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view trimWhitespace(std::string_view text) {
    return trimWith(text, isWhitespace);
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string toLower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lowerAscii);
    return result;
}

std::string toUpper(std::string_view text) {
    std::string result;
    assignUpper(result, text);
    return result;
}

std::string_view mid(std::string_view text, size_t start, size_t length) {
    if (start == 0 || start > text.size()) return {};
    return text.substr(start - 1, length);
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

}  // namespace platform
