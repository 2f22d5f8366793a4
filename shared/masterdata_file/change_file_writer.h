#pragma once
// Writing a master-data change file: the file-name stamp, the TIME stamp, the frame the
// document is begun from, and the table, row and column elements in the layout the reader
// expects (table_set.h names them).
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/xml/document.h"

namespace masterdata_file {

// "YYYY-MM-DD hh-mm": the change file's name without ".xml".
std::string FileNameStamp(const platform::LocalDateTime& time);
// "YYYYMMDDhhmmss": the TIME attribute.
std::string TimeAttributeStamp(const platform::LocalDateTime& time);
// The text a change file is begun from: the root element with COMP and TIME and no content.
std::string FrameText(std::string_view company, std::string_view time);

// Appends tables, rows and columns to the change file held by `document`.
class ChangeFileWriter {
  public:
    explicit ChangeFileWriter(platform::xml::Document& document) : document_(document) {}

    // Replaces the document's content with the frame of a new change file.
    void begin(std::string_view company, std::string_view time);

    // A new table element at the end of the root.
    platform::xml::Node appendTable(std::string_view table);

    // The table element of a table split by service center (CONFIGURATIONS, OBJECTS) for one
    // service center, appended at the end of the root when it does not exist yet.
    platform::xml::Node serviceCenterTable(std::string_view table, std::string_view serviceCenter);

    // A row element with its key attributes in order, followed by an empty STATUS attribute.
    platform::xml::Node appendRow(
        platform::xml::Node table, std::string_view rowElement,
        const std::vector<std::pair<std::string_view, std::string_view>>& keyAttributes);

    static void setStatus(platform::xml::Node row, std::string_view status);
    static void appendColumn(platform::xml::Node row, std::string_view column,
                             std::string_view value);

  private:
    platform::xml::Document& document_;
    std::map<std::pair<std::string, std::string>, platform::xml::Node> serviceCenterTables_;
};

}  // namespace masterdata_file
