// The window's start-up: folders from the registry, the server connection, the unattended
// setting, the locale and the label texts, and what a failure of any of them leaves behind.
#include "platform/text.h"
#include "sync/core/server_queries.h"
#include "sync/core/synchronizer.h"

namespace brindlemoor {

namespace db = platform::db;

Synchronizer::Synchronizer(platform::MachineRoot root, Progress& progress, RunOptions options)
    : root_(root),
      progress_(progress),
      systemClock_(options.clock ? nullptr : std::make_unique<SystemRunClock>()),
      clock_(options.clock ? *options.clock : *systemClock_),
      lockWait_(options.lockWait),
      log_(root),
      connections_(root) {}

Synchronizer::~Synchronizer() = default;

Synchronizer::StartUpOutcome Synchronizer::startUp() {
    try {
        ReadServerFolders(root_, folders_);
        openConnection("Quillmere");
        readUnattendedSetting();
        locale_ = readDefaultLanguage();
        enumerations_.setLocale(locale_);
        loadLabels();
        connections_.release();
        if (unattended_) return StartUpOutcome::RunUnattended;
        progress_.setText(labels_.run[LabelTexts::kFirstLine] + std::string(kLineBreak));
        progress_.repaint();
        return StartUpOutcome::WaitForOperator;
    } catch (...) {
        connections_.release();
        startUpError_ = DescribeCurrentException();
        handleStartUpFailure(*startUpError_);
        return StartUpOutcome::Failed;
    }
}

void Synchronizer::readUnattendedSetting() {
    unattended_ = platform::toUpper(ReadUnattendedSetting(connections_.server())) == "YES";
}

std::string Synchronizer::readDefaultLanguage() {
    return ReadDefaultLanguage(connections_.server()).value_or(std::string());
}

void Synchronizer::loadLabels() {
    labels_ = ReadLabelTexts(connections_.server(), locale_);
}

void Synchronizer::handleStartUpFailure(const RunError& error) {
    endAfterError_ = true;
    bool canLog = true;
    try {
        createRunLog();
    } catch (...) {
        canLog = false;
        recordLogFailure(DescribeCurrentException());
    }
    auto log = [&](const std::string& entry) {
        if (canLog) logEntry(entry);
    };
    const std::string& part2 = labels_.run[LabelTexts::kErrorPart2];
    const std::string number = std::to_string(error.number);
    if (error.number == kCannotCreateObjectNumber) {
        progress_.append(std::string(kLineBreak) + error.source + " - " + error.description +
                         part2 + std::string(kLineBreak));
        log("Corbelline.dll was not registered on your system");
    } else if (error.number == kGeneralFailureNumber) {
        progress_.append(error.source + " - " + error.description + part2 +
                         std::string(kLineBreak));
        log(number + " - " + error.description + std::string(kLogLineBreak) +
            "Could not Synchronize Master Data - Process Aborted");
    } else {
        progress_.append(error.source + " - " + error.description + part2 +
                         std::string(kLineBreak));
    }
    log(error.source + "  " + number + " " + error.description + " ");
    progress_.append("The start-up failed; " + logFileForOperator() + std::string(kLineBreak));
}

RunReport Synchronizer::startUpReport() const {
    RunReport report;
    report.outcome = RunReport::Outcome::StartUpFailed;
    report.error = startUpError_;
    if (log_.isOpen()) report.logFile = root_.map(log_.path());
    return report;
}

}  // namespace brindlemoor
