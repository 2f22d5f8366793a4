#pragma once
// The lexical rules of XML 1.0 that pugixml does not enforce, checked in one pass over the raw
// text before it is parsed: every character is a legal XML character (no control characters,
// no surrogates, no U+FFFE/U+FFFF, valid UTF-8 unless the text is single-byte); every reference
// is one of the five predefined entities or a character reference to a legal character; no "<"
// inside an attribute value; no "]]>" in text; no "--" inside a comment; attributes separated
// by white space. The structure (nesting, names, one root) is left to the parser.
//
// Failures: none; the answer is true or false.
#include <string_view>

namespace platform::xml {

enum class TextEncoding {
    Utf8,        // every byte sequence must be valid UTF-8
    SingleByte,  // ISO-8859-1: every byte is a character
};

// The encoding that the text's declaration names: SingleByte for ISO-8859-1 (or "latin1"),
// Utf8 for anything else, including no declaration.
TextEncoding DeclaredEncoding(std::string_view text);

bool IsWellFormedText(std::string_view text, TextEncoding encoding);

}  // namespace platform::xml
