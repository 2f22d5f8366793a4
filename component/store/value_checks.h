#pragma once
// The checks that field validation applies to single values: numbers as the page's users type
// them, and stored dates (four digits of year, two of month, two of day, optionally one
// separator character and two digits each of hour, minute and second).
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// True for a number as the runtime's numeric test accepts it: optional blanks around, an
// optional sign, digits with at most one decimal point, an optional exponent ("E", "e", "D"
// or "d", optional sign, digits). The empty text is not numeric.
bool IsNumericText(std::string_view value);
// The value of a numeric text; nullopt when IsNumericText is false.
std::optional<double> NumericValue(std::string_view value);

// The stored date rewritten as "dd/mm/yyyy hh:mm:ss" for the date parser, or "" when it cannot
// be a date: empty input; year, month or day not numeric; year outside "1971".."2037" (compared
// as text); month above 12. Without a 10th character the time is "00:00:00"; an hour, minute or
// second that the value does not reach is "00".
std::string NormalizeDateTime(std::string_view value);

// The date parser: true for "d/m/yyyy h:m:s" naming a real calendar date and a time of day
// (hours 0-23, minutes and seconds 0-59), each part one or two digits (year four).
bool IsDateText(std::string_view text);

// A stored value that is a date: NormalizeDateTime gives a text that the date parser accepts.
bool IsStoredDate(std::string_view value);

}  // namespace quillmere
