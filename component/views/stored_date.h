#pragma once
// Stored date-and-time values: four digits of year, two of month, two of day, one separator,
// then four digits of hours and minutes. The screens show month/day/year and the time digits.
// A value shorter than that yields shorter pieces, never an error.
#include <string>
#include <string_view>

namespace quillmere {

struct StoredDateTime {
    std::string date;  // "mm/dd/yyyy"; "" for an empty value
    std::string time;  // "hhmm"; "" for an empty value
};

StoredDateTime SplitStoredDateTime(std::string_view value);

// "mm/dd/yyyy hhmm" as the lists show a non-empty value.
std::string FormatListDateTime(std::string_view value);

}  // namespace quillmere
