// A run: every company folder below the master-data folder gets its table transfers and its
// change file; a failure ends the run and is shown and logged.
#include <algorithm>
#include <chrono>

#include "platform/db/database.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "sync/core/basic_conversions.h"
#include "sync/core/password_mask.h"
#include "sync/core/server_queries.h"
#include "sync/core/synchronizer.h"
#include "sync/core/table_transfer.h"
#include "sync/core/transfer_particulars.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

const std::string kTwentyTwoBlanks(22, ' ');

// Sets the company's duration when the company's export ends, also on a failure.
class Stopwatch {
  public:
    explicit Stopwatch(double& seconds)
        : seconds_(seconds), start_(std::chrono::steady_clock::now()) {}
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;
    ~Stopwatch() {
        seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

  private:
    double& seconds_;
    std::chrono::steady_clock::time_point start_;
};

// A run killed while it saved a change file leaves the hidden temporary file of that save
// (".<name>.xml.tmp<n>", see platform::writeFileAtomically) behind; the next run of the
// company, holding the run lock, removes it.
void removeStaleTemporaries(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] != '.' || name.find(".xml.tmp") == std::string::npos) continue;
        if (!std::filesystem::remove(entry.path(), error) && error) {
            throw platform::PlatformError(platform::failure::kPermissionDenied,
                                          "Permission denied: " + entry.path().string());
        }
    }
}

}  // namespace

RunReport Synchronizer::exportMasterData() {
    RunReport report;
    // Label texts may have been edited since the last run of this window.
    enumerations_.setLocale(locale_);
    log_.close();
    try {
        RunLock lock(root_);
        if (!lock.lock(progress_, clock_, lockWait_)) {
            report.outcome = RunReport::Outcome::NotStarted;
            report.error = RunError{
                ErrorNumber(platform::failure::kPermissionDenied), std::string(kProgramSource),
                "Another run kept the server root locked (" + lock.file().string() + ")."};
            progress_.append(
                "Another run still works on this server root; this run did not start. Try "
                "again when it has ended." +
                std::string(kLineBreak));
            return report;
        }
        exportCompanies(report);
        connections_.release();
    } catch (...) {
        connections_.release();
        const RunError error = DescribeCurrentException();
        handleRunFailure(error);
        report.outcome = RunReport::Outcome::Failed;
        report.error = error;
        if (!report.companies.empty() && report.companies.back().changeFile.empty()) {
            report.companies.back().error = error;
        }
        showWhereTheRunStopped(report);
    }
    if (log_.isOpen()) report.logFile = root_.map(log_.path());
    return report;
}

void Synchronizer::exportCompanies(RunReport& report) {
    // The log comes first, so that a missing master-data folder is logged as well.
    createRunLog();
    const std::vector<std::filesystem::path> companies =
        ListInNameOrder(root_.map(folders_.masterDataFolder), true);
    DescriptionLookup descriptions(root_);
    for (const std::filesystem::path& folder : companies) {
        report.companies.emplace_back();
        exportCompany(folder, descriptions, report.companies.back());
    }
    writeLog(labels_.run[LabelTexts::kRunComplete]);
}

void Synchronizer::exportCompany(const std::filesystem::path& folder,
                                 DescriptionLookup& descriptions, CompanyReport& report) {
    const Stopwatch stopwatch(report.seconds);
    report.folder = folder.filename().string();
    const int32_t company = CompanyOfFolder(report.folder);
    report.company = company;
    removeStaleTemporaries(folder);
    const WindowStart windowStart = FindWindowStart(folder);
    const std::filesystem::path changeFilePath = changeFileOfThisMinute(folder);
    findBusAddress(ToCompanyParameter(company));
    writeLog(kTwentyTwoBlanks + "FOR COMPANY " + std::to_string(company) + kTwentyTwoBlanks);
    if (windowStart.earliest) {
        writeLog(
            "No change file and no master-data database in the company folder: the change "
            "window starts at the earliest time.");
    }

    if (!changeFile_) changeFile_ = std::make_unique<platform::xml::Document>();
    masterdata_file::ChangeFileWriter writer(*changeFile_);
    writer.begin(std::to_string(company), masterdata_file::TimeAttributeStamp(clock_.now()));

    TransferServices services;
    services.company = company;
    services.windowStart = windowStart;
    services.busAddress = busAddress_;
    services.changeFile = &writer;
    services.connections = &connections_;
    services.descriptions = &descriptions;
    services.enumerations = &enumerations_;
    services.labels = &labels_;
    services.progress = &progress_;
    services.log = &log_;
    for (const TransferParticulars& transfer : TransfersInRunOrder()) {
        report.tables.emplace_back();
        RunTransfer(transfer, services, report.tables.back());
    }

    writer.save(changeFilePath);
    report.changeFile = changeFilePath;
    showCompanyDone(report);
}

