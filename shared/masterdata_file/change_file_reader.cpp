#include "shared/masterdata_file/change_file_reader.h"

#include <iterator>

#include "platform/failure.h"

namespace masterdata_file {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kIdAttribute = "ID";
constexpr std::string_view kStatusAttribute = "STATUS";
constexpr std::string_view kCompanyAttribute = "COMP";
// The key attributes of an OBJECTS row, in the order of its key columns.
constexpr std::string_view kObjectKeys[] = {"CCFG", "CROB", "OSEQ"};

// Blanks only: a tab in a service-center code is part of the code.
std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// ASCII only, as element names of the change file are.
void assignUpper(std::string& target, std::string_view name) {
    target.assign(name);
    for (char& c : target)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

bool serviceCenterMatches(xml::Node element, std::string_view table, std::string_view wanted) {
    const pugi::xml_attribute attribute = element.attribute(kServiceCenterAttribute.data());
    if (!attribute) return false;
    const std::string_view value = attribute.value();
    return table == kObjects ? trimBlanks(value) == wanted : value == wanted;
}

RowAction actionOf(std::string_view status) {
    if (status == kInserted) return RowAction::Insert;
    if (status == kModified) return RowAction::Modify;
    if (status == kDeleted) return RowAction::Delete;
    return RowAction::Skip;
}

// The attribute's value; a missing one fails as the DOM's read of it did. Rows are read by
// the hundred thousand, so the value is copied straight into the row's buffer.
void readAttribute(xml::Node rowNode, std::string_view name, std::string& into) {
    const pugi::xml_attribute attribute = rowNode.attribute(name.data());
    if (!attribute)
        throw platform::PlatformError(platform::failure::kInvalidUseOfNull, "Invalid use of Null");
    into.assign(attribute.value());
}

void readKeys(xml::Node rowNode, std::string_view table, std::vector<ColumnValue>& keys) {
    if (table == kObjects) {
        keys.resize(std::size(kObjectKeys));
        for (size_t i = 0; i < std::size(kObjectKeys); ++i) {
            keys[i].name.assign(kObjectKeys[i]);
            readAttribute(rowNode, kObjectKeys[i], keys[i].value);
        }
        return;
    }
    keys.resize(1);
    readAttribute(rowNode, kIdAttribute, keys[0].value);
    keys[0].name.assign(rowNode.name());
}

void readColumns(xml::Node rowNode, std::vector<ColumnValue>& columns) {
    size_t count = 0;
    for (xml::Node child : rowNode.children()) {
        if (child.type() != pugi::node_element) continue;
        if (count == columns.size()) columns.emplace_back();
        ColumnValue& column = columns[count++];
        assignUpper(column.name, child.name());
        // The common case, one text node, without building the text up piece by piece.
        const xml::Node only = child.first_child();
        if (!only)
            column.value.clear();
        else if (only.type() == pugi::node_pcdata && !only.next_sibling())
            column.value.assign(only.value());
        else
            column.value = xml::text(child);
    }
    columns.resize(count);
}

}  // namespace

std::vector<xml::Node> findChangeSets(xml::Node document) {
    // The XPath engine walks the nodes without a library call per node, which counts in a
    // change file of a hundred thousand rows; its node set comes in document order.
    static const pugi::xpath_query query("descendant-or-self::VOMasterData");
    const pugi::xpath_node_set matches = query.evaluate_node_set(document);
    std::vector<xml::Node> found;
    found.reserve(matches.size());
    for (const pugi::xpath_node& match : matches) found.push_back(match.node());
    return found;
}

std::string companyOf(xml::Node changeSet) {
    return xml::requireAttribute(changeSet, kCompanyAttribute);
}

xml::Node findTableElement(xml::Node changeSet, std::string_view table,
                           std::string_view serviceCenter) {
    const bool perServiceCenter = table == kConfigurations || table == kObjects;
    for (xml::Node child : changeSet.children()) {
        if (child.type() != pugi::node_element || table != child.name()) continue;
        if (!perServiceCenter || serviceCenterMatches(child, table, serviceCenter)) return child;
    }
    return {};
}

void readRow(xml::Node rowNode, std::string_view table, ChangeRow& row) {
    readKeys(rowNode, table, row.keys);
    const pugi::xml_attribute status = rowNode.attribute(kStatusAttribute.data());
    if (!status)
        throw platform::PlatformError(platform::failure::kInvalidUseOfNull, "Invalid use of Null");
    row.action = actionOf(status.value());
    if (row.action == RowAction::Skip)
        row.columns.clear();
    else
        readColumns(rowNode, row.columns);
}

ChangeRow readRow(xml::Node rowNode, std::string_view table) {
    ChangeRow row;
    readRow(rowNode, table, row);
    return row;
}

}  // namespace masterdata_file
