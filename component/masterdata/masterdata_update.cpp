#include "component/masterdata/masterdata_update.h"

#include <optional>

#include "component/core/component_key.h"
#include "component/core/install_paths.h"
#include "component/core/log.h"
#include "component/masterdata/local_database.h"
#include "component/masterdata/table_rows_writer.h"
#include "platform/db/database.h"
#include "platform/text_file.h"
#include "shared/masterdata_file/change_file_reader.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

// The connection of one table: the data source with an empty user and password.
constexpr std::string_view kTableConnection = "DSN=Quillmere Master Data;UID=;PWD=";

// What the log receives for the tables of one VOMasterData element. It is written only while
// the log exists (start-up creates it), so reporting can never change the method's result.
class SynchronizeLog {
  public:
    explicit SynchronizeLog(Session& session)
        : session_(session), enabled_(platform::fileExists(session.path(paths::kLogFile))) {}

    void beginAction() {
        if (enabled_) LogAction(session_, kSynchronizeAction);
    }

    void beginChangeSet(xml::Node changeSet) {
        successes_ = failures_ = 0;
        if (!enabled_) return;
        LogLine(session_, "VOMasterData COMP = " + attribute(changeSet, "COMP") +
                              "  TIME = " + attribute(changeSet, "TIME"));
    }

    void table(std::string_view table, const TableOutcome& outcome) {
        const bool ok = outcome.applied();
        ++(ok ? successes_ : failures_);
        if (!enabled_) return;
        if (ok) {
            LogLine(session_, "Successful in Table - " + std::string(table));
            return;
        }
        LogLine(session_,
                "Failed in Table - " + std::string(table) + "     Reason : " + outcome.logText());
        if (!outcome.reason.empty()) LogDetail(session_, kErrorLabel, outcome.reason);
    }

    void endChangeSet() {
        if (!enabled_) return;
        LogLine(session_, "Successful Tables = " + std::to_string(successes_) +
                              "  Failed Tables = " + std::to_string(failures_));
    }

    void failed(std::string_view error) {
        if (enabled_) LogDetail(session_, kErrorLabel, error);
    }

  private:
    static std::string attribute(xml::Node node, std::string_view name) {
        return xml::attribute(node, name).value_or("");
    }

    Session& session_;
    bool enabled_;
    int successes_ = 0;
    int failures_ = 0;
};

TableOutcome applyTable(Session& session, xml::Node changeSet, std::string_view table,
                        const std::string& currentName) {
    auto connection = platform::db::connect(kTableConnection, session.root);
    const std::string company = masterdata_file::companyOf(changeSet);
    const xml::Node tableElement = masterdata_file::findTableElement(changeSet, table, currentName);
    TableOutcome outcome;
    if (!tableElement) return outcome;
    TableRowsWriter writer(*connection, table, company);
    const TableWriteResult written = writer.write(tableElement);
    outcome.rowsApplied = written.rowsApplied;
    if (!written.complete) {
        outcome.status = TableOutcome::Status::InvalidDataOperation;
        outcome.reason = written.failure;
    }
    return outcome;
}

}  // namespace

std::string TableOutcome::logText() const {
    switch (status) {
        case Status::Applied:
            return std::string(kTableApplied);
        case Status::DatabaseMissing:
            return databasePath + std::string(kDoesNotExist);
        case Status::InvalidDataOperation:
            return std::string(kInvalidDataOperation);
    }
    return {};
}

const std::vector<std::string_view>& FillMasterDataTableList() {
    static const std::vector<std::string_view> tables = {
        "HOURLYLABORTYPE", "REFERENCEACTIVITIES", "SERVICEAREAS", "SERVICECAR", "SERVICECENTERS",
        "SERVICEITEMS",    "SERVICEKITS",         "SERVICETYPES", "TASKS",      "ADDRESSES",
        "CONTACTS",        "COSTCOMPONENTS",      "PRIORITIES",   "REASONS",    "UNITS",
        "WAREHOUSES",      "CONFIGURATIONS",      "OBJECTS",      "PROBLEMS",   "SOLUTIONS",
    };
    return tables;
}

TableOutcome ApplyMasterDataTable(Session& session, xml::Node changeSet, std::string_view table) {
    try {
        const std::string currentName = ReadRegistryValue(session, "Currentmdb");
        const std::string path = MasterDataFilePath(currentName);
        if (!platform::fileExists(session.path(path))) {
            TableOutcome missing;
            missing.status = TableOutcome::Status::DatabaseMissing;
            missing.databasePath = path;
            return missing;
        }
        return applyTable(session, changeSet, table, currentName);
    } catch (const std::exception& error) {
        TableOutcome failed;
        failed.status = TableOutcome::Status::InvalidDataOperation;
        failed.reason = error.what();
        return failed;
    }
}

std::string Synchronize_MasterData(Session& session, const std::string& iXML) {
    xml::Document whole;
    if (!whole.parse(iXML)) return std::string(kSynchronizeInvalidXml);
    std::optional<SynchronizeLog> log;
    try {
        const std::vector<xml::Node> changeSets = masterdata_file::findChangeSets(whole.node());
        if (changeSets.empty()) return std::string(kSynchronizeSuccessful);
        log.emplace(session);
        log->beginAction();
        for (xml::Node changeSet : changeSets) {
            log->beginChangeSet(changeSet);
            for (std::string_view table : FillMasterDataTableList())
                log->table(table, ApplyMasterDataTable(session, changeSet, table));
            log->endChangeSet();
        }
    } catch (const std::exception& error) {
        // What failed outside the tables is told in the log, when it can still be written.
        if (log) log->failed(error.what());
        return std::string(kSynchronizeFailed);
    }
    return std::string(kSynchronizeSuccessful);
}

}  // namespace quillmere
