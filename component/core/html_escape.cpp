#include "component/core/html_escape.h"

namespace quillmere {

namespace {

std::string escape(std::string_view value, bool quotes) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"':
                if (quotes) {
                    out += "&quot;";
                    break;
                }
                [[fallthrough]];
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string HtmlText(std::string_view value) { return escape(value, false); }
std::string HtmlAttribute(std::string_view value) { return escape(value, true); }

}  // namespace quillmere
