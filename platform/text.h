#pragma once
// Small text helpers shared by every layer: trimming, comparison without regard to case (as
// Windows compares names) and splitting. Byte strings throughout; "case" means ASCII letters.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text without leading and trailing blanks (' ' only, as the Windows runtime's Trim).
std::string_view trimBlanks(std::string_view text);

// The text without leading and trailing blanks and tabs (as the runtime's numeric test skips).
std::string_view trimBlanksAndTabs(std::string_view text);

// The text without leading and trailing white space (blank, TAB, CR, LF, VT, FF).
std::string_view trimWhitespace(std::string_view text);

// Case-insensitive equality and prefix test of ASCII names.
bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool startsWithIgnoreCase(std::string_view text, std::string_view prefix);

// The ASCII lower-case and upper-case forms.
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);
// The upper-case form into `out`, reusing its buffer (for readers of many thousand names).
inline void assignUpper(std::string& out, std::string_view text) {
    out.assign(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

// The characters from 1-based position `start` on, at most `length` of them, as the runtime's
// Mid; the empty text for position 0 or past the end.
std::string_view mid(std::string_view text, size_t start, size_t length);

// True when the text is not empty and holds ASCII digits only.
bool isDigits(std::string_view text);

// The pieces between the separators, empty pieces included ("a;;b" -> "a", "", "b"); one
// empty piece for empty text.
std::vector<std::string_view> split(std::string_view text, char separator);

}  // namespace platform
