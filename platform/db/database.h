#pragma once
// Database access, standing in for ADO over ODBC. Connection strings:
//   DSN=<name>[;UID=..;PWD=..]   the data source under HKLM\SOFTWARE\ODBC\odbc.ini\<name>:
//                                DBQ (or Database) names an SQLite file (a Windows path of the
//                                root or an absolute Linux path); Driver=PostgreSQL with
//                                Connect=<libpq string> selects PostgreSQL
//   sqlite:<path>                an SQLite file
//   postgresql://... postgres:// PostgreSQL through libpq
// SQL written for Access and ODBC is translated where the dialect differs (SELECT TOP n, a bare
// table name as a command; for PostgreSQL also the column types of SQLite's dialect, see
// translate()). Every failure throws PlatformError with failure::kDatabase and the driver's
// message. PostgreSQL cannot store a NUL character in a text: a value or statement holding one
// is refused, never cut short.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_root.h"
#include "platform/registry.h"

namespace platform::db {

using Value = std::optional<std::string>;  // nullopt is SQL NULL, distinct from ""

enum class Dialect { SQLite, PostgreSQL };

// A fully read result. Columns keep the order of the statement (for a table: table order).
// Numbers come back as their decimal text.
class Recordset {
  public:
    Recordset() = default;
    Recordset(std::vector<std::string> columns, std::vector<std::vector<Value>> rows);

    const std::vector<std::string>& columns() const { return columns_; }
    size_t columnCount() const { return columns_.size(); }
    size_t rowCount() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const std::vector<Value>& row(size_t index) const { return rows_.at(index); }

    // Position of a column by name without regard to case; nullopt when absent.
    std::optional<size_t> columnIndex(std::string_view name) const;
    // Value by row and column name; throws kDatabase ("item not found") for an unknown column.
    const Value& value(size_t row, std::string_view column) const;

  private:
    std::vector<std::string> columns_;
    std::vector<std::vector<Value>> rows_;
};

// A prepared statement with positional parameters written as '?'.
class Statement {
  public:
    virtual ~Statement() = default;
    virtual void bind(size_t index, const Value& value) = 0;  // index from 0
    // Binds text without copying it, for statements run by the thousand: the caller keeps
    // `value` unchanged and alive until the next execute() or query() has returned.
    virtual void bindText(size_t index, std::string_view value) { bind(index, std::string(value)); }
    // Runs with the bound values; returns the number of rows changed. Each run leaves the
    // statement ready for the next with no values bound (an unbound parameter is NULL).
    virtual int64_t execute() = 0;
    virtual Recordset query() = 0;
    void bindAll(const std::vector<Value>& values) {
        for (size_t i = 0; i < values.size(); ++i) bind(i, values[i]);
    }
};

class Connection {
  public:
    virtual ~Connection() = default;
    virtual Dialect dialect() const = 0;
    // Opens a recordset. A command that is one bare table name reads the whole table. Text
    // holding more than one statement is refused (query and prepare).
    virtual Recordset query(std::string_view sql) = 0;
    // Executes the statements of the text in turn; returns the number of rows the last one
    // changed (0 for anything but INSERT, UPDATE and DELETE).
    virtual int64_t execute(std::string_view sql) = 0;
    virtual std::unique_ptr<Statement> prepare(std::string_view sql) = 0;
    // As prepare(), for a statement whose best plan depends on its values and on the data at
    // hand (a list of keys in a table that grows while it is read): planned anew for every
    // run, where a database may otherwise settle on one plan (PostgreSQL does after five runs).
    // SQLite plans without table statistics, so this is prepare() there.
    virtual std::unique_ptr<Statement> prepareReplanned(std::string_view sql) {
        return prepare(sql);
    }
    // The tables of the database (PostgreSQL: of the current schema) by name, in name order.
    virtual std::vector<std::string> tableNames() = 0;
    // No nesting. A commit that cannot keep the work (PostgreSQL after a failed statement)
    // throws.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

// Opens a connection; data sources are resolved through the registry of `root`.
std::unique_ptr<Connection> connect(std::string_view connectionString, const MachineRoot& root);

// 'text' with every apostrophe doubled.
std::string quote(std::string_view value);
// The text with every apostrophe doubled (no enclosing quotes), for SQL built by concatenation.
std::string escapeQuotes(std::string_view value);

// The statement with each '?' replaced by its value in quotes (quote()), in order: a prepared
// statement as a log shows it. '?' beyond the values stay as they are.
std::string literalStatement(std::string_view sql, const std::vector<std::string_view>& values);

// The statement as the dialect needs it: SELECT TOP n ... -> SELECT ... LIMIT n; a bare table
// name -> SELECT * FROM name. For PostgreSQL, SQLite's self-numbering INTEGER PRIMARY KEY
// [AUTOINCREMENT] becomes BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY and COLLATE BINARY
// becomes COLLATE "C" (outside literals, quoted names and comments). Other text is returned
// unchanged. docs/databases.md lists every translation.
std::string translate(std::string_view sql, Dialect dialect);

// Commits on commit(), rolls back when destroyed without it.
class Transaction {
  public:
    explicit Transaction(Connection& connection) : connection_(connection) { connection_.begin(); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

  private:
    Connection& connection_;
    bool done_ = false;
};

}  // namespace platform::db
