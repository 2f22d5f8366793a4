#include "component/core/details_link.h"

#include "component/core/html.h"

namespace quillmere {

std::string ShowDetailsCall(const DetailsTarget& target, DetailsPurpose purpose,
                            std::string_view function) {
    const std::string_view mode = purpose == DetailsPurpose::Show ? "2" : "1";
    return PageFunctionCall(function,
                            {QuotedValue(target.kind), QuotedValue(target.order),
                             QuotedValue(target.activity), QuotedValue(target.line), Quoted(mode)});
}

std::string DetailsLink(std::optional<std::string_view> spanId, std::string_view call,
                        std::string_view content) {
    std::string html = "<span";
    if (spanId) {
        html += " id=";
        html += HtmlAttribute(*spanId);
    }
    html += " class=links onclick=javascript:";
    html += call;
    html += '>';
    html += content;
    html += "</span>";
    return html;
}

}  // namespace quillmere
