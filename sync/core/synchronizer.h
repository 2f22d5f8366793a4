#pragma once
// The synchronizer: the state its window holds for the program's lifetime, its start-up, and
// a run (ExportMasterData) over every company folder. The window and the headless run are
// hosts around it; both show its progress through the Progress interface.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine_root.h"
#include "platform/registry.h"
#include "platform/xml/document.h"
#include "shared/masterdata_file/change_file_writer.h"
#include "sync/core/descriptions.h"
#include "sync/core/label_texts.h"
#include "sync/core/progress.h"
#include "sync/core/run_error.h"
#include "sync/core/run_log.h"
#include "sync/core/server_connections.h"
#include "sync/core/window_start.h"

namespace brindlemoor {

// Folders derived at start-up from the registry (Windows paths).
struct ServerFolders {
    std::string webRoot;
    std::string middlewareFolder;
    std::string productFolder;     // middleware folder + "\Taviro Quillmere"
    std::string masterDataFolder;  // web root + "\MasterData"
    std::string logFolder;         // product folder + "\Brindlemoor"
};

class Synchronizer {
  public:
    enum class StartUpOutcome { WaitForOperator, RunUnattended, Failed };

    Synchronizer(platform::MachineRoot root, Progress& progress);
    ~Synchronizer();
    Synchronizer(const Synchronizer&) = delete;
    Synchronizer& operator=(const Synchronizer&) = delete;

    // The window's start-up: folders, server connection, unattended setting, locale and label
    // texts. A failure is shown and logged here; the program then ends.
    StartUpOutcome startUp();

    // One run: every company folder's transfers and change file. A failure ends the run; it is
    // shown and logged, and the run returns normally.
    void exportMasterData();

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
    // Creates this run's log file in the log folder (path not found without one).
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
    void readFolders();
    void readUnattendedSetting();
    void loadLabels();
    void handleStartUpFailure(const RunError& error);
    void exportCompany(const std::filesystem::path& folder, DescriptionLookup& descriptions);
    void handleRunFailure(const RunError& error);
    // Writes a log entry from an error handler, where a failure has nowhere else to go.
    void logEntry(const std::string& entry);
    void recordLogFailure(const RunError& error);

    platform::MachineRoot root_;
    Progress& progress_;
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
    std::optional<RunError> logFailure_;
};

}  // namespace brindlemoor
