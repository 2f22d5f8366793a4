#pragma once
// Everything that puts a value into a fragment's HTML: escaping for text and attributes, the
// field-value form that page functions take, and the quoting of page-function arguments. A
// value placed with these helpers cannot add markup or attributes to the page.
//
// Failures: none; every helper takes any bytes.
#include <initializer_list>
#include <string>
#include <string_view>

namespace quillmere {

// For text content: & < > as entities. A value free of them comes out unchanged.
std::string HtmlText(std::string_view value);
// For attribute values (quoted or not): & < > " as entities.
std::string HtmlAttribute(std::string_view value);

// A field value as the hyperlink and zoom functions take it: trimmed of blanks, with blanks as
// &nbsp;, double quotes doubled, & < > as entities (& first, so a value cannot smuggle markup).
std::string EscapeHtmlValue(std::string_view value);

// Markup that is already safe (escaped, or a fixed literal) in double quotes.
std::string Quoted(std::string_view markup);
// A value in double quotes, escaped as an attribute: a page-function argument or an attribute
// value.
std::string QuotedValue(std::string_view value);

// "function(a,b,...)": a call of a page function with its arguments as given (each already
// quoted with Quoted or QuotedValue).
std::string PageFunctionCall(std::string_view function,
                             std::initializer_list<std::string_view> quotedArguments);

}  // namespace quillmere
