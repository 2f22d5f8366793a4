// The PostgreSQL driver, through libpq. Results come in text format, so values arrive as the
// server prints them.
#include <libpq-fe.h>

#include <cstdlib>
#include <cstring>

#include "platform/db/database.h"
#include "platform/db/drivers.h"
#include "platform/failure.h"

namespace platform::db {

namespace {

constexpr const char* kConnectTimeoutSeconds = "10";

using Handle = std::shared_ptr<PGconn>;

struct Clear {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, Clear>;

[[noreturn]] void fail(const std::string& message) {
    throw PlatformError(failure::kDatabase, message);
}

// libpq messages end in a newline and may carry a position marker on further lines.
std::string firstLine(const char* message) {
    std::string text = message ? message : "";
    text = text.substr(0, text.find('\n'));
    return text.empty() ? "Unknown PostgreSQL error." : text;
}

std::string errorOf(const PGresult* result) {
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    return firstLine(primary ? primary : PQresultErrorMessage(result));
}

// Takes ownership of a result and throws unless the command succeeded.
Result check(PGconn* conn, PGresult* raw) {
    Result result(raw);
    if (!result) fail(firstLine(PQerrorMessage(conn)));
    switch (PQresultStatus(result.get())) {
        case PGRES_COMMAND_OK:
        case PGRES_TUPLES_OK:
            return result;
        case PGRES_EMPTY_QUERY:
            fail(kNoCommandText);
        default:
            fail(errorOf(result.get()));
    }
}

// Texts travel to the server as C strings, so a NUL would cut them short unseen; the server
// cannot store one in a text column either. Such a value is refused whole instead.
void refuseNul(std::string_view text, const std::string& where) {
    if (text.find('\0') != std::string_view::npos) {
        fail("PostgreSQL cannot store a text that holds a NUL character (" + where + ").");
    }
}

Result exec(PGconn* conn, const char* sql) {
    return check(conn, PQexec(conn, sql));
}

Recordset toRecordset(const PGresult* result) {
    const int fields = PQnfields(result);
    const int tuples = PQntuples(result);
    std::vector<std::string> columns;
    for (int f = 0; f < fields; ++f) columns.emplace_back(PQfname(result, f));
    std::vector<std::vector<Value>> rows(static_cast<size_t>(tuples));
    for (int t = 0; t < tuples; ++t) {
        std::vector<Value>& row = rows[static_cast<size_t>(t)];
        row.reserve(static_cast<size_t>(fields));
        for (int f = 0; f < fields; ++f) {
            if (PQgetisnull(result, t, f)) {
                row.emplace_back(std::nullopt);
            } else {
                row.emplace_back(std::string(PQgetvalue(result, t, f),
                                             static_cast<size_t>(PQgetlength(result, t, f))));
            }
        }
    }
    return Recordset(std::move(columns), std::move(rows));
}

// The server reports a row count for SELECT too; like SQLite, only changed rows count here.
int64_t rowsChanged(const PGresult* result) {
    if (std::strncmp(PQcmdStatus(const_cast<PGresult*>(result)), "SELECT", 6) == 0) return 0;
    const char* tuples = PQcmdTuples(const_cast<PGresult*>(result));
    return *tuples ? std::strtoll(tuples, nullptr, 10) : 0;
}

// '?' placeholders become $1, $2, ... as PostgreSQL numbers them; a '?' inside a literal, a
// quoted name or a comment is text and stays. A placeholder that runs on into a word ("?and")
// is set apart from it: the server reads "$1and" as a malformed parameter.
std::string numberPlaceholders(std::string_view sql, int& count) {
    std::string out;
    out.reserve(sql.size() + 8);
    count = 0;
    size_t pos = 0;
    while (pos < sql.size()) {
        if (copyQuoted(sql, pos, out)) continue;
        if (sql[pos] == '?') {
            out += '$' + std::to_string(++count);
            if (pos + 1 < sql.size() && isIdentifierChar(sql[pos + 1])) out += ' ';
        } else {
            out += sql[pos];
        }
        ++pos;
    }
    return out;
}

// A named statement prepared on the server, whose plan the server may settle on after a few
// runs; or, without a name, a statement whose text is sent with every run and planned anew.
class PostgresStatement final : public Statement {
  public:
    PostgresStatement(Handle conn, std::string name, std::string text, int parameters)
        : conn_(std::move(conn)),
          name_(std::move(name)),
          text_(std::move(text)),
          values_(static_cast<size_t>(parameters)) {}

    ~PostgresStatement() override {
        if (name_.empty()) return;
        // Frees the server's copy; failure (a broken connection, an aborted transaction) only
        // means it lives until the connection ends.
        PQclear(PQexec(conn_.get(), ("DEALLOCATE " + name_).c_str()));
    }

    void bind(size_t index, const Value& value) override {
        if (index >= values_.size()) {
            fail("Parameter " + std::to_string(index) + " is out of range; the statement has " +
                 std::to_string(values_.size()) + " parameters.");
        }
        if (value) refuseNul(*value, "parameter $" + std::to_string(index + 1));
        values_[index] = value;
    }

    int64_t execute() override { return rowsChanged(run().get()); }
    Recordset query() override { return toRecordset(run().get()); }

