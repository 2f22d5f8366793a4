#include "shared/masterdata_file/change_file_writer.h"

#include <cstdint>
#include <cstdio>

#include "platform/failure.h"
#include "platform/text_file.h"
#include "shared/masterdata_file/table_set.h"

namespace masterdata_file {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool isPlainAscii(unsigned char c) {
    return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r';
}

// The Char production of XML 1.0.
bool isXmlCharacter(uint32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The length of the well-formed UTF-8 sequence at `pos` with its code point; 0 when the bytes
// there are no such sequence (overlong forms and surrogates included).
size_t decodeUtf8(std::string_view text, size_t pos, uint32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// The serialized document with the characters a parser would not give back as they are
// written as references: CR everywhere, TAB and LF inside attribute values. The serializer
// writes no white space of its own and escapes '<' and '"' in values, so a '<' always opens a
// tag and a '"' inside a tag always opens or closes an attribute value.
std::string withCharacterReferences(const std::string& markup) {
    if (markup.find_first_of("\t\n\r") == std::string::npos) return markup;
    enum class Place { Text, Tag, Attribute };
    Place place = Place::Text;
    std::string out;
    out.reserve(markup.size() + 64);
    for (const char c : markup) {
        if (c == '\r') {
            out += "&#13;";
            continue;
        }
        if (place == Place::Attribute && (c == '\t' || c == '\n')) {
            out += c == '\t' ? "&#9;" : "&#10;";
            continue;
        }
        out += c;
        if (place == Place::Text && c == '<') {
            place = Place::Tag;
        } else if (place == Place::Tag && c == '>') {
            place = Place::Text;
        } else if (c == '"' && place != Place::Text) {
            place = place == Place::Tag ? Place::Attribute : Place::Tag;
        }
    }
    return out;
}

// The key of a row as its attributes give it: ID, else the key attributes joined with ":".
std::string rowKey(xml::Node row) {
    if (const std::optional<std::string> id = xml::attribute(row, "ID")) return *id;
    std::string key;
    for (pugi::xml_attribute attribute : row.attributes()) {
        if (std::string_view(attribute.name()) == "STATUS") continue;
        if (!key.empty()) key += ':';
        key += attribute.value();
    }
    return key;
}

}  // namespace

std::string XmlCharacters(std::string_view value, bool& replaced) {
    replaced = false;
    size_t pos = 0;
    while (pos < value.size() && isPlainAscii(static_cast<unsigned char>(value[pos]))) ++pos;
    if (pos == value.size()) return std::string(value);
    std::string carried(value.substr(0, pos));
    while (pos < value.size()) {
        uint32_t code = 0;
        const size_t length = decodeUtf8(value, pos, code);
        if (length != 0 && isXmlCharacter(code)) {
            carried.append(value.substr(pos, length));
            pos += length;
        } else {
            carried.append(kReplacementCharacter);
            replaced = true;
            pos += length == 0 ? 1 : length;
        }
    }
    return carried;
}

std::string FileNameStamp(const platform::LocalDateTime& t) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d-%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return buffer;
}

std::string TimeAttributeStamp(const platform::LocalDateTime& t) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buffer;
}

std::string FrameText(std::string_view company, std::string_view time) {
    std::string text = "<VOMasterData COMP=";
    text += '"';
    text += company;
    text += '"';
    text += " TIME=";
    text += '"';
    text += time;
    text += '"';
    text += "></VOMasterData>";
    return text;
}

void ChangeFileWriter::begin(std::string_view company, std::string_view time) {
    serviceCenterTables_.clear();
    replacements_.clear();
    if (!document_.parse(FrameText(company, time))) {
        throw platform::PlatformError(
            platform::failure::kXml,
            "The change file cannot be begun for company " + std::string(company));
    }
}

xml::Node ChangeFileWriter::appendTable(std::string_view table) {
    xml::Node root = xml::requireNode(document_.root());
    return root.append_child(std::string(table).c_str());
}

xml::Node ChangeFileWriter::serviceCenterTable(std::string_view table,
                                               std::string_view serviceCenter) {
    const auto key = std::make_pair(std::string(table), std::string(serviceCenter));
    const auto found = serviceCenterTables_.find(key);
    if (found != serviceCenterTables_.end()) return found->second;
    xml::Node element = appendTable(table);
    bool replaced = false;
    xml::setAttribute(element, kServiceCenterAttribute, XmlCharacters(serviceCenter, replaced));
    if (replaced) {
        replacements_.push_back({std::string(table), "", std::string(kServiceCenterAttribute)});
    }
    serviceCenterTables_.emplace(key, element);
    return element;
}

xml::Node ChangeFileWriter::appendRow(
    xml::Node table, std::string_view rowElement,
    const std::vector<std::pair<std::string_view, std::string_view>>& keyAttributes) {
    xml::Node row = xml::requireNode(table).append_child(std::string(rowElement).c_str());
    std::vector<std::string> replacedAttributes;
    for (const auto& [name, value] : keyAttributes) {
        bool replaced = false;
        xml::setAttribute(row, name, XmlCharacters(value, replaced));
        if (replaced) replacedAttributes.emplace_back(name);
    }
    xml::setAttribute(row, "STATUS", "");
    for (std::string& name : replacedAttributes)
        replacements_.push_back({table.name(), rowKey(row), std::move(name)});
    return row;
}

void ChangeFileWriter::setStatus(xml::Node row, std::string_view status) {
    xml::setAttribute(row, "STATUS", carried(row, "STATUS", status));
}

void ChangeFileWriter::appendColumn(xml::Node row, std::string_view column,
                                    std::string_view value) {
    xml::Node element = xml::requireNode(row).append_child(std::string(column).c_str());
    xml::setText(element, carried(row, column, value));
}

std::string ChangeFileWriter::carried(xml::Node row, std::string_view column,
                                      std::string_view value) {
    bool replaced = false;
    std::string text = XmlCharacters(value, replaced);
    if (replaced) {
        replacements_.push_back({row.parent().name(), rowKey(row), std::string(column)});
    }
    return text;
}

std::vector<Replacement> ChangeFileWriter::takeReplacements() {
    std::vector<Replacement> taken;
    taken.swap(replacements_);
    return taken;
}

std::string ChangeFileWriter::text() const {
    return withCharacterReferences(document_.serialize());
}

void ChangeFileWriter::save(const std::filesystem::path& path) const {
    platform::writeFileAtomically(path, text());
}

}  // namespace masterdata_file
