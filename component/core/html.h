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
// For an attribute value written without quotes (most of the fragments' attributes, and the
// page-function calls inside them): & < > " as entities, and blank, TAB, CR, LF, ' ` = as
// numeric character references, so the value can neither end the attribute nor start another.
// A value free of those characters comes out unchanged.
std::string HtmlAttribute(std::string_view value);
// For an attribute value inside double quotes: & < > " as entities (a blank cannot end it).
std::string HtmlQuotedAttribute(std::string_view value);

// A field value as the hyperlink and zoom functions take it: trimmed of blanks, with blanks as
// &nbsp;, double quotes doubled, & < > as entities (& first, so a value cannot smuggle markup),
// and TAB, CR, LF, ' ` = as numeric character references, since the value is placed in an
// unquoted attribute; \\ and % as \\x5c and \\x25, since it is a script string in an
// href=javascript: address.
std::string EscapeHtmlValue(std::string_view value);

// Markup that is already safe (escaped, or a fixed literal) in double quotes.
std::string Quoted(std::string_view markup);
// The value as the content of a double-quoted script string: \\ " % CR LF as \\xNN escapes. The
// browser decodes the attribute's character references before the script runs, and percent
// escapes in an href=javascript: address, so neither may end the string or change the value.
std::string ScriptStringContent(std::string_view value);
// A value in double quotes, escaped as script string content and then for an unquoted
// attribute: a page-function argument inside an unquoted onclick= or href= (the quotes are the
// script's, not the attribute's).
std::string QuotedValue(std::string_view value);
// A value as a double-quoted attribute value (value="..."), escaped with HtmlQuotedAttribute.
std::string QuotedAttributeValue(std::string_view value);

// "function(a,b,...)": a call of a page function with its arguments as given (each already
// quoted with Quoted or QuotedValue).
std::string PageFunctionCall(std::string_view function,
                             std::initializer_list<std::string_view> quotedArguments);

}  // namespace quillmere
