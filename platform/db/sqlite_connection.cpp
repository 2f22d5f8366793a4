// The SQLite driver: the stand-in for Access files.
#include <sqlite3.h>

#include <climits>

#include "platform/db/database.h"
#include "platform/db/drivers.h"
#include "platform/failure.h"

namespace platform::db {

namespace {

// Long enough to ride out another process's write transaction, short enough to report a
// database that stays locked.
constexpr int kBusyTimeoutMs = 10000;

using Database = std::shared_ptr<sqlite3>;

struct Finalize {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Compiled = std::unique_ptr<sqlite3_stmt, Finalize>;

[[noreturn]] void fail(sqlite3* db) {
    throw PlatformError(failure::kDatabase, sqlite3_errmsg(db));
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(db);
}

// Compiles the first statement of `sql`, leaving the text after it in `tail`. Null when the
// text holds no statement (blanks or comments only).
Compiled compile(sqlite3* db, std::string_view sql, std::string_view& tail, unsigned flags) {
    if (sql.size() > INT_MAX) throw PlatformError(failure::kDatabase, "The statement is too long.");
    sqlite3_stmt* raw = nullptr;
    const char* end = nullptr;
    const int rc =
        sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), flags, &raw, &end);
    Compiled statement(raw);
    if (rc != SQLITE_OK) fail(db);
    tail = sql.substr(static_cast<size_t>(end - sql.data()));
    return statement;
}

// Exactly one statement: SQLite would silently ignore anything after the first.
Compiled compileOne(sqlite3* db, std::string_view sql, unsigned flags) {
    std::string_view tail;
    Compiled statement = compile(db, sql, tail, flags);
    if (!statement) throw PlatformError(failure::kDatabase, kNoCommandText);
    if (compile(db, tail, tail, 0)) {
        throw PlatformError(failure::kDatabase, "Characters found after end of SQL statement.");
    }
    return statement;
}

// Leaves the statement reset, without bindings, whichever way the run ends: ready for reuse
// and holding no lock on the file.
class ResetOnExit {
  public:
    explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;
    ~ResetOnExit() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

  private:
    sqlite3_stmt* statement_;
};

std::vector<Value> readRow(sqlite3* db, sqlite3_stmt* statement, int columns) {
    std::vector<Value> row;
    row.reserve(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
            row.emplace_back(std::nullopt);
            continue;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        if (text == nullptr) fail(db);  // out of memory while converting
        row.emplace_back(
            std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, i))));
    }
    return row;
}

Recordset readAll(sqlite3* db, sqlite3_stmt* statement) {
    const ResetOnExit reset(statement);
    const int count = sqlite3_column_count(statement);
    std::vector<std::string> columns;
    for (int i = 0; i < count; ++i) columns.emplace_back(sqlite3_column_name(statement, i));
    std::vector<std::vector<Value>> rows;
    for (;;) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) fail(db);
        rows.push_back(readRow(db, statement, count));
    }
    return Recordset(std::move(columns), std::move(rows));
}

// Runs to the end; the rows this statement changed. sqlite3_changes() keeps the count of the
// last INSERT/UPDATE/DELETE, so a statement that changed nothing must not report it.
int64_t run(sqlite3* db, sqlite3_stmt* statement) {
    const ResetOnExit reset(statement);
    const int64_t before = sqlite3_total_changes64(db);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail(db);
    return sqlite3_total_changes64(db) == before ? 0 : sqlite3_changes64(db);
}

class SqliteStatement final : public Statement {
  public:
    SqliteStatement(Database db, Compiled statement)
        : db_(std::move(db)), statement_(std::move(statement)) {}

    void bind(size_t index, const Value& value) override {
        const int position = checkedPosition(index);
        // std::string::data() is never null, so "" binds as empty text rather than NULL.
        const int rc = value ? sqlite3_bind_text64(statement_.get(), position, value->data(),
                                                   value->size(), SQLITE_TRANSIENT, SQLITE_UTF8)
                             : sqlite3_bind_null(statement_.get(), position);
        if (rc != SQLITE_OK) fail(db_.get());
    }

    void bindText(size_t index, std::string_view value) override {
        const int position = checkedPosition(index);
        // A null pointer would bind NULL; an empty view is empty text.
        const char* text = value.data() != nullptr ? value.data() : "";
        const int rc = sqlite3_bind_text64(statement_.get(), position, text, value.size(),
                                           SQLITE_STATIC, SQLITE_UTF8);
        if (rc != SQLITE_OK) fail(db_.get());
    }

    int64_t execute() override { return run(db_.get(), statement_.get()); }
    Recordset query() override { return readAll(db_.get(), statement_.get()); }

  private:
    int checkedPosition(size_t index) const {
        const int count = sqlite3_bind_parameter_count(statement_.get());
        if (index >= static_cast<size_t>(count)) {
            throw PlatformError(failure::kDatabase, "Parameter " + std::to_string(index) +
                                                        " is out of range; the "
                                                        "statement has " +
                                                        std::to_string(count) + " parameters.");
        }
        return static_cast<int>(index) + 1;
    }

    Database db_;  // shared, so the file stays open while a statement outlives its connection
    Compiled statement_;
};

class SqliteConnection final : public Connection {
  public:
    explicit SqliteConnection(Database db) : db_(std::move(db)) {}

    Dialect dialect() const override { return Dialect::SQLite; }

    Recordset query(std::string_view sql) override {
        const Compiled statement = compileOne(db_.get(), commandText(sql, dialect()), 0);
        return readAll(db_.get(), statement.get());
    }

    // Every statement of the text runs in turn; the count is that of the last one.
    int64_t execute(std::string_view sql) override {
        const std::string text = commandText(sql, dialect());
        std::string_view rest = text;
        std::optional<int64_t> changed;
        while (const Compiled statement = compile(db_.get(), rest, rest, 0)) {
            changed = run(db_.get(), statement.get());
        }
        if (!changed) throw PlatformError(failure::kDatabase, kNoCommandText);
        return *changed;
    }

    std::unique_ptr<Statement> prepare(std::string_view sql) override {
        Compiled statement =
            compileOne(db_.get(), commandText(sql, dialect()), SQLITE_PREPARE_PERSISTENT);
        return std::make_unique<SqliteStatement>(db_, std::move(statement));
    }

    // IMMEDIATE takes the write lock at once: two deferred transactions that both read and
    // then write would deadlock, and SQLite reports that as busy without waiting.
    void begin() override { exec(db_.get(), "BEGIN IMMEDIATE"); }
    void commit() override { exec(db_.get(), "COMMIT"); }
    void rollback() override { exec(db_.get(), "ROLLBACK"); }

    std::vector<std::string> tableNames() override {
        return firstColumn(query(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
            "ESCAPE '\\' ORDER BY name"));
    }

  private:
    Database db_;
};

}  // namespace

std::unique_ptr<Connection> openSqlite(const std::filesystem::path& file) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(file, ignored)) {
        throw PlatformError(failure::kDatabase,
                            "The database file '" + file.string() + "' does not exist.");
    }
    sqlite3* raw = nullptr;
    // No SQLITE_OPEN_CREATE: a mistyped path must fail, not leave an empty database behind.
    const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    // close_v2 defers the close until the last statement is finalized.
    Database db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK) {
        throw PlatformError(failure::kDatabase, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    // SQLite reads the file lazily; a file that is no SQLite database (a genuine Access file,
    // say) is reported now rather than at the first query.
    exec(raw, "SELECT count(*) FROM sqlite_master");
    return std::make_unique<SqliteConnection>(std::move(db));
}

}  // namespace platform::db
