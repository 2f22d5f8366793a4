#include "component/core/html.h"

#include "platform/text.h"

namespace quillmere {

namespace {

std::string escape(std::string_view value, bool quotes) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                if (quotes) {
                    out += "&quot;";
                    break;
                }
                [[fallthrough]];
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string HtmlText(std::string_view value) {
    return escape(value, false);
}
std::string HtmlAttribute(std::string_view value) {
    return escape(value, true);
}

std::string EscapeHtmlValue(std::string_view value) {
    value = platform::trimBlanks(value);
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case ' ':
                escaped += "&nbsp;";
                break;
            case '"':
                escaped += "\"\"";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Quoted(std::string_view markup) {
    std::string quoted;
    quoted.reserve(markup.size() + 2);
    quoted += '"';
    quoted += markup;
    quoted += '"';
    return quoted;
}

std::string QuotedValue(std::string_view value) {
    return Quoted(HtmlAttribute(value));
}

std::string PageFunctionCall(std::string_view function,
                             std::initializer_list<std::string_view> quotedArguments) {
    std::string call(function);
    call += '(';
    bool first = true;
    for (std::string_view argument : quotedArguments) {
        if (!first) call += ',';
        call += argument;
        first = false;
    }
    call += ')';
    return call;
}

}  // namespace quillmere