// A run never replaces a change file that an earlier run wrote: its name is the start of the
// next change window, and clients that have not fetched it yet would lose the changes only it
// carries. When this minute's file exists, the run waits for the next minute; a clock that
// stands still cannot get there.
std::filesystem::path Synchronizer::changeFileOfThisMinute(const std::filesystem::path& folder) {
    auto fileNow = [&] { return folder / (masterdata_file::FileNameStamp(clock_.now()) + ".xml"); };
    std::filesystem::path file = fileNow();
    if (!platform::fileExists(file)) return file;
    if (clock_.isFixed()) {
        throw platform::PlatformError(
            kFileAlreadyExists,
            "File already exists: " + file.string() +
                " was written by an earlier run in this minute, and the time is fixed "
                "(TAVIRO_NOW), so this run cannot wait for the next minute.");
    }
    progress_.append("A change file of this minute exists (" + file.string() +
                     "); waiting for the next minute." + std::string(kLineBreak));
    progress_.repaint();
    while (platform::fileExists(file)) {
        const int secondsLeft = 60 - clock_.now().second;
        clock_.sleepFor(std::chrono::milliseconds(std::max(secondsLeft, 1) * 1000));
        progress_.repaint();
        file = fileNow();
    }
    return file;
}

void Synchronizer::showCompanyDone(const CompanyReport& report) {
    progress_.append(std::string(kLineBreak) + labels_.run[LabelTexts::kCompanyDone] +
                     std::string(kLineBreak));
    progress_.append("Company " + std::to_string(report.company) + ": " +
                     std::to_string(report.inserted()) + " inserted, " +
                     std::to_string(report.modified()) + " modified, " +
                     std::to_string(report.deleted()) + " deleted; change file " +
                     report.changeFile.string() + std::string(kLineBreak));
    progress_.repaint();
}

void Synchronizer::createRunLog() {
    // Without the middleware folder there is no log folder, not even a relative one.
    if (folders_.logFolder.empty()) {
        throw platform::PlatformError(platform::failure::kPathNotFound,
                                      "Path not found: the log folder is not known");
    }
    log_.create(folders_.logFolder, masterdata_file::FileNameStamp(clock_.now()));
}

void Synchronizer::findBusAddress(int16_t company) {
    openConnection("Quillmere");
    const db::Value bisId = ReadFirstUserBusId(connections_.server(), company);
    if (!bisId) throw platform::invalidUseOfNull();
    const int32_t bis = ToLong(*bisId);
    connections_.closeServer();
    readBusAddress(std::to_string(bis));
}

void Synchronizer::readBusAddress(const std::string& bisId) {
    openConnection("Pentavy");
    busAddress_ = ReadBusAddress(connections_.server(), bisId);
    connections_.closeServer();
}

void Synchronizer::handleRunFailure(const RunError& error) {
    const std::string number = std::to_string(error.number);
    const std::string& part3 = labels_.run[LabelTexts::kErrorPart3];
    if (error.number == kGeneralFailureNumber) {
        progress_.append(error.source + " " + labels_.run[LabelTexts::kErrorPart1] + "-" +
                         labels_.run[LabelTexts::kErrorPart2] + std::string(kLineBreak));
        progress_.append(part3);
        logEntry(number + " " + error.description + std::string(kLogLineBreak) + part3);
        logEntry("Check whether the Bus Component(LDAP)" + MaskPasswords(busAddress_) +
                 " is Running on the Taviro ERP Server Else start the Bus Component on the Server");
    } else {
        progress_.append(error.source + " Error " + part3 + std::string(kLineBreak));
        logEntry(number + " " + error.description);
    }
}

// Names the company and the log file, which the error texts above do not.
void Synchronizer::showWhereTheRunStopped(const RunReport& report) {
    std::string where = "before the first company";
    if (!report.companies.empty()) {
        const CompanyReport& last = report.companies.back();
        where = (last.changeFile.empty() ? "at company " : "after company ") +
                std::to_string(last.company) + " (folder " + last.folder + ")";
    }
    // The general failure's texts end without a line break.
    const bool lineOpen = report.error && report.error->number == kGeneralFailureNumber;
    progress_.append((lineOpen ? std::string(kLineBreak) : std::string()) + "The run stopped " +
                     where + "; " + logFileForOperator() + std::string(kLineBreak));
}

std::string Synchronizer::logFileForOperator() const {
    if (!log_.isOpen()) return "no log file could be written";
    return "the log file is " + root_.map(log_.path()).string();
}

void Synchronizer::logEntry(const std::string& entry) {
    try {
        writeLog(entry);
    } catch (...) {
        recordLogFailure(DescribeCurrentException());
    }
}

void Synchronizer::recordLogFailure(const RunError& error) {
    if (!logFailure_) logFailure_ = error;
}

}  // namespace brindlemoor