  private:
    // Runs with the bound values, then forgets them, as the SQLite driver does.
    Result run() {
        std::vector<const char*> pointers;
        pointers.reserve(values_.size());
        for (const Value& value : values_) pointers.push_back(value ? value->c_str() : nullptr);
        const int count = static_cast<int>(pointers.size());
        PGresult* raw = name_.empty() ? PQexecParams(conn_.get(), text_.c_str(), count, nullptr,
                                                     pointers.data(), nullptr, nullptr, 0)
                                      : PQexecPrepared(conn_.get(), name_.c_str(), count,
                                                       pointers.data(), nullptr, nullptr, 0);
        for (Value& value : values_) value.reset();
        return check(conn_.get(), raw);
    }

    Handle conn_;
    std::string name_;  // empty: planned for every run
    std::string text_;
    std::vector<Value> values_;  // unbound parameters are NULL
};

class PostgresConnection final : public Connection {
  public:
    explicit PostgresConnection(Handle conn) : conn_(std::move(conn)) {}

    Dialect dialect() const override { return Dialect::PostgreSQL; }

    // The extended protocol refuses a second statement instead of ignoring it.
    Recordset query(std::string_view sql) override {
        const std::string text = statementText(sql);
        return toRecordset(check(conn_.get(), PQexecParams(conn_.get(), text.c_str(), 0, nullptr,
                                                           nullptr, nullptr, nullptr, 0))
                               .get());
    }

    // Every statement of the text runs in turn; the count is that of the last one.
    int64_t execute(std::string_view sql) override {
        return rowsChanged(exec(conn_.get(), statementText(sql).c_str()).get());
    }

    std::unique_ptr<Statement> prepare(std::string_view sql) override {
        int parameters = 0;
        std::string text = numberPlaceholders(statementText(sql), parameters);
        std::string name = "taviro_" + std::to_string(++statements_);
        check(conn_.get(), PQprepare(conn_.get(), name.c_str(), text.c_str(), 0, nullptr));
        return std::make_unique<PostgresStatement>(conn_, std::move(name), std::move(text),
                                                   parameters);
    }

    // Prepared as an unnamed statement to find its faults now; run by its text, so that the
    // server plans each run for its values and the table as it is then. A plan the server
    // settled on would stay with a table's size at its sixth run: a sequential scan for a list
    // of keys in a table that was small then and has grown since.
    std::unique_ptr<Statement> prepareReplanned(std::string_view sql) override {
        int parameters = 0;
        std::string text = numberPlaceholders(statementText(sql), parameters);
        check(conn_.get(), PQprepare(conn_.get(), "", text.c_str(), 0, nullptr));
        return std::make_unique<PostgresStatement>(conn_, std::string(), std::move(text),
                                                   parameters);
    }

    // The server only warns about BEGIN inside a transaction and COMMIT or ROLLBACK outside
    // one; they fail here as they do with SQLite.
    void begin() override {
        if (PQtransactionStatus(conn_.get()) != PQTRANS_IDLE) {
            fail("cannot start a transaction within a transaction");
        }
        exec(conn_.get(), "BEGIN");
    }

    void commit() override {
        if (PQtransactionStatus(conn_.get()) == PQTRANS_IDLE) {
            fail("cannot commit - no transaction is active");
        }
        // After a failed statement the server answers COMMIT with a rollback, not an error.
        const Result result = exec(conn_.get(), "COMMIT");
        if (std::strcmp(PQcmdStatus(result.get()), "ROLLBACK") == 0) {
            fail("The transaction was rolled back because a statement in it failed.");
        }
    }

    void rollback() override {
        if (PQtransactionStatus(conn_.get()) == PQTRANS_IDLE) {
            fail("cannot rollback - no transaction is active");
        }
        exec(conn_.get(), "ROLLBACK");
    }

    std::vector<std::string> tableNames() override {
        return firstColumn(
            query("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                  "current_schema() AND table_type = 'BASE TABLE' ORDER BY table_name"));
    }

  private:
    std::string statementText(std::string_view sql) const {
        refuseNul(sql, "statement text");
        return commandText(sql, dialect());
    }

    Handle conn_;
    int statements_ = 0;
};

// The server's notices (warnings about harmless commands) would otherwise go to stderr.
void ignoreNotice(void*, const char*) {}

}  // namespace

std::unique_ptr<Connection> openPostgres(const std::string& conninfo,
                                         const std::optional<std::string>& user,
                                         const std::optional<std::string>& password) {
    // Entries before the expanded dbname are defaults the connection string may override;
    // entries after it override the string.
    std::vector<const char*> keys = {"connect_timeout", "dbname"};
    std::vector<const char*> values = {kConnectTimeoutSeconds, conninfo.c_str()};
    if (user && !user->empty()) {
        keys.push_back("user");
        values.push_back(user->c_str());
    }
    if (password && !password->empty()) {
        keys.push_back("password");
        values.push_back(password->c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);

    Handle conn(PQconnectdbParams(keys.data(), values.data(), 1), PQfinish);
    if (!conn) fail("Out of memory while connecting to PostgreSQL.");
    if (PQstatus(conn.get()) != CONNECTION_OK) fail(firstLine(PQerrorMessage(conn.get())));
    PQsetNoticeProcessor(conn.get(), ignoreNotice, nullptr);
    return std::make_unique<PostgresConnection>(std::move(conn));
}

}  // namespace platform::db
