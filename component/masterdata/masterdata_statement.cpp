#include "component/masterdata/masterdata_statement.h"

#include "platform/db/database.h"
#include "platform/failure.h"
#include "shared/masterdata_file/table_set.h"

namespace quillmere {

using masterdata_file::ChangeRow;
using masterdata_file::ColumnValue;
using masterdata_file::RowAction;

namespace {

// " COMP = ? and KEY = ?" (the blank in front makes two after WHERE).
void appendKeyCondition(const ChangeRow& row, std::string& sql) {
    sql += " COMP = ?";
    for (const ColumnValue& key : row.keys) {
        sql += " and ";
        sql += key.name;
        sql += " = ?";
    }
}

void appendNames(const std::vector<ColumnValue>& columns, std::string& sql) {
    for (const ColumnValue& column : columns) {
        sql += column.name;
        sql += ',';
    }
}

void buildInsert(std::string_view table, const ChangeRow& row, std::string& sql, size_t values) {
    sql += "INSERT INTO ";
    sql += table;
    sql += "(COMP,";
    // The three keys of OBJECTS follow a blank: the log shows the statement that way.
    if (table == masterdata_file::kObjects) sql += ' ';
    appendNames(row.keys, sql);
    appendNames(row.columns, sql);
    sql.back() = ')';  // no separator after the last column
    sql += " VALUES ";
    sql += '(';
    for (size_t i = 0; i < values; ++i) sql += i > 0 ? ",?" : "?";
    sql += ')';
}

void buildUpdate(std::string_view table, const ChangeRow& row, std::string& sql) {
    sql += "UPDATE ";
    sql += table;
    sql += " SET ";
    for (size_t i = 0; i < row.columns.size(); ++i) {
        if (i > 0) sql += ',';
        sql += row.columns[i].name;
        sql += " = ?";
    }
    sql += " WHERE ";
    appendKeyCondition(row, sql);
}

void buildDelete(std::string_view table, const ChangeRow& row, std::string& sql) {
    sql += "DELETE FROM ";
    sql += table;
    sql += " WHERE ";
    appendKeyCondition(row, sql);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

bool isKeyOf(const masterdata_file::TableLayout& layout, std::string_view name) {
    if (layout.table == masterdata_file::kObjects)
        return name == "CCFG" || name == "CROB" || name == "OSEQ";
    return sameName(name, layout.keyColumn);
}

bool isColumnOf(const masterdata_file::TableLayout& layout, std::string_view name) {
    for (std::string_view column : layout.columns)
        if (sameName(name, column)) return true;
    return false;
}

[[noreturn]] void throwUnknownColumn(std::string_view table, std::string_view name) {
    throw platform::PlatformError(platform::failure::kDatabase,
                                  "The row of table " + std::string(table) + " names column " +
                                      std::string(name) + ", which the table does not have.");
}

// Names reach the statement's text as written, so only those of the table's layout pass.
void requireKnownNames(std::string_view table, const ChangeRow& row) {
    const masterdata_file::TableLayout* layout = masterdata_file::findClientTable(table);
    if (!layout) {
        throw platform::PlatformError(platform::failure::kDatabase,
                                      "The table " + std::string(table) + " is not master data.");
    }
    for (const ColumnValue& key : row.keys)
        if (!isKeyOf(*layout, key.name)) throwUnknownColumn(table, key.name);
    for (const ColumnValue& column : row.columns)
        if (!isColumnOf(*layout, column.name)) throwUnknownColumn(table, column.name);
}

void appendValues(const std::vector<ColumnValue>& columns, std::vector<std::string_view>& values) {
    for (const ColumnValue& column : columns) values.push_back(column.value);
}

}  // namespace

void CollectMasterDataValues(std::string_view company, const ChangeRow& row,
                             std::vector<std::string_view>& values) {
    values.clear();
    if (row.action == RowAction::Modify) appendValues(row.columns, values);
    values.push_back(company);
    appendValues(row.keys, values);
    if (row.action == RowAction::Insert) appendValues(row.columns, values);
}

void BuildMasterDataStatement(std::string_view table, std::string_view company,
                              const ChangeRow& row, MasterDataStatement& out) {
    out.sql.clear();
    out.values.clear();
    if (row.action != RowAction::Delete && row.columns.empty())
        throw platform::PlatformError(
            platform::failure::kDatabase,
            "The row of table " + std::string(table) + " has no column elements to write.");
    requireKnownNames(table, row);
    CollectMasterDataValues(company, row, out.values);
    switch (row.action) {
        case RowAction::Insert:
            buildInsert(table, row, out.sql, out.values.size());
            break;
        case RowAction::Modify:
            buildUpdate(table, row, out.sql);
            break;
        case RowAction::Delete:
            buildDelete(table, row, out.sql);
            break;
        case RowAction::Skip:
            out.values.clear();
            break;
    }
}

std::string LiteralStatementText(const MasterDataStatement& statement) {
    return platform::db::literalStatement(statement.sql, statement.values);
}

}  // namespace quillmere
