#include "tests/sync/support/server_machine.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/registry.h"
#include "platform/text.h"

namespace sync_testing {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryValue;

void ExecuteSql(const fs::path& database, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + database.string());
    }
    char* message = nullptr;
    // One transaction: a schema of many statements is written with one sync.
    const std::string script = "BEGIN;\n" + sql + "\n;COMMIT;";
    const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message);
    const std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("SQL failed: " + error + " in " + sql);
}

std::string ReadSourceFile(const std::string& relativePath) {
    std::ifstream in(fs::path(TAVIRO_SOURCE_DIR) / relativePath, std::ios::binary);
    if (!in) throw std::runtime_error("missing " + relativePath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

std::string quoted(const std::string& text) {
    return platform::db::quote(text);
}

constexpr std::string_view kSqlitePrefix = "sqlite:";

}  // namespace

ServerMachine::ServerMachine(Backend backend) : backend_(backend) {
    if (const char* now = getenv("TAVIRO_NOW")) {
        hadNow_ = true;
        previousNow_ = now;
    }
    setenv("TAVIRO_NOW", "2026-12-07 09:05:00", 1);

    fs::create_directories(map("C:\\Inetpub\\wwwroot\\MasterData"));
    fs::create_directories(map("C:\\Program Files\\Corbelline\\Taviro Quillmere\\Brindlemoor"));
    fs::create_directories(map("C:\\Data"));
    databases_.push_back(createDatabase(map("C:\\Data\\quillmere.mdb")));
    databases_.push_back(createDatabase(map("C:\\Data\\pentavy.mdb")));
    serverDatabase_ = databases_[0].file;
    serverConnection_ = databases_[0].connection;
    siblingConnection_ = databases_[1].connection;
    executeServer(ReadSourceFile("data/server/server-database.sql"));
    executeServer(ReadSourceFile("data/server/labels-1033.sql"));
    executeSibling(ReadSourceFile("data/server/sibling-database.sql"));
    setParameter("DefaultLanguage", "1033");
    prepareRegistry();
}

ServerMachine::Database ServerMachine::createDatabase(const fs::path& file) const {
    Database database;
    if (backend_ == Backend::PostgreSQL) {
        database.postgres = std::make_unique<testing_support::PostgresDatabase>();
        database.connection = database.postgres->url();
    } else {
        database.file = file;
        ExecuteSql(database.file, "");
        database.connection = std::string(kSqlitePrefix) + database.file.string();
    }
    return database;
}

// SQLite files are written directly, so that a test may use what the database layer would
// refuse; PostgreSQL goes through the layer, which translates what the delivered SQL says in
// SQLite's words.
void ServerMachine::execute(const std::string& connection, const std::string& sql) const {
    if (connection.starts_with(kSqlitePrefix)) {
        ExecuteSql(connection.substr(kSqlitePrefix.size()), sql);
    } else {
        platform::db::connect(connection, root())->execute(sql);
    }
}

void ServerMachine::prepareRegistry() const {
    platform::Registry registry(root());
    auto set = [&](const std::string& key, const std::string& name, const std::string& value) {
        registry.createKey(Hive::LocalMachine, key);
        registry.setValue(Hive::LocalMachine, key, RegistryValue::string(name, value));
    };
    const std::string strings = "SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings";
    const std::string dataSource = "SOFTWARE\\ODBC\\odbc.ini\\Quillmere";
    set("SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot", "C:\\Inetpub\\wwwroot");
    set("SOFTWARE\\Taviro\\Taviro Corbelline", "InstMainDir", "C:\\Program Files\\Corbelline");
    if (backend_ == Backend::PostgreSQL) {
        set(strings, "11", serverConnection_);
        set(strings, "8", siblingConnection_);
        set(dataSource, "Driver", "PostgreSQL");
        set(dataSource, "Connect", databases_[0].postgres->conninfo());
        set(dataSource, "UID", "postgres");
    } else {
        set(strings, "11", "DSN=Quillmere;UID=wwwapps;PWD=");
        set(strings, "8", "sqlite:C:\\Data\\pentavy.mdb");
        set(dataSource, "DBQ", "C:\\Data\\quillmere.mdb");
    }
}

ServerMachine::~ServerMachine() {
    if (hadNow_) {
        setenv("TAVIRO_NOW", previousNow_.c_str(), 1);
    } else {
        unsetenv("TAVIRO_NOW");
    }
}

platform::db::Recordset ServerMachine::queryServer(const std::string& sql) const {
    return platform::db::connect(serverConnection_, root())->query(sql);
}

std::vector<std::string> ServerMachine::serverRows(const std::string& table,
                                                   const std::string& company) const {
    const platform::db::Recordset rows =
        queryServer("select * from " + table + " where COMP = " + quoted(company));
    std::vector<std::string> lines;
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        std::string line;
        for (size_t c = 1; c < rows.columnCount(); ++c) {
            if (c > 1) line += "|";
            line += platform::toUpper(rows.columns()[c]) + "=" + rows.row(r)[c].value_or("NULL");
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

void ServerMachine::setParameter(const std::string& name, const std::string& value) const {
    executeServer("delete from PARAMETERS where PARAMNAME = " + quoted(name) +
                  "; insert into PARAMETERS values (" + quoted(name) + ", " + quoted(value) + ")");
}

void ServerMachine::addCompany(const std::string& folder, int company) {
    fs::create_directories(companyFolder(folder));
    Database audit = createDatabase(dir() / ("audit-" + std::to_string(audits_.size()) + ".db"));
    execute(audit.connection, ReadSourceFile("data/server/erp-audit.sql"));
    const std::string address = audit.connection;
    audits_[folder] = std::move(audit);
    const std::string number = std::to_string(company);
    executeServer("insert into USERDEFAULTS values (" + quoted(number) + ", 'zz-last', '999');" +
                  "insert into USERDEFAULTS values (" + quoted(number) + ", 'admin', " +
                  quoted(std::to_string(1000 + company)) + ")");
    executeSibling("insert into BISPROPERTYVALUES values (" +
                   quoted(std::to_string(1000 + company)) + ", " + quoted(address) + ")");
}

fs::path ServerMachine::companyFolder(const std::string& folder) const {
    return map("C:\\Inetpub\\wwwroot\\MasterData") / folder;
}

fs::path ServerMachine::auditDatabase(const std::string& folder) const {
    return audits_.at(folder).file;
}

std::string ServerMachine::auditAddress(const std::string& folder) const {
    return audits_.at(folder).connection;
}

std::string ServerMachine::removeAuditDatabase(const std::string& folder) {
    Database& audit = audits_.at(folder);
    if (audit.postgres) {
        const std::string name = audit.postgres->name();
        audit.postgres.reset();
        return "database \"" + name + "\" does not exist";
    }
    fs::remove(audit.file);
    return "The database file '" + audit.file.string() + "' does not exist.";
}

void ServerMachine::addChange(const std::string& folder, const std::string& object, int kind,
                              const std::string& oldValues, const std::string& newValues,
                              const std::string& changedAt) {
    execute(
        auditAddress(folder),
        "insert into ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) values (" +
            quoted(object) + ", " + quoted(changedAt) + ", " + std::to_string(kind) + ", " +
            quoted(oldValues) + ", " + quoted(newValues) + ")");
}

void ServerMachine::copyChanges(const std::string& folder, const fs::path& auditFile) {
    const platform::db::Recordset changes =
        platform::db::connect(std::string(kSqlitePrefix) + auditFile.string(), root())
            ->query(
                "SELECT SEQ, BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES FROM "
                "ERPAUDIT ORDER BY SEQ");
    const auto audit = platform::db::connect(auditAddress(folder), root());
    platform::db::Transaction transaction(*audit);
    const auto insert = audit->prepare("insert into ERPAUDIT values (?, ?, ?, ?, ?, ?)");
    for (size_t i = 0; i < changes.rowCount(); ++i) {
        insert->bindAll(changes.row(i));
        insert->execute();
    }
    transaction.commit();
}

std::string ServerMachine::changeFile(const std::string& folder, const std::string& stamp) const {
    return testing_support::readFile(companyFolder(folder) / (stamp + ".xml"));
}

bool ServerMachine::hasChangeFile(const std::string& folder, const std::string& stamp) const {
    return fs::exists(companyFolder(folder) / (stamp + ".xml"));
}

fs::path ServerMachine::logFolder() const {
    return map("C:\\Program Files\\Corbelline\\Taviro Quillmere\\Brindlemoor");
}

fs::path ServerMachine::logFile(const std::string& stamp) const {
    return logFolder() / ("SynchronizedOn " + stamp + ".txt");
}

std::string ServerMachine::log(const std::string& stamp) const {
    return testing_support::readFile(logFile(stamp));
}

int ServerMachine::runHeadless(std::string& out, std::string& err,
                               const brindlemoor::HeadlessOptions& options) const {
    std::ostringstream output;
    std::ostringstream errors;
    const int status = brindlemoor::RunHeadless(root(), output, errors, options);
    out = output.str();
    err = errors.str();
    return status;
}

std::string ChangeFileText(const std::string& company, const std::string& tables,
                           const std::string& time) {
    return "<VOMasterData COMP=\"" + company + "\" TIME=\"" + time + "\">" + tables +
           "</VOMasterData>";
}

std::string EmptyTables(const std::map<std::string, std::string>& filled) {
    static const char* const kTables[] = {
        "PROBLEMS",        "SOLUTIONS",    "ADDRESSES",           "COSTCOMPONENTS", "WAREHOUSES",
        "HOURLYLABORTYPE", "SERVICEAREAS", "SERVICETYPES",        "CONTACTS",       "PRIORITIES",
        "REASONS",         "UNITS",        "REFERENCEACTIVITIES", "TASKS",          "SERVICECAR",
        "SERVICECENTERS",  "SERVICEITEMS", "SERVICEKITS"};
    std::string text;
    for (const char* table : kTables) {
        const auto found = filled.find(table);
        text += found != filled.end() ? found->second : "<" + std::string(table) + "/>";
    }
    return text;
}

}  // namespace sync_testing
