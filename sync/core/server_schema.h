#pragma once
// The tables and columns a run reads and writes, for checking a database before a run and for
// preparing an empty one.
#include <string>
#include <vector>

#include "platform/db/database.h"

namespace brindlemoor {

struct TableColumns {
    std::string table;
    std::vector<std::string> columns;
};

// The server database: PARAMETERS, I18NText, USERDEFAULTS and every table a transfer writes,
// each with the columns the run uses.
std::vector<TableColumns> ServerDatabaseTables();
// The sibling database's BISPROPERTYVALUES.
TableColumns SiblingDatabaseTable();
// An ERP audit database's ERPAUDIT.
TableColumns ErpAuditTable();

// What the database lacks of `tables`: "TABLE" for a missing table, "TABLE.COLUMN" for a
// missing column of a table that exists. Empty when nothing is missing.
std::vector<std::string> MissingTablesAndColumns(platform::db::Connection& connection,
                                                 const std::vector<TableColumns>& tables);

// True when the database holds no table at all.
bool HoldsNoTables(platform::db::Connection& connection);

}  // namespace brindlemoor
