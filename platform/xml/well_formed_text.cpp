#include "platform/xml/well_formed_text.h"

#include <array>
#include <cstdint>

namespace platform::xml {

namespace {

// Bytes that need no further look in text: printable ASCII other than the markup characters
// we check, and TAB, LF, CR. For single-byte text every byte from 0x80 up, too.
using ByteTable = std::array<bool, 256>;

constexpr ByteTable plainTextBytes(bool singleByte) {
    ByteTable table{};
    for (int c = 0x20; c < 0x80; ++c) table[c] = true;
    table['<'] = table['&'] = table[']'] = false;
    table['\t'] = table['\n'] = table['\r'] = true;
    if (singleByte)
        for (int c = 0x80; c < 0x100; ++c) table[c] = true;
    return table;
}

// Inside a tag, comment, section or declaration: everything but the byte ending it is plain.
constexpr ByteTable plainMarkupBytes(bool singleByte, char ending) {
    ByteTable table = plainTextBytes(singleByte);
    table['<'] = table['&'] = table[']'] = true;
    table[static_cast<unsigned char>(ending)] = false;
    return table;
}

// Inside a tag: everything but the end, quotes and "<".
constexpr ByteTable plainTagBytes(bool singleByte) {
    ByteTable table = plainTextBytes(singleByte);
    table['&'] = table[']'] = true;
    table['>'] = table['"'] = table['\''] = false;
    return table;
}

// Inside an attribute value: everything but quotes, "<" and "&".
constexpr ByteTable plainValueBytes(bool singleByte) {
    ByteTable table = plainTextBytes(singleByte);
    table[']'] = true;
    table['"'] = table['\''] = false;
    return table;
}

constexpr ByteTable kPlainText[2] = {plainTextBytes(false), plainTextBytes(true)};

bool isXmlChar(uint32_t c) {
    if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
    if (c <= 0xD7FF) return true;
    if (c < 0xE000) return false;
    if (c <= 0xFFFD) return true;
    return c >= 0x10000 && c <= 0x10FFFF;
}

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

class Scanner {
  public:
    Scanner(std::string_view text, TextEncoding encoding)
        : p_(reinterpret_cast<const unsigned char*>(text.data())),
          end_(p_ + text.size()),
          singleByte_(encoding == TextEncoding::SingleByte) {}

    bool content() {
        const ByteTable& plain = kPlainText[singleByte_];
        while (p_ < end_) {
            if (plain[*p_]) {
                ++p_;
                continue;
            }
            switch (*p_) {
                case '<':
                    if (!markup()) return false;
                    break;
                case '&':
                    if (!reference()) return false;
                    break;
                case ']':
                    if (startsWith("]]>")) return false;
                    ++p_;
                    break;
                default:
                    if (!character()) return false;
            }
        }
        return true;
    }

  private:
    bool startsWith(std::string_view s) const {
        return static_cast<size_t>(end_ - p_) >= s.size() &&
               std::string_view(reinterpret_cast<const char*>(p_), s.size()) == s;
    }

    // One character that is not plain ASCII: a control character fails, a multi-byte sequence
    // must be valid UTF-8 and name a legal character.
    bool character() {
        const unsigned char lead = *p_;
        if (lead < 0x80 || singleByte_) {
            ++p_;
            return lead >= 0x80 || isXmlChar(lead);
        }
        int length;
        uint32_t code;
        uint32_t minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (end_ - p_ < length) return false;
        for (int i = 1; i < length; ++i) {
            if ((p_[i] & 0xC0) != 0x80) return false;
            code = (code << 6) | (p_[i] & 0x3F);
        }
        p_ += length;
        return code >= minimum && isXmlChar(code);
    }

    // "&lt;" "&gt;" "&amp;" "&apos;" "&quot;" "&#n;" "&#xh;"; anything else (an undefined entity,
    // a bare ampersand, a reference to an illegal character) fails.
    bool reference() {
        ++p_;
        const unsigned char* semicolon = p_;
        // The longest well-formed reference is "&#x10FFFF;" (with leading zeros allowed, a
        // numeric one is bounded below by its value check).
        while (semicolon < end_ && *semicolon != ';' && semicolon - p_ <= 16) ++semicolon;
        if (semicolon == end_ || *semicolon != ';') return false;
        const std::string_view name(reinterpret_cast<const char*>(p_), semicolon - p_);
        p_ = semicolon + 1;
        if (name == "lt" || name == "gt" || name == "amp" || name == "apos" || name == "quot")
            return true;
        if (name.size() < 2 || name[0] != '#') return false;
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) return false;
        uint32_t code = 0;
        for (char d : digits) {
            uint32_t value;
            if (d >= '0' && d <= '9')
                value = d - '0';
            else if (hex && d >= 'a' && d <= 'f')
                value = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F')
                value = d - 'A' + 10;
            else
                return false;
            code = code * (hex ? 16 : 10) + value;
            if (code > 0x10FFFF) return false;
        }
        return isXmlChar(code);
    }

