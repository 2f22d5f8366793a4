#pragma once
// Escaping of values placed into HTML, so that data can never inject markup. A value free of
// &, <, > (and " in attributes) comes out unchanged.
#include <string>
#include <string_view>

namespace quillmere {

// For text content: & < > as entities.
std::string HtmlText(std::string_view value);
// For attribute values (quoted or not): & < > " as entities.
std::string HtmlAttribute(std::string_view value);

}  // namespace quillmere
