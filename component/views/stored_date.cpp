#include "component/views/stored_date.h"

#include "platform/text.h"

namespace quillmere {

using platform::mid;

StoredDateTime SplitStoredDateTime(std::string_view value) {
    StoredDateTime split;
    if (value.empty()) return split;
    split.date.append(mid(value, 5, 2))
        .append("/")
        .append(mid(value, 7, 2))
        .append("/")
        .append(mid(value, 1, 4));
    split.time = mid(value, 10, 4);
    return split;
}

std::string FormatListDateTime(std::string_view value) {
    const StoredDateTime split = SplitStoredDateTime(value);
    return split.date + " " + split.time;
}

}  // namespace quillmere
