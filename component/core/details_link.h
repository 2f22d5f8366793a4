#pragma once
// The links that open one record of the order store through the page's showdetails function
// (showdetailsforhra for hours registrations): every list, the agenda and the error pool build
// them here.
//
// Failures: none.
#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// The record as the page function takes it: kind code ("1" order ... "5" other line), order,
// activity and line numbers ("" where the kind has none).
struct DetailsTarget {
    std::string_view kind;
    std::string_view order;
    std::string_view activity = {};
    std::string_view line = {};
};

// What the page opens: the record's details, or the record for correcting a refused upload.
enum class DetailsPurpose { Show, Correct };

// showdetails("kind","order","activity","line","2") ("1" to correct), each value escaped.
std::string ShowDetailsCall(const DetailsTarget& target, DetailsPurpose purpose,
                            std::string_view function = "showdetails");

// "<span id=ID class=links onclick=javascript:CALL>CONTENT</span>"; without an id the span has
// no id attribute. `content` is markup (the caller escapes values in it).
std::string DetailsLink(std::optional<std::string_view> spanId, std::string_view call,
                        std::string_view content);

}  // namespace quillmere