    // Skips to just past `terminator`, checking the characters on the way; false when the text
    // ends first.
    bool skipPast(std::string_view terminator, const ByteTable& plain) {
        while (p_ < end_) {
            if (plain[*p_]) {
                ++p_;
                continue;
            }
            if (startsWith(terminator)) {
                p_ += terminator.size();
                return true;
            }
            if (static_cast<unsigned char>(terminator[0]) == *p_) {
                ++p_;
                continue;
            }
            if (!character()) return false;
        }
        return false;
    }

    bool comment() {
        // "--" may only close the comment.
        static constexpr ByteTable plain = plainMarkupBytes(false, '-');
        static constexpr ByteTable plainSingle = plainMarkupBytes(true, '-');
        if (!skipPast("--", singleByte_ ? plainSingle : plain)) return false;
        if (p_ == end_ || *p_ != '>') return false;
        ++p_;
        return true;
    }

    // A declaration such as <!DOCTYPE ...>, with an internal subset in brackets.
    bool declaration() {
        int depth = 0;
        unsigned char quote = 0;
        while (p_ < end_) {
            const unsigned char c = *p_;
            if (c >= 0x80 || c < 0x20) {
                if (!character()) return false;
                continue;
            }
            ++p_;
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++depth;
            } else if (c == ']') {
                --depth;
            } else if (c == '>' && depth <= 0) {
                return true;
            }
        }
        return false;
    }

    // A start or end tag: attribute values may not hold "<", their references must be sound,
    // and an attribute that follows a value must be set off by white space.
    bool tag() {
        static constexpr ByteTable plain = plainTagBytes(false);
        static constexpr ByteTable plainSingle = plainTagBytes(true);
        const ByteTable& plainHere = singleByte_ ? plainSingle : plain;
        while (p_ < end_) {
            if (plainHere[*p_]) {
                ++p_;
                continue;
            }
            const unsigned char c = *p_;
            if (c == '>') {
                ++p_;
                return true;
            }
            if (c == '"' || c == '\'') {
                ++p_;
                if (!attributeValue(c)) return false;
                if (p_ < end_ && !isBlank(*p_) && *p_ != '>' && *p_ != '/') return false;
                continue;
            }
            if (c == '<') return false;
            if (!character()) return false;
        }
        return false;
    }

    bool attributeValue(unsigned char quote) {
        static constexpr ByteTable plain = plainValueBytes(false);
        static constexpr ByteTable plainSingle = plainValueBytes(true);
        const ByteTable& plainHere = singleByte_ ? plainSingle : plain;
        while (p_ < end_) {
            if (plainHere[*p_]) {
                ++p_;
                continue;
            }
            const unsigned char c = *p_;
            if (c == quote) {
                ++p_;
                return true;
            }
            if (c == '"' || c == '\'') {
                ++p_;  // the other quote
                continue;
            }
            if (c == '<') return false;
            if (c == '&') {
                if (!reference()) return false;
                continue;
            }
            if (!character()) return false;
        }
        return false;
    }

    bool markup() {
        static constexpr ByteTable plainSection = plainMarkupBytes(false, ']');
        static constexpr ByteTable plainSectionSingle = plainMarkupBytes(true, ']');
        static constexpr ByteTable plainInstruction = plainMarkupBytes(false, '?');
        static constexpr ByteTable plainInstructionSingle = plainMarkupBytes(true, '?');
        if (startsWith("<!--")) {
            p_ += 4;
            return comment();
        }
        if (startsWith("<![CDATA[")) {
            p_ += 9;
            return skipPast("]]>", singleByte_ ? plainSectionSingle : plainSection);
        }
        if (startsWith("<?")) {
            p_ += 2;
            return skipPast("?>", singleByte_ ? plainInstructionSingle : plainInstruction);
        }
        ++p_;
        if (p_ < end_ && *p_ == '!') return declaration();
        return tag();
    }

    const unsigned char* p_;
    const unsigned char* end_;
    bool singleByte_;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

TextEncoding DeclaredEncoding(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") return TextEncoding::Utf8;
    if (text.substr(0, 5) != "<?xml") return TextEncoding::Utf8;
    const std::string_view declaration = text.substr(0, text.find("?>"));
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) return TextEncoding::Utf8;
    const size_t open = declaration.find_first_of("\"'", key);
    if (open == std::string_view::npos) return TextEncoding::Utf8;
    const size_t close = declaration.find(declaration[open], open + 1);
    if (close == std::string_view::npos) return TextEncoding::Utf8;
    const std::string_view name = declaration.substr(open + 1, close - open - 1);
    return equalsIgnoringCase(name, "ISO-8859-1") || equalsIgnoringCase(name, "latin1")
               ? TextEncoding::SingleByte
               : TextEncoding::Utf8;
}

bool IsWellFormedText(std::string_view text, TextEncoding encoding) {
    return Scanner(text, encoding).content();
}

}  // namespace platform::xml
