#pragma once
// Writing a master-data change file: the file-name stamp, the TIME stamp, the frame the
// document is begun from, and the table, row and column elements in the layout the reader
// expects (table_set.h names them).
//
// Every file it writes is well-formed XML 1.0: a value holding characters XML 1.0 cannot carry
// (control characters other than TAB, LF and CR, U+FFFE, U+FFFF, bytes that are not UTF-8) is
// written with each of them replaced by U+FFFD, and the replacement is recorded for the log. A
// CR is written as "&#13;" (a parser would read a raw CR as LF), and TAB, LF and CR in an
// attribute as character references (a parser would read them as blanks).
#include <filesystem>
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

// The value with every character XML 1.0 cannot carry replaced by U+FFFD (each byte that is not
// part of a well-formed UTF-8 character on its own); true in `replaced` when there was one.
std::string XmlCharacters(std::string_view value, bool& replaced);

// A value written with U+FFFD in place of characters XML 1.0 cannot carry.
struct Replacement {
    std::string table;   // the table element
    std::string key;     // the row's key as written (OBJECTS: configuration:object:sequence)
    std::string column;  // the column element or key attribute
};

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

    void setStatus(platform::xml::Node row, std::string_view status);
    void appendColumn(platform::xml::Node row, std::string_view column, std::string_view value);

    // The replacements made since the last call, in the order they were made.
    std::vector<Replacement> takeReplacements();

    // The file's bytes: the document as the platform DOM writes it, with CR (and TAB and LF in
    // attributes) as character references.
    std::string text() const;
    // Writes text() atomically; PlatformError when the file cannot be written.
    void save(const std::filesystem::path& path) const;

  private:
    // Sets an attribute or text as XML can carry it, recording a replacement.
    std::string carried(platform::xml::Node row, std::string_view column, std::string_view value);

    platform::xml::Document& document_;
    std::map<std::pair<std::string, std::string>, platform::xml::Node> serviceCenterTables_;
    std::vector<Replacement> replacements_;
};

}  // namespace masterdata_file
