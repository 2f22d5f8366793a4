#include "component/masterdata/table_rows_writer.h"

#include "platform/failure.h"

namespace quillmere {

using masterdata_file::RowAction;

TableRowsWriter::TableRowsWriter(platform::db::Connection& connection, std::string_view table,
                                 std::string_view company)
    : connection_(connection), table_(table), company_(company) {}

namespace {

// An Insert whose key the database already holds changes nothing here and is then applied as a
// Modify, so that a change file applied again, or after a partial failure, converges.
constexpr std::string_view kUnlessKeyExists = " ON CONFLICT DO NOTHING";

void bindValues(platform::db::Statement& statement, const MasterDataStatement& built) {
    for (size_t i = 0; i < built.values.size(); ++i) statement.bindText(i, built.values[i]);
}

}  // namespace

platform::db::Statement& TableRowsWriter::prepared(const std::string& sql) {
    // A table's rows come in a handful of shapes (I, M, D), so the list stays short.
    for (Prepared& known : prepared_)
        if (known.sql == sql) return *known.statement;
    prepared_.push_back({sql, connection_.prepare(sql)});
    return *prepared_.back().statement;
}

bool TableRowsWriter::sameShapeAsLastBuilt() const {
    const auto sameNames = [](const auto& a, const auto& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].name != b[i].name) return false;
        return true;
    };
    return current_ && row_.action == lastShape_.action && sameNames(row_.keys, lastShape_.keys) &&
           sameNames(row_.columns, lastShape_.columns);
}

void TableRowsWriter::rememberShape() {
    lastShape_.action = row_.action;
    lastShape_.keys = row_.keys;
    lastShape_.columns = row_.columns;
}

void TableRowsWriter::applyRows(platform::xml::Node tableElement, TableWriteResult& result,
                                size_t& rowNumber, bool& statementReady) {
    for (platform::xml::Node node : tableElement.children()) {
        ++rowNumber;
        statementReady = false;
        masterdata_file::readRow(node, table_, row_);
        if (row_.action == RowAction::Skip) continue;
        // Rows mostly come in runs of one shape; their statement text is built once per run.
        if (sameShapeAsLastBuilt()) {
            CollectMasterDataValues(company_, row_, statement_.values);
        } else {
            current_ = nullptr;
            BuildMasterDataStatement(table_, company_, row_, statement_);
            statementReady = true;
            current_ = &prepared(row_.action == RowAction::Insert
                                     ? statement_.sql + std::string(kUnlessKeyExists)
                                     : statement_.sql);
            rememberShape();
        }
        statementReady = true;
        logged_ = &statement_;
        // The values stay in row_ (and company_) until execute() has returned.
        bindValues(*current_, statement_);
        if (current_->execute() == 0 && row_.action != RowAction::Delete) applyOtherForm();
        ++result.rowsApplied;
    }
}

// An Insert that met an existing key becomes an update of that key; a Modify that met no row
// inserts it. A Delete of a missing key has nothing to do.
void TableRowsWriter::applyOtherForm() {
    const RowAction action = row_.action;
    row_.action = action == RowAction::Insert ? RowAction::Modify : RowAction::Insert;
    BuildMasterDataStatement(table_, company_, row_, otherForm_);
    row_.action = action;
    logged_ = &otherForm_;
    platform::db::Statement& statement = prepared(otherForm_.sql);
    bindValues(statement, otherForm_);
    statement.execute();
}

TableWriteResult TableRowsWriter::write(platform::xml::Node tableElement) {
    TableWriteResult result;
    if (!platform::xml::hasChildNodes(tableElement)) return result;
    size_t rowNumber = 0;
    bool statementReady = false;
    connection_.begin();
    try {
        applyRows(tableElement, result, rowNumber, statementReady);
    } catch (const std::exception& error) {
        result.complete = false;
        result.failure = error.what();
        result.failure += " (row " + std::to_string(rowNumber);
        if (statementReady) result.failure += ": " + LiteralStatementText(*logged_);
        result.failure += ")";
    }
    // The rows before a failing one stay applied, as they would have one statement at a time.
    try {
        connection_.commit();
    } catch (const std::exception& error) {
        result.complete = false;
        result.rowsApplied = 0;
        result.failure += (result.failure.empty() ? "" : "; ") +
                          std::string("the table's changes could not be committed: ") +
                          error.what();
    }
    return result;
}

}  // namespace quillmere
