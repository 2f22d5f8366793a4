#include "component/core/html.h"

#include "platform/text.h"

namespace quillmere {

namespace {

// What each context escapes beyond its plain characters.
enum class Context {
    Text,             // & < >
    QuotedAttribute,  // & < > "
    Attribute,        // & < > " and whatever ends or splits an unquoted value
};

// The character reference for a character an unquoted attribute value cannot carry as it is:
// a blank, TAB, CR or LF ends the value, and ' ` = confuse parsers that look for the next
// attribute. Empty for every other character.
std::string_view unquotedReference(char c) {
    switch (c) {
        case ' ':
            return "&#32;";
        case '\t':
            return "&#9;";
        case '\n':
            return "&#10;";
        case '\r':
            return "&#13;";
        case '\'':
            return "&#39;";
        case '`':
            return "&#96;";
        case '=':
            return "&#61;";
        default:
            return {};
    }
}

std::string escape(std::string_view value, Context context) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&':
                out += "&amp;";
                continue;
            case '<':
                out += "&lt;";
                continue;
            case '>':
                out += "&gt;";
                continue;
            case '"':
                if (context != Context::Text) {
                    out += "&quot;";
                    continue;
                }
                break;
            default:
                if (context == Context::Attribute) {
                    const std::string_view reference = unquotedReference(c);
                    if (!reference.empty()) {
                        out += reference;
                        continue;
                    }
                }
        }
        out += c;
    }
    return out;
}

}  // namespace

std::string HtmlText(std::string_view value) {
    return escape(value, Context::Text);
}
std::string ScriptStringContent(std::string_view value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '\\':
                escaped += "\\x5c";
                break;
            case '"':
                escaped += "\\x22";
                break;
            case '%':
                escaped += "\\x25";
                break;
            case '\n':
                escaped += "\\x0a";
                break;
            case '\r':
                escaped += "\\x0d";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string HtmlAttribute(std::string_view value) {
    return escape(value, Context::Attribute);
}
std::string HtmlQuotedAttribute(std::string_view value) {
    return escape(value, Context::QuotedAttribute);
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
            case '\\':  // the value is a script string: see ScriptStringContent
                escaped += "\\x5c";
                break;
            case '%':
                escaped += "\\x25";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                // The value lands in an unquoted attribute: nothing may end it early.
                const std::string_view reference = unquotedReference(c);
                if (reference.empty())
                    escaped += c;
                else
                    escaped += reference;
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
    return Quoted(HtmlAttribute(ScriptStringContent(value)));
}

std::string QuotedAttributeValue(std::string_view value) {
    return Quoted(HtmlQuotedAttribute(value));
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
