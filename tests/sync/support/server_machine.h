#pragma once
// A server machine in a temporary root, laid out as the synchronizer expects it: the registry
// (web root, middleware folder, connection strings, the data source "Quillmere"), the server
// and sibling databases made from data/server/, the log folder, and per company a folder below
// the master-data folder with an ERP audit database of its own.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "sync/core/headless_run.h"
#include "tests/support/temp_root.h"

namespace sync_testing {

// Runs SQL text on an SQLite file, creating the file when needed.
void ExecuteSql(const std::filesystem::path& database, const std::string& sql);
std::string ReadSourceFile(const std::string& relativePath);

class ServerMachine {
  public:
    // Interactive, locale 1033 with the sample label texts, TAVIRO_NOW 2026-12-07 09:05:00.
    ServerMachine();
    ~ServerMachine();

    const platform::MachineRoot& root() const { return temp_.root(); }
    const std::filesystem::path& dir() const { return temp_.dir(); }
    std::filesystem::path map(const std::string& windowsPath) const {
        return temp_.map(windowsPath);
    }

    // Server database.
    void executeServer(const std::string& sql) const { ExecuteSql(serverDatabase_, sql); }
    platform::db::Recordset queryServer(const std::string& sql) const;
    // The rows of a server table for a company as "COL=value|COL=value" lines, in rowid order.
    std::vector<std::string> serverRows(const std::string& table,
                                        const std::string& company = "500") const;
    const std::filesystem::path& serverDatabase() const { return serverDatabase_; }
    void setParameter(const std::string& name, const std::string& value) const;

    // A company folder (named `folder`) for company number `company`, with its own audit
    // database reached through bus identifier `company`.
    void addCompany(const std::string& folder, int company);
    std::filesystem::path companyFolder(const std::string& folder) const;
    // A change in the company's audit database.
    void addChange(const std::string& folder, const std::string& object, int kind,
                   const std::string& oldValues, const std::string& newValues,
                   const std::string& changedAt = "2026-12-07 08:00:00");
    std::filesystem::path auditDatabase(const std::string& folder) const;

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
    testing_support::TempRoot temp_;
    std::filesystem::path serverDatabase_;
    std::filesystem::path siblingDatabase_;
    std::map<std::string, std::filesystem::path> audits_;
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
