#pragma once
// What an HTML5 parser (gumbo) makes of a fragment: the attributes of every element, in document
// order. Tests compare a fragment rendered with a hostile value against the same fragment with a
// plain value: any attribute the value managed to add shows up as a difference.
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

struct ParsedAttribute {
    std::string element;
    std::string name;
    std::string value;  // character references decoded
};

// Fragments that start with a table row are parsed inside a table, as the page places them.
std::vector<ParsedAttribute> ParseAttributes(std::string_view fragment);

// "element name" of each attribute, in document order.
std::vector<std::string> AttributeNames(std::string_view fragment);

}  // namespace testing_support
