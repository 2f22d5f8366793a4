// A run: every company folder below the master-data folder gets its table transfers and its
// change file; a failure ends the run and is shown and logged.
#include "platform/db/database.h"
#include "platform/failure.h"
#include "sync/core/basic_conversions.h"
#include "sync/core/synchronizer.h"
#include "sync/core/table_transfer.h"
#include "sync/core/time_stamp.h"
#include "sync/core/transfer_particulars.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

const std::string kTwentyTwoBlanks(22, ' ');

// The company number of a folder: the number its name starts with, 0 when none.
int32_t companyOfFolder(const std::filesystem::path& folder) {
    return ToLong(NumericValue(folder.filename().string()));
}

int16_t toCompanyParameter(int32_t company) {
    if (company < INT16_MIN || company > INT16_MAX) {
        throw platform::overflow();
    }
    return static_cast<int16_t>(company);
}

}  // namespace

void Synchronizer::exportMasterData() {
    // Label texts may have been edited since the last run of this window.
    enumerations_.setLocale(locale_);
    try {
        // The log comes first, so that a missing master-data folder is logged as well.
        createRunLog();
        const std::vector<std::filesystem::path> companies =
            ListInNameOrder(root_.map(folders_.masterDataFolder), true);
        DescriptionLookup descriptions(root_);
        for (const std::filesystem::path& folder : companies) exportCompany(folder, descriptions);
        writeLog(labels_.run[LabelTexts::kRunComplete]);
    } catch (...) {
        connections_.closeServer();
        handleRunFailure(DescribeCurrentException());
    }
}

void Synchronizer::exportCompany(const std::filesystem::path& folder,
                                 DescriptionLookup& descriptions) {
    const WindowStart windowStart = FindWindowStart(folder);
    const std::filesystem::path changeFilePath = folder / (MakeTimeStamp("FileName") + ".xml");
    const int32_t company = companyOfFolder(folder);
    findBusAddress(toCompanyParameter(company));
    writeLog(kTwentyTwoBlanks + "FOR COMPANY " + std::to_string(company) + kTwentyTwoBlanks);
    if (windowStart.earliest) {
        writeLog(
            "No change file and no master-data database in the company folder: the change "
            "window starts at the earliest time.");
    }

    if (!changeFile_) changeFile_ = std::make_unique<platform::xml::Document>();
    masterdata_file::ChangeFileWriter writer(*changeFile_);
    writer.begin(std::to_string(company), MakeTimeStamp("Attribute"));

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
        TableOutcome outcome;
        RunTransfer(transfer, services, outcome);
    }

    changeFile_->save(changeFilePath);
    progress_.append(std::string(kLineBreak) + labels_.run[LabelTexts::kCompanyDone] +
                     std::string(kLineBreak));
    progress_.repaint();
}

void Synchronizer::createRunLog() {
    // Without the middleware folder there is no log folder, not even a relative one.
    if (folders_.logFolder.empty()) {
        throw platform::PlatformError(platform::failure::kPathNotFound,
                                      "Path not found: the log folder is not known");
    }
    log_.create(folders_.logFolder);
}

void Synchronizer::findBusAddress(int16_t company) {
    openConnection("Quillmere");
    const std::unique_ptr<db::Statement> firstUser = connections_.server().prepare(
        "SELECT  TOP 1 * FROM USERDEFAULTS WHERE COMP =?" + std::string(" order by LOGN"));
    firstUser->bind(0, std::to_string(company));
    const db::Recordset first = firstUser->query();
    const db::Value& bisId = first.value(0, "BISID");
    if (!bisId) throw platform::invalidUseOfNull();
    const int32_t bis = ToLong(*bisId);
    connections_.closeServer();
    readBusAddress(std::to_string(bis));
}

void Synchronizer::readBusAddress(const std::string& bisId) {
    openConnection("Pentavy");
    const std::unique_ptr<db::Statement> properties =
        connections_.server().prepare("SELECT * From BISPROPERTYVALUES Where BISID=?");
    properties->bind(0, bisId);
    const db::Recordset first = properties->query();
    busAddress_ = first.value(0, "VALUE").value_or(std::string());
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
        logEntry("Check whether the Bus Component(LDAP)" + busAddress_ +
                 " is Running on the Taviro ERP Server Else start the Bus Component on the Server");
    } else {
        progress_.append(error.source + " Error " + part3 + std::string(kLineBreak));
        logEntry(number + " " + error.description);
    }
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
