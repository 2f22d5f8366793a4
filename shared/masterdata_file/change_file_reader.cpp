#include "shared/masterdata_file/change_file_reader.h"

#include <iterator>

#include "platform/failure.h"
#include "platform/text.h"

namespace masterdata_file {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kIdAttribute = "ID";
constexpr std::string_view kStatusAttribute = "STATUS";
constexpr std::string_view kCompanyAttribute = "COMP";
// The key attributes of an OBJECTS row, in the order of its key columns.
constexpr std::string_view kObjectKeys[] = {"CCFG", "CROB", "OSEQ"};

bool serviceCenterMatches(xml::Node element, std::string_view table, std::string_view wanted) {
    const auto value = xml::attributeView(element, kServiceCenterAttribute);
    if (!value) return false;
    // Blanks only: a tab in a service-center code is part of the code.
    return table == kObjects ? platform::trimBlanks(*value) == wanted : *value == wanted;
}

RowAction actionOf(std::string_view status) {
    if (status == kInserted) return RowAction::Insert;
    if (status == kModified) return RowAction::Modify;
    if (status == kDeleted) return RowAction::Delete;
    return RowAction::Skip;
}

// The attribute's value; a missing one fails with the invalid-use-of-Null error. Rows are read by
// the hundred thousand, so the value is copied straight into the row's buffer.
void readAttribute(xml::Node rowNode, std::string_view name, std::string& into) {
    const auto value = xml::attributeView(rowNode, name);
    if (!value) throw platform::invalidUseOfNull();
    into.assign(*value);
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
    for (xml::Node child : xml::elementChildren(rowNode)) {
        if (count == columns.size()) columns.emplace_back();
        ColumnValue& column = columns[count++];
        platform::assignUpper(column.name, child.name());  // ASCII, as the element names are
        xml::assignText(child, column.value);
    }
    columns.resize(count);
}

}  // namespace

std::vector<xml::Node> findChangeSets(xml::Node document) {
    return xml::descendantsOrSelfNamed(document, kRoot);
}

std::string companyOf(xml::Node changeSet) {
    return xml::requireAttribute(changeSet, kCompanyAttribute);
}

xml::Node findTableElement(xml::Node changeSet, std::string_view table,
                           std::string_view serviceCenter) {
    const bool perServiceCenter = table == kConfigurations || table == kObjects;
    for (xml::Node child : xml::elementChildren(changeSet)) {
        if (!xml::isElementNamed(child, table)) continue;
        if (!perServiceCenter || serviceCenterMatches(child, table, serviceCenter)) return child;
    }
    return {};
}

void readRow(xml::Node rowNode, std::string_view table, ChangeRow& row) {
    readKeys(rowNode, table, row.keys);
    const auto status = xml::attributeView(rowNode, kStatusAttribute);
    if (!status) throw platform::invalidUseOfNull();
    row.action = actionOf(*status);
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
