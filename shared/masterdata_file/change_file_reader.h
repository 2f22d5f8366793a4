#pragma once
// Reading a master-data change file: which VOMasterData elements a text holds, which element
// of each carries a table's rows, and what one row says. The client applies what it reads here;
// the layout itself (tables, key columns, column order) is the one of table_set.h.
//
// Failures: a row or change set that lacks an attribute the reader needs throws PlatformError
// (failure::kInvalidUseOfNull, the runtime's error for a missing attribute); nothing else
// throws.
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/document.h"
#include "shared/masterdata_file/table_set.h"

namespace masterdata_file {

// Every VOMasterData element of a parsed text, anywhere in it (the root included), in document
// order. Each is applied on its own, the first completely before the next.
std::vector<platform::xml::Node> findChangeSets(platform::xml::Node document);

// The company number of a change set: its COMP attribute, unchanged.
std::string companyOf(platform::xml::Node changeSet);

// The element holding the rows of `table` in one change set; a null node when there is none.
// - CONFIGURATIONS: the first child CONFIGURATIONS whose SERVICECENTER equals `serviceCenter`
//   exactly (a leading blank makes it another service center);
// - OBJECTS: the first child OBJECTS whose SERVICECENTER, trimmed of blanks, equals it;
// - every other table: the first child element of the table's name (later ones are ignored).
platform::xml::Node findTableElement(platform::xml::Node changeSet, std::string_view table,
                                     std::string_view serviceCenter);

enum class RowAction { Insert, Modify, Delete, Skip };

struct ColumnValue {
    std::string name;
    std::string value;
};

// One row as the statements need it.
struct ChangeRow {
    RowAction action = RowAction::Skip;
    // The key column(s) with their values: the row element's name (as written) with its ID, or
    // for OBJECTS CCFG, CROB and OSEQ.
    std::vector<ColumnValue> keys;
    // The column elements: names upper-cased, texts unchanged, in file order. Not read for
    // rows that are skipped.
    std::vector<ColumnValue> columns;
};

// Reads one child node of a table element into `row` (its buffers are reused, so a caller
// walking many rows allocates little). Key attributes are read before STATUS, and a missing
// one throws whatever the STATUS; a STATUS other than I, M or D gives RowAction::Skip.
void readRow(platform::xml::Node rowNode, std::string_view table, ChangeRow& row);
ChangeRow readRow(platform::xml::Node rowNode, std::string_view table);

}  // namespace masterdata_file
