#include "component/views/stored_date.h"

namespace quillmere {

std::string_view Mid(std::string_view text, size_t start, size_t length) {
    if (start == 0 || start > text.size()) return {};
    return text.substr(start - 1, length);
}

StoredDateTime SplitStoredDateTime(std::string_view value) {
    StoredDateTime split;
    if (value.empty()) return split;
    split.date.append(Mid(value, 5, 2))
        .append("/")
        .append(Mid(value, 7, 2))
        .append("/")
        .append(Mid(value, 1, 4));
    split.time = Mid(value, 10, 4);
    return split;
}

std::string FormatListDateTime(std::string_view value) {
    const StoredDateTime split = SplitStoredDateTime(value);
    return split.date + " " + split.time;
}

}  // namespace quillmere
