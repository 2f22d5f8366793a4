#pragma once
// The master-data tables that travel in change files: their row (key) element, their column
// elements in file order, and the tables kept on the server only. Table and column names are
// the same in the server database, the change file and the client database.
#include <string>
#include <string_view>
#include <vector>

namespace masterdata_file {

struct TableLayout {
    std::string_view table;                 // table element, e.g. "UNITS"
    std::string_view keyColumn;             // row element, e.g. "CUNI" (OBJECTS: "CROB")
    std::vector<std::string_view> columns;  // column elements, in file order
    bool splitByServiceCenter = false;      // CONFIGURATIONS and OBJECTS
};

// The 20 tables sent to clients, in the order of the layout table of the change file.
const std::vector<TableLayout>& clientTables();
// The layout of one client table; nullptr when the name is not one of them.
const TableLayout* findClientTable(std::string_view table);

// The 4 tables the synchronizer maintains in the server database only (COMP, key, one column).
const std::vector<TableLayout>& serverOnlyTables();

// Table elements written once per change file, whether or not they have rows (all but
// CONFIGURATIONS and OBJECTS).
inline constexpr std::string_view kConfigurations = "CONFIGURATIONS";
inline constexpr std::string_view kObjects = "OBJECTS";
inline constexpr std::string_view kRoot = "VOMasterData";
inline constexpr std::string_view kServiceCenterAttribute = "SERVICECENTER";

// Row status letters.
inline constexpr std::string_view kInserted = "I";
inline constexpr std::string_view kModified = "M";
inline constexpr std::string_view kDeleted = "D";

// Item codes (SERVICEITEMS keys) are preceded by nine blanks.
inline constexpr std::string_view kItemCodePrefix = "         ";

}  // namespace masterdata_file
