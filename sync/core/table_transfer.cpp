#include "sync/core/table_transfer.h"

#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "platform/failure.h"
#include "platform/text.h"
#include "shared/masterdata_file/table_set.h"
#include "sync/core/basic_conversions.h"
#include "sync/core/server_table.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

namespace db = platform::db;
namespace xml = platform::xml;

std::optional<erp::ChangeKind> MapChangeKind(int16_t kind) {
    switch (static_cast<erp::ChangeKind>(kind)) {
        case erp::ChangeKind::Deleted:
        case erp::ChangeKind::Modified:
        case erp::ChangeKind::Inserted:
            return static_cast<erp::ChangeKind>(kind);
    }
    return std::nullopt;
}

std::string_view StatusLetter(erp::ChangeKind kind) {
    switch (kind) {
        case erp::ChangeKind::Deleted:
            return "D";
        case erp::ChangeKind::Modified:
            return "M";
        case erp::ChangeKind::Inserted:
            return "I";
    }
    return "";
}

namespace {

erp::Value boundValue(std::string_view bound, bool numeric) {
    return numeric ? erp::Value::number(std::stoll(std::string(bound)))
                   : erp::Value::text(std::string(bound));
}

erp::AuditCriteria buildCriteria(const TransferParticulars& transfer, const WindowStart& start) {
    erp::Date date;
    date.setYear(start.year - 1900);
    date.setMonth(start.month - 1);
    date.setDate(start.day);
    date.setHours(start.hour);
    date.setMinutes(start.minute);
    if (transfer.windowSecondsZero) date.setSeconds(0);
    erp::Period period;
    period.setFrom(date);
    erp::AuditCriteria criteria;
    criteria.setPeriod(period);
    for (const KeyParameter& key : transfer.keyParameters) {
        erp::Parameter parameter;
        parameter.setFieldName(key.field);
        parameter.setFrom(boundValue(key.from, key.numeric));
        parameter.setTo(boundValue(key.to, key.numeric));
        criteria.addParameter(parameter);
    }
    for (std::string_view field : transfer.fieldsWithOldValue)
        criteria.addOutputFieldWithOldValue(field);
    for (std::string_view field : transfer.outputFields) criteria.addOutputField(field);
    return criteria;
}

// Keeps what the loop applied, also when a failure ends it: the server changes made before a
// failure stay, as they would without a transaction. A database that ended the transaction on
// the failure (PostgreSQL does after a failed statement) kept none of them; the table's counts
// then say so instead of counting rows that are not there.
class KeepAppliedChanges {
  public:
    KeepAppliedChanges(db::Connection& server, TableOutcome& counts)
        : server_(server), counts_(counts) {
        server_.begin();
    }
    KeepAppliedChanges(const KeepAppliedChanges&) = delete;
    KeepAppliedChanges& operator=(const KeepAppliedChanges&) = delete;
    ~KeepAppliedChanges() {
        if (done_) return;
        try {
            server_.commit();
        } catch (...) {
            // The failure that ended the loop is on its way to the caller.
            counts_ = TableOutcome{counts_.table};
            try {
                server_.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        server_.commit();
        done_ = true;
    }

  private:
    db::Connection& server_;
    TableOutcome& counts_;
    bool done_ = false;
};

class CloseServerAfterLoop {
  public:
    explicit CloseServerAfterLoop(ServerConnections& connections) : connections_(connections) {}
    CloseServerAfterLoop(const CloseServerAfterLoop&) = delete;
    CloseServerAfterLoop& operator=(const CloseServerAfterLoop&) = delete;
    ~CloseServerAfterLoop() { connections_.closeServer(); }

  private:
    ServerConnections& connections_;
};

// The statements of the server database one loop uses.
struct LoopStatements {
    LoopStatements(db::Connection& server, const TransferParticulars& transfer)
        : connection(server), rows(server, transfer), propagation(server, transfer.propagation) {
        if (transfer.split == Split::Objects) serviceCenters.emplace(server);
    }
    db::Connection& connection;
    ServerTable rows;
    std::optional<ConfigurationServiceCenters> serviceCenters;  // the objects' transfer only
    DescriptionPropagation propagation;
};

// How many changes are read ahead, so that the server rows and descriptions they need are read
// together.
constexpr size_t kChangesReadAhead = KeyedRows::kBatchSize;

class Transfer {
  public:
    Transfer(const TransferParticulars& transfer, TransferServices& services, TableOutcome& outcome)
        : transfer_(transfer),
          services_(services),
          company_(std::to_string(services.company)),
          counts_(outcome) {}

    void run();

  private:
    const std::string& caption() const {
        return services_.labels->caption(transfer_.captionPosition);
    }
    const std::string& runLabel(size_t position) const { return services_.labels->run[position]; }
    void applyAll(erp::ChangeStream& changes);
    void readAhead(const std::vector<erp::Change>& changes, LoopStatements& loop);
    void readDescriptionsAhead(const std::vector<erp::Change>& changes, bool rowsRead,
                               LoopStatements& loop);
    void apply(const erp::Change& change, LoopStatements& loop);
    RowKey readKey(const erp::Record& current) const;
    xml::Node tableElementFor(const erp::Record& current, const RowKey& key, LoopStatements& loop);
    xml::Node appendRow(xml::Node table, const RowKey& key);
    std::vector<db::Value> insertedValues(const erp::Record& current, const RowKey& key,
                                          LoopStatements& loop);
    std::vector<db::Value> modifiedValues(const erp::Record& current, const erp::Record* old,
                                          const ServerRow& server, const RowKey& key,
                                          LoopStatements& loop);
    std::vector<db::Value> modifiedServerOnlyValues(const erp::Record& current,
                                                    const ServerRow& server, const RowKey& key,
                                                    LoopStatements& loop);
    std::string enumerationText(const ColumnSource& source, int16_t value, LoopStatements& loop);
    std::string describe(const ColumnSource& source, const std::string& code);
    size_t columnIndex(std::string_view column) const;
    void logCounts();
    void logReplacements();

    const TransferParticulars& transfer_;
    TransferServices& services_;
    const std::string company_;
    TableOutcome& counts_;
    xml::Node tableElement_;
};

void Transfer::run() {
    Progress& progress = *services_.progress;
    if (transfer_.toClients) {
        progress.append(runLabel(LabelTexts::kTableStart) + caption() +
                        std::string(transfer_.dots) + std::string(kLineBreak));
    }
    const erp::AuditCriteria criteria = buildCriteria(transfer_, services_.windowStart);
    if (transfer_.toClients && transfer_.split == Split::None) {
        tableElement_ = services_.changeFile->appendTable(transfer_.table);
    }
    const std::unique_ptr<erp::BusinessObject> object =
        services_.connections->datasource().createBusinessObject(transfer_.table);
    erp::ConnectionContext context;
    context.setAddress(services_.busAddress);
    const std::unique_ptr<erp::ChangeStream> changes = object->query(context, criteria);
    if (!changes->hasMore()) {
        if (transfer_.toClients) {
            progress.append(services_.labels->noChange + " " + caption() + " " +
                            runLabel(LabelTexts::kTableDone) + std::string(kLineBreak));
            progress.repaint();
        }
    } else {
        applyAll(*changes);
        context.close();
        if (transfer_.toClients) {
            progress.append(caption() + " " + runLabel(LabelTexts::kTableDone) +
                            std::string(kLineBreak));
            progress.repaint();
        }
    }
    logCounts();
}

void Transfer::applyAll(erp::ChangeStream& changes) {
    services_.connections->open("Quillmere");
    const CloseServerAfterLoop closeServer(*services_.connections);
    LoopStatements loop(services_.connections->server(), transfer_);
    KeepAppliedChanges transaction(loop.connection, counts_);
    for (;;) {
        // A change the datasource cannot deliver fails only after the changes before it are
        // applied, as it would without reading ahead.
        std::vector<erp::Change> ahead;
        std::exception_ptr failure;
        try {
            while (ahead.size() < kChangesReadAhead && changes.hasMore())
                ahead.push_back(changes.next());
        } catch (...) {
            failure = std::current_exception();
        }
        if (ahead.empty() && !failure) break;
        readAhead(ahead, loop);
        for (const erp::Change& change : ahead) apply(change, loop);
        if (failure) std::rethrow_exception(failure);
    }
    transaction.commit();
}

// Reads the server rows, service centers and descriptions the changes will look up, a batch
// at a time. A read that fails leaves each look-up to read on its own, and so to fail at the
// change it belongs to.
void Transfer::readAhead(const std::vector<erp::Change>& changes, LoopStatements& loop) {
    std::vector<RowKey> keys;
    std::vector<RowKey> configurations;
    for (const erp::Change& change : changes) {
        if (!change.currentValues) continue;
        const RowKey key = readKey(*change.currentValues);
        configurations.push_back({key[0]});
        if (MapChangeKind(change.kind) != erp::ChangeKind::Deleted) keys.push_back(key);
    }
    bool rowsRead = true;
    try {
        loop.rows.load(company_, keys);
        if (loop.serviceCenters) loop.serviceCenters->load(company_, configurations);
    } catch (const platform::PlatformError&) {
        rowsRead = false;
        loop.rows.load(company_, {});
        if (loop.serviceCenters) loop.serviceCenters->load(company_, {});
    }
    readDescriptionsAhead(changes, rowsRead, loop);
}

// The codes a change may need the description of: its own key, the code the ERP delivers
// (as delivered and trimmed) and the code the server row holds.
void Transfer::readDescriptionsAhead(const std::vector<erp::Change>& changes, bool rowsRead,
                                     LoopStatements& loop) {
    services_.descriptions->forget();
    for (const ColumnSource& source : transfer_.columns) {
        if (source.kind != ColumnSource::Kind::Lookup) continue;
        std::vector<std::string> codes;
        for (const erp::Change& change : changes) {
            if (!change.currentValues || MapChangeKind(change.kind) == erp::ChangeKind::Deleted)
                continue;
            const RowKey key = readKey(*change.currentValues);
            if (source.codeColumn.empty()) {
                codes.push_back(key[0]);
                continue;
            }
            const ColumnSource& code = transfer_.columns[columnIndex(source.codeColumn)];
            if (code.kind == ColumnSource::Kind::Member) {
                const std::string delivered = change.currentValues->get(code.member).asText();
                codes.push_back(std::string(platform::trimBlanks(delivered)));
                codes.push_back(delivered);
            }
            if (const ServerRow* row = rowsRead ? loop.rows.find(company_, key) : nullptr) {
                codes.push_back(row->value(source.codeColumn).value_or(std::string()));
            }
        }
        services_.descriptions->prefetch(source.lookupTable, source.lookupKeyColumn, codes,
                                         company_);
    }
}

void Transfer::apply(const erp::Change& change, LoopStatements& loop) {
    if (!change.currentValues) {
        throw erp::DatasourceError(platform::failure::kObjectNotSet,
                                   "The change carries no current values");
    }
    const erp::Record& current = *change.currentValues;
    const std::optional<erp::ChangeKind> reported = MapChangeKind(change.kind);
    const RowKey key = readKey(current);

    xml::Node row;
    if (transfer_.toClients) row = appendRow(tableElementFor(current, key, loop), key);

    // Whether the server already has the key decides between insert and modify, not the
    // ERP's own word for the change (nor an unknown kind, which is no deletion either).
    erp::ChangeKind kind = erp::ChangeKind::Deleted;
    const ServerRow* serverRow = nullptr;
    if (reported != erp::ChangeKind::Deleted) {
        serverRow = loop.rows.find(company_, key);
        kind = RowStatus(serverRow != nullptr);
    }
    if (row) services_.changeFile->setStatus(row, StatusLetter(kind));

    const erp::Record* old = reported == erp::ChangeKind::Modified && change.oldValues
                                 ? change.oldValues.get()
                                 : nullptr;
    std::vector<db::Value> values(transfer_.columns.size(), std::string());
    if (kind == erp::ChangeKind::Deleted) {
        loop.rows.remove(company_, key);
        ++counts_.deleted;
    } else if (kind == erp::ChangeKind::Modified) {
        values = transfer_.toClients ? modifiedValues(current, old, *serverRow, key, loop)
                                     : modifiedServerOnlyValues(current, *serverRow, key, loop);
        ++counts_.modified;
    } else {
        values = insertedValues(current, key, loop);
        loop.rows.insert(company_, key, values);
        ++counts_.inserted;
    }
    if (!row) return;
    for (size_t i = 0; i < transfer_.columns.size(); ++i) {
        services_.changeFile->appendColumn(
            row, transfer_.columns[i].column,
            kind == erp::ChangeKind::Deleted ? std::string() : values[i].value_or(std::string()));
    }
    logReplacements();
}

// The server keeps what the ERP delivered; only the change file carries U+FFFD instead of
// what XML cannot carry, and the log says where.
void Transfer::logReplacements() {
    for (const masterdata_file::Replacement& replaced : services_.changeFile->takeReplacements()) {
        services_.log->append(replaced.table + ": characters that XML cannot carry in " +
                              replaced.column + " of key " + replaced.key +
                              " were written as U+FFFD to the change file");
    }
}

RowKey Transfer::readKey(const erp::Record& current) const {
    RowKey key;
    for (std::string_view member : transfer_.keyMembers)
        key.push_back(current.get(member).asText());
    if (transfer_.itemKey) key[0] = std::string(masterdata_file::kItemCodePrefix) + key[0];
    return key;
}

xml::Node Transfer::tableElementFor(const erp::Record& current, const RowKey& key,
                                    LoopStatements& loop) {
    std::string serviceCenter;
    switch (transfer_.split) {
        case Split::None:
            return tableElement_;
        case Split::Configurations:
            serviceCenter =
                platform::trimBlanks(current.get(transfer_.serviceCenterMember).asText());
            // The configuration's own row, as the server holds it before this change.
            if (serviceCenter.empty())
                serviceCenter = ServiceCenterOf(loop.rows.find(company_, key));
            break;
        case Split::Objects:
            serviceCenter = loop.serviceCenters->serviceCenterOf(key[0], company_);
            break;
    }
    return services_.changeFile->serviceCenterTable(transfer_.table, serviceCenter);
}

xml::Node Transfer::appendRow(xml::Node table, const RowKey& key) {
    const masterdata_file::TableLayout* layout = masterdata_file::findClientTable(transfer_.table);
    if (layout == nullptr) {
        throw platform::PlatformError(platform::failure::kGeneral,
                                      "No change-file layout for " + std::string(transfer_.table));
    }
    std::vector<std::pair<std::string_view, std::string_view>> attributes;
    if (key.size() == 1) {
        attributes.emplace_back("ID", key[0]);
    } else {
        for (size_t i = 0; i < key.size(); ++i)
            attributes.emplace_back(transfer_.keyColumns[i], key[i]);
    }
    return services_.changeFile->appendRow(table, layout->keyColumn, attributes);
}

size_t Transfer::columnIndex(std::string_view column) const {
    for (size_t i = 0; i < transfer_.columns.size(); ++i) {
        if (transfer_.columns[i].column == column) return i;
    }
    throw platform::PlatformError(
        platform::failure::kGeneral,
        "No column " + std::string(column) + " in " + std::string(transfer_.table));
}

std::string Transfer::enumerationText(const ColumnSource& source, int16_t value,
                                      LoopStatements& loop) {
    return services_.enumerations->text(source.enumeration, value, loop.connection);
}

std::string Transfer::describe(const ColumnSource& source, const std::string& code) {
    if (source.onlyForCode && code.empty()) return {};
    return services_.descriptions->lookUp(source.lookupTable, source.lookupKeyColumn, code,
                                          company_);
}

std::vector<db::Value> Transfer::insertedValues(const erp::Record& current, const RowKey& key,
                                                LoopStatements& loop) {
    std::vector<db::Value> values(transfer_.columns.size());
    for (size_t i = 0; i < transfer_.columns.size(); ++i) {
        const ColumnSource& source = transfer_.columns[i];
        switch (source.kind) {
            case ColumnSource::Kind::Member:
                values[i] = current.get(source.member).asText();
                break;
            case ColumnSource::Kind::Enumeration:
                values[i] = enumerationText(source, ToInteger(current.get(source.member)), loop);
                break;
            case ColumnSource::Kind::Lookup: {
                const std::string code = source.codeColumn.empty()
                                             ? key[0]
                                             : values[columnIndex(source.codeColumn)].value_or("");
                values[i] = describe(source, code);
                break;
            }
        }
    }
    return values;
}

// Column by column: a value the ERP changed is written, an enumeration when the ERP gives one
// (not 0); otherwise the server keeps its value, and the change file carries the server's.
// A looked-up description goes with its code: when the code was written, it is the new code's
// description; otherwise the kept code's current description is written when there is one.
std::vector<db::Value> Transfer::modifiedValues(const erp::Record& current, const erp::Record* old,
                                                const ServerRow& server, const RowKey& key,
                                                LoopStatements& loop) {
    const size_t count = transfer_.columns.size();
    std::vector<db::Value> values(count);
    std::vector<bool> written(count, false);
    for (size_t i = 0; i < count; ++i) {
        const ColumnSource& source = transfer_.columns[i];
        const db::Value kept = server.value(source.column);
        switch (source.kind) {
            case ColumnSource::Kind::Member: {
                const std::string now(platform::trimBlanks(current.get(source.member).asText()));
                const std::string before =
                    old ? std::string(platform::trimBlanks(old->get(source.member).asText()))
                        : std::string();
                written[i] = now != before;
                values[i] = written[i] ? db::Value(now) : kept;
                break;
            }
            case ColumnSource::Kind::Enumeration: {
                const int16_t value = ToInteger(current.get(source.member));
                written[i] = value != 0;
                values[i] = written[i] ? db::Value(enumerationText(source, value, loop)) : kept;
                break;
            }
            case ColumnSource::Kind::Lookup: {
                if (source.codeColumn.empty()) {
                    const std::string description = describe(source, key[0]);
                    values[i] = description.empty() ? kept : db::Value(description);
                    break;
                }
                const size_t code = columnIndex(source.codeColumn);
                const std::string description = describe(source, values[code].value_or(""));
                values[i] = written[code] || !description.empty() ? db::Value(description) : kept;
                break;
            }
        }
    }
    loop.rows.update(company_, key, values);
    return values;
}

// A server-only table keeps its one description unless the ERP gives a new one that is not
// empty; a new one also reaches every row that repeats it.
std::vector<db::Value> Transfer::modifiedServerOnlyValues(const erp::Record& current,
                                                          const ServerRow& server,
                                                          const RowKey& key, LoopStatements& loop) {
    const ColumnSource& source = transfer_.columns.at(0);
    const std::string now(platform::trimBlanks(current.get(source.member).asText()));
    std::vector<db::Value> values{now.empty() ? server.value(source.column) : db::Value(now)};
    loop.rows.update(company_, key, values);
    if (!now.empty()) loop.propagation.propagate(key[0], now, company_);
    return values;
}

void Transfer::logCounts() {
    RunLog& log = *services_.log;
    log.append(transfer_.logCaption);
    log.append(std::to_string(counts_.deleted) + " record(s) Deleted, " +
               std::to_string(counts_.modified) + " record(s) Modified, " +
               std::to_string(counts_.inserted) + " Record(s) Inserted, " +
               std::string(kLogLineBreak));
}

}  // namespace

void RunTransfer(const TransferParticulars& transfer, TransferServices& services,
                 TableOutcome& outcome) {
    outcome = TableOutcome{transfer.table};
    Transfer(transfer, services, outcome).run();
}

}  // namespace brindlemoor
