#include "sync/core/server_schema.h"

#include "platform/failure.h"
#include "platform/text.h"
#include "sync/core/transfer_particulars.h"

namespace brindlemoor {

namespace db = platform::db;

std::vector<TableColumns> ServerDatabaseTables() {
    std::vector<TableColumns> tables = {{"PARAMETERS", {"PARAMNAME", "PARAMVALUE"}},
                                        {"I18NText", {"LOCALEID", "LABEL", "TEXT"}},
                                        {"USERDEFAULTS", {"COMP", "LOGN", "BISID"}}};
    for (const TransferParticulars& transfer : TransfersInRunOrder()) {
        TableColumns table{std::string(transfer.table), {"COMP"}};
        for (std::string_view column : transfer.keyColumns) table.columns.emplace_back(column);
        for (const ColumnSource& source : transfer.columns)
            table.columns.emplace_back(source.column);
        tables.push_back(std::move(table));
    }
    return tables;
}

TableColumns SiblingDatabaseTable() {
    return {"BISPROPERTYVALUES", {"BISID", "VALUE"}};
}

TableColumns ErpAuditTable() {
    return {"ERPAUDIT", {"SEQ", "BUSINESSOBJECT", "CHANGEDAT", "KIND", "OLDVALUES", "NEWVALUES"}};
}

std::vector<std::string> MissingTablesAndColumns(db::Connection& connection,
                                                 const std::vector<TableColumns>& tables) {
    std::vector<std::string> missing;
    for (const TableColumns& table : tables) {
        db::Recordset empty;
        try {
            // The names are the system's own, never outside input.
            empty = connection.query("SELECT * FROM " + table.table + " WHERE 1=0");
        } catch (const platform::PlatformError&) {
            missing.push_back(table.table);
            continue;
        }
        for (const std::string& column : table.columns) {
            if (!empty.columnIndex(column)) missing.push_back(table.table + "." + column);
        }
    }
    return missing;
}

bool HoldsNoTables(db::Connection& connection) {
    return connection.tableNames().empty();
}

}  // namespace brindlemoor
