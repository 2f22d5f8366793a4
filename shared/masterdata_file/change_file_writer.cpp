#include "shared/masterdata_file/change_file_writer.h"

#include <cstdio>

#include "platform/failure.h"
#include "shared/masterdata_file/table_set.h"

namespace masterdata_file {

namespace xml = platform::xml;

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
    xml::setAttribute(element, kServiceCenterAttribute, serviceCenter);
    serviceCenterTables_.emplace(key, element);
    return element;
}

xml::Node ChangeFileWriter::appendRow(
    xml::Node table, std::string_view rowElement,
    const std::vector<std::pair<std::string_view, std::string_view>>& keyAttributes) {
    xml::Node row = xml::requireNode(table).append_child(std::string(rowElement).c_str());
    for (const auto& [name, value] : keyAttributes) xml::setAttribute(row, name, value);
    xml::setAttribute(row, "STATUS", "");
    return row;
}

void ChangeFileWriter::setStatus(xml::Node row, std::string_view status) {
    xml::setAttribute(row, "STATUS", status);
}

void ChangeFileWriter::appendColumn(xml::Node row, std::string_view column,
                                    std::string_view value) {
    xml::Node element = xml::requireNode(row).append_child(std::string(column).c_str());
    xml::setText(element, value);
}

}  // namespace masterdata_file
