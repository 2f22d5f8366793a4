#pragma once
// A server machine in a temporary root, laid out as the synchronizer expects it: the registry
// (web root, middleware folder, connection strings, the data source "Quillmere"), the server
// and sibling databases made from data/server/, the log folder, and per company a folder below
// the master-data folder with an ERP audit database of its own.
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "sync/core/headless_run.h"
#include "tests/support/postgres_cluster.h"
#include "tests/support/temp_root.h"

namespace sync_testing {

// Runs SQL text on an SQLite file, creating the file when needed.
void ExecuteSql(const std::filesystem::path& database, const std::string& sql);
std::string ReadSourceFile(const std::string& relativePath);

// Where the machine's databases live: SQLite files in the root, or databases of the test run's
// PostgreSQL cluster.
enum class Backend { SQLite, PostgreSQL };

// For test names and messages.
inline void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::SQLite ? "SQLite" : "PostgreSQL");
}

class ServerMachine {
  public:
    // Interactive, locale 1033 with the sample label texts, TAVIRO_NOW 2026-12-07 09:05:00.
    // With PostgreSQL, the server database is reached by its URL (connection string 11) and
    // through the data source "Quillmere", which names the user.
    explicit ServerMachine(Backend backend = Backend::SQLite);
    ~ServerMachine();

    Backend backend() const { return backend_; }

    const platform::MachineRoot& root() const { return temp_.root(); }
    const std::filesystem::path& dir() const { return temp_.dir(); }
    std::filesystem::path map(const std::string& windowsPath) const {
        return temp_.map(windowsPath);
    }

    // Server database.
    void executeServer(const std::string& sql) const { execute(serverConnection_, sql); }
    platform::db::Recordset queryServer(const std::string& sql) const;
    // The rows of a server table for a company as "COL=value|COL=value" lines (names upper
    // case, NULL as NULL), sorted, since the two databases keep rows in different orders.
    std::vector<std::string> serverRows(const std::string& table,
                                        const std::string& company = "500") const;
    // The server database's file (SQLite only).
    const std::filesystem::path& serverDatabase() const { return serverDatabase_; }
    void setParameter(const std::string& name, const std::string& value) const;
    // The sibling database (BISPROPERTYVALUES).
    void executeSibling(const std::string& sql) const { execute(siblingConnection_, sql); }

    // A company folder (named `folder`) for company number `company`, with its own audit
    // database reached through bus identifier `company`.
    void addCompany(const std::string& folder, int company);
    std::filesystem::path companyFolder(const std::string& folder) const;
    // A change in the company's audit database.
    void addChange(const std::string& folder, const std::string& object, int kind,
                   const std::string& oldValues, const std::string& newValues,
                   const std::string& changedAt = "2026-12-07 08:00:00");
    // Runs SQL text on the company's audit database.
    void executeAudit(const std::string& folder, const std::string& sql) const {
        execute(auditAddress(folder), sql);
    }
    // Copies every change of an SQLite audit database into the company's audit database.
    void copyChanges(const std::string& folder, const std::filesystem::path& auditFile);
    // The company's audit database: its file (SQLite only) and its bus-component address.
    std::filesystem::path auditDatabase(const std::string& folder) const;
    std::string auditAddress(const std::string& folder) const;
    // Removes the company's audit database; answers what the database layer says when it is
    // asked for it then.
    std::string removeAuditDatabase(const std::string& folder);

    // The change file of a company folder (the run's stamp by default); "" when missing.
    std::string changeFile(const std::string& folder,
                           const std::string& stamp = "2026-12-07 09-05") const;
    bool hasChangeFile(const std::string& folder,
                       const std::string& stamp = "2026-12-07 09-05") const;
    // The run's log ("" when missing).
    std::string log(const std::string& stamp = "2026-12-07 09-05") const;
    std::filesystem::path logFolder() const;
    std::filesystem::path logFile(const std::string& stamp = "2026-12-07 09-05") const;

    // Runs `brindlemoor --run` in-process; answers the exit status.
    int runHeadless(std::string& out, std::string& err,
                    const brindlemoor::HeadlessOptions& options = {}) const;
    int runHeadless(std::string& out) const {
        std::string err;
        return runHeadless(out, err);
    }

  private:
    // A database of the machine: a file in the root or a database of the cluster.
    struct Database {
        std::filesystem::path file;
        std::unique_ptr<testing_support::PostgresDatabase> postgres;
        std::string connection;
    };
    // An empty database; with SQLite the file `file`.
    Database createDatabase(const std::filesystem::path& file) const;
    void execute(const std::string& connection, const std::string& sql) const;
    void prepareRegistry() const;

    Backend backend_;
    testing_support::TempRoot temp_;
    std::filesystem::path serverDatabase_;
    std::string serverConnection_;
    std::string siblingConnection_;
    std::vector<Database> databases_;
    std::map<std::string, Database> audits_;
    std::string previousNow_;
    bool hadNow_ = false;
};

// The change file's root holding these table elements, as the document writes them.
std::string ChangeFileText(const std::string& company, const std::string& tables,
                           const std::string& time = "20261207090500");

// The eighteen table elements of a change file without rows; `filled` replaces the named
// table elements with the given markup.
std::string EmptyTables(const std::map<std::string, std::string>& filled = {});

}  // namespace sync_testing
