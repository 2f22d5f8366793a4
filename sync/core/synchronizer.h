#pragma once
// The synchronizer: the state its window holds for the program's lifetime, its start-up, and
// a run (exportMasterData) over every company folder. The window and the headless run are
// hosts around it; both show its progress through the Progress interface and decide what
// the run's report means for them (the exit status, a summary file).
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine_root.h"
#include "platform/xml/document.h"
#include "sync/core/descriptions.h"
#include "sync/core/label_texts.h"
#include "sync/core/progress.h"
#include "sync/core/run_clock.h"
#include "sync/core/run_error.h"
#include "sync/core/run_lock.h"
#include "sync/core/run_log.h"
#include "sync/core/run_report.h"
#include "sync/core/server_connections.h"
#include "sync/core/server_folders.h"
#include "sync/core/window_start.h"

namespace brindlemoor {

struct RunOptions {
    RunClock* clock = nullptr;  // nullptr: the local time (SystemRunClock)
    // How long a run waits for an earlier run that holds the server root.
    std::chrono::milliseconds lockWait = kDefaultRunLockWait;
};

class Synchronizer {
  public:
    enum class StartUpOutcome { WaitForOperator, RunUnattended, Failed };

    Synchronizer(platform::MachineRoot root, Progress& progress, RunOptions options = {});
    ~Synchronizer();
    Synchronizer(const Synchronizer&) = delete;
    Synchronizer& operator=(const Synchronizer&) = delete;

    // The window's start-up: folders, server connection, unattended setting, locale and label
    // texts. A failure is shown and logged here; the program then ends.
    StartUpOutcome startUp();

    // One run: every company folder's transfers and change file, under the server root's run
    // lock. A failure ends the run; it is shown and logged, and the run returns normally with
    // a report that says where it ended.
    RunReport exportMasterData();

    // A report of the failed start-up (outcome StartUpFailed, its error and log file).
    RunReport startUpReport() const;

    bool unattended() const { return unattended_; }
    bool endAfterError() const { return endAfterError_; }
    const ServerFolders& folders() const { return folders_; }
    const LabelTexts& labels() const { return labels_; }
    const std::string& locale() const { return locale_; }
    const std::string& busAddress() const { return busAddress_; }
    const RunLog& log() const { return log_; }
    // The first failure to write the log from an error handler (the log folder is missing,
    // say); the host reports it, since the log cannot.
    const std::optional<RunError>& logFailure() const { return logFailure_; }

    // The steps a start-up and a run are made of.
    // Creates this run's log file in the log folder, or goes on with the file of the same
    // minute (path not found without a log folder).
    void createRunLog();
    // Appends one entry to this run's log (file not found before createRunLog).
    void writeLog(std::string_view data) { log_.append(data); }
    // Sets the bus-component address of a company: that of the bus identifier of the
    // company's first user (by LOGN) in USERDEFAULTS. Fails without such a user.
    void findBusAddress(int16_t company);
    // Sets the bus-component address to the VALUE the sibling database holds for a bus
    // identifier (empty when it holds none).
    void readBusAddress(const std::string& bisId);
    void openConnection(std::string_view database) { connections_.open(database); }
    // The server parameter DefaultLanguage, trimmed; empty when there is none.
    std::string readDefaultLanguage();

  private:
    void readUnattendedSetting();
    void loadLabels();
    void handleStartUpFailure(const RunError& error);
    void exportCompanies(RunReport& report);
    void exportCompany(const std::filesystem::path& folder, DescriptionLookup& descriptions,
                       CompanyReport& report);
    std::filesystem::path changeFileOfThisMinute(const std::filesystem::path& folder);
    void showCompanyDone(const CompanyReport& report);
    void handleRunFailure(const RunError& error);
    void showWhereTheRunStopped(const RunReport& report);
    std::string logFileForOperator() const;
    // Writes a log entry from an error handler, where a failure has nowhere else to go.
    void logEntry(const std::string& entry);
    void recordLogFailure(const RunError& error);

    platform::MachineRoot root_;
    Progress& progress_;
    std::unique_ptr<RunClock> systemClock_;
    RunClock& clock_;
    std::chrono::milliseconds lockWait_;
    ServerFolders folders_;
    RunLog log_;
    bool unattended_ = false;
    bool endAfterError_ = false;
    std::string locale_;
    LabelTexts labels_;
    std::string busAddress_;
    ServerConnections connections_;
    EnumerationTexts enumerations_;
    std::unique_ptr<platform::xml::Document> changeFile_;
    std::optional<RunError> startUpError_;
    std::optional<RunError> logFailure_;
};

}  // namespace brindlemoor
