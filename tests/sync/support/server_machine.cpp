#include "tests/sync/support/server_machine.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/registry.h"

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

}  // namespace

ServerMachine::ServerMachine() {
    if (const char* now = getenv("TAVIRO_NOW")) {
        hadNow_ = true;
        previousNow_ = now;
    }
    setenv("TAVIRO_NOW", "2026-12-07 09:05:00", 1);

    fs::create_directories(map("C:\\Inetpub\\wwwroot\\MasterData"));
    fs::create_directories(map("C:\\Program Files\\Corbelline\\Taviro Quillmere\\Brindlemoor"));
    fs::create_directories(map("C:\\Data"));
    serverDatabase_ = map("C:\\Data\\quillmere.mdb");
    siblingDatabase_ = map("C:\\Data\\pentavy.mdb");
    ExecuteSql(serverDatabase_, ReadSourceFile("data/server/server-database.sql"));
    ExecuteSql(serverDatabase_, ReadSourceFile("data/server/labels-1033.sql"));
    ExecuteSql(siblingDatabase_, ReadSourceFile("data/server/sibling-database.sql"));
    setParameter("DefaultLanguage", "1033");

    platform::Registry registry(root());
    auto set = [&](const std::string& key, const std::string& name, const std::string& value) {
        registry.createKey(Hive::LocalMachine, key);
        registry.setValue(Hive::LocalMachine, key, RegistryValue::string(name, value));
    };
    set("SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot", "C:\\Inetpub\\wwwroot");
    set("SOFTWARE\\Taviro\\Taviro Corbelline", "InstMainDir", "C:\\Program Files\\Corbelline");
    set("SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings", "11",
        "DSN=Quillmere;UID=wwwapps;PWD=");
    set("SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings", "8",
        "sqlite:C:\\Data\\pentavy.mdb");
    set("SOFTWARE\\ODBC\\odbc.ini\\Quillmere", "DBQ", "C:\\Data\\quillmere.mdb");
}

ServerMachine::~ServerMachine() {
    if (hadNow_) {
        setenv("TAVIRO_NOW", previousNow_.c_str(), 1);
    } else {
        unsetenv("TAVIRO_NOW");
    }
}

platform::db::Recordset ServerMachine::queryServer(const std::string& sql) const {
    return platform::db::connect("sqlite:" + serverDatabase_.string(), root())->query(sql);
}

std::vector<std::string> ServerMachine::serverRows(const std::string& table,
                                                   const std::string& company) const {
    const platform::db::Recordset rows = queryServer(
        "select * from " + table + " where COMP = " + quoted(company) + " order by rowid");
    std::vector<std::string> lines;
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        std::string line;
        for (size_t c = 1; c < rows.columnCount(); ++c) {
            if (c > 1) line += "|";
            line += rows.columns()[c] + "=" + rows.row(r)[c].value_or("NULL");
        }
        lines.push_back(line);
    }
    return lines;
}

void ServerMachine::setParameter(const std::string& name, const std::string& value) const {
    executeServer("delete from PARAMETERS where PARAMNAME = " + quoted(name) +
                  "; insert into PARAMETERS values (" + quoted(name) + ", " + quoted(value) + ")");
}

void ServerMachine::addCompany(const std::string& folder, int company) {
    fs::create_directories(companyFolder(folder));
    const fs::path audit = dir() / ("audit-" + std::to_string(audits_.size()) + ".db");
    ExecuteSql(audit, ReadSourceFile("data/server/erp-audit.sql"));
    audits_[folder] = audit;
    const std::string number = std::to_string(company);
    executeServer("insert into USERDEFAULTS values (" + quoted(number) + ", 'zz-last', '999');" +
                  "insert into USERDEFAULTS values (" + quoted(number) + ", 'admin', " +
                  quoted(std::to_string(1000 + company)) + ")");
    ExecuteSql(siblingDatabase_, "insert into BISPROPERTYVALUES values (" +
                                     quoted(std::to_string(1000 + company)) + ", " +
                                     quoted("sqlite:" + audit.string()) + ")");
}

fs::path ServerMachine::companyFolder(const std::string& folder) const {
    return map("C:\\Inetpub\\wwwroot\\MasterData") / folder;
}

fs::path ServerMachine::auditDatabase(const std::string& folder) const {
    return audits_.at(folder);
}

void ServerMachine::addChange(const std::string& folder, const std::string& object, int kind,
                              const std::string& oldValues, const std::string& newValues,
                              const std::string& changedAt) {
    ExecuteSql(
        auditDatabase(folder),
        "insert into ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) values (" +
            quoted(object) + ", " + quoted(changedAt) + ", " + std::to_string(kind) + ", " +
            quoted(oldValues) + ", " + quoted(newValues) + ")");
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
