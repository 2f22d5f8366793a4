#include "sync/core/server_table.h"

#include <algorithm>

#include "platform/failure.h"
#include "platform/text.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

// ADO's wording, as the recordsets say it.
constexpr const char* kItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";

std::string keyCondition(const TransferParticulars& transfer) {
    std::string condition = " where COMP=?";
    for (std::string_view column : transfer.keyColumns) {
        condition += " and ";
        condition += column;
        condition += "=?";
    }
    return condition;
}

std::string insertText(const TransferParticulars& transfer) {
    std::string names = "COMP";
    std::string marks = "?";
    auto add = [&](std::string_view column) {
        names += ", ";
        names += column;
        marks += ", ?";
    };
    for (std::string_view column : transfer.keyColumns) add(column);
    for (const ColumnSource& source : transfer.columns) add(source.column);
    return "insert into " + std::string(transfer.table) + " (" + names + ") values (" + marks + ")";
}

std::string updateText(const TransferParticulars& transfer) {
    std::string assignments;
    for (const ColumnSource& source : transfer.columns) {
        if (!assignments.empty()) assignments += ", ";
        assignments += source.column;
        assignments += "=?";
    }
    return "update " + std::string(transfer.table) + " set " + assignments + keyCondition(transfer);
}

// Binds without a copy: the value must stay as it is until the statement has run.
void bindInPlace(db::Statement& statement, size_t index, const db::Value& value) {
    if (value) {
        statement.bindText(index, *value);
    } else {
        statement.bind(index, value);
    }
}

}  // namespace

const db::Value& ServerRow::value(std::string_view column) const {
    for (size_t i = 0; i < columns_->size(); ++i) {
        if (platform::equalsIgnoreCase((*columns_)[i], column)) return at(i);
    }
    throw platform::PlatformError(platform::failure::kDatabase, kItemNotFound);
}

const db::Value& ServerRow::at(size_t position) const {
    static const db::Value null;
    return position < values_.size() ? values_[position] : null;
}

void ServerRow::set(std::string_view column, db::Value value) {
    for (size_t i = 0; i < columns_->size(); ++i) {
        if (platform::equalsIgnoreCase((*columns_)[i], column)) {
            values_.at(i) = std::move(value);
            return;
        }
    }
}

KeyedRows::KeyedRows(db::Connection& connection, std::string_view table,
                     std::vector<std::string_view> keyColumns)
    : keyColumns_(keyColumns.begin(), keyColumns.end()) {
    std::string single = "select * from " + std::string(table) + " where COMP=?";
    for (const std::string& column : keyColumns_) single += " and " + column + "=?";
    single_ = connection.prepare(single);
    // The first key column alone narrows a batch through the table's index; the rows that
    // match a key fully are picked out here.
    std::string batch =
        "select * from " + std::string(table) + " where COMP=? and " + keyColumns_.at(0) + " in (?";
    for (size_t i = 1; i < kBatchSize; ++i) batch += ", ?";
    batch_ = connection.prepareReplanned(batch + ")");
}

std::string KeyedRows::mapKey(const std::string& company, const RowKey& key) const {
    // Lengths first, so that no text of one part can pass for a boundary.
    size_t size = company.size() + 4;
    for (const std::string& part : key) size += part.size() + 4;
    std::string text;
    text.reserve(size);
    auto add = [&text](const std::string& part) {
        text += std::to_string(part.size());
        text += ':';
        text += part;
    };
    add(company);
    for (const std::string& part : key) add(part);
    return text;
}

void KeyedRows::remember(const db::Recordset& rows, const std::string& company) {
    if (!columns_) columns_ = std::make_shared<const std::vector<std::string>>(rows.columns());
    std::vector<size_t> keyPositions;
    for (const std::string& column : keyColumns_) {
        const std::optional<size_t> position = rows.columnIndex(column);
        if (!position) throw platform::PlatformError(platform::failure::kDatabase, kItemNotFound);
        keyPositions.push_back(*position);
    }
    for (size_t r = 0; r < rows.rowCount(); ++r) {
        RowKey key;
        for (size_t position : keyPositions) {
            // A NULL key column equals no key, as it does in the statement of a single key.
            if (!rows.row(r)[position]) break;
            key.push_back(*rows.row(r)[position]);
        }
        if (key.size() != keyPositions.size()) continue;
        std::optional<ServerRow>& known = known_[mapKey(company, key)];
        if (!known) known.emplace(columns_, rows.row(r));  // the first row of a key counts
    }
}

void KeyedRows::load(const std::string& company, const std::vector<RowKey>& keys) {
    known_.clear();
    std::vector<std::string> firsts;
    for (const RowKey& key : keys) {
        known_.try_emplace(mapKey(company, key));  // none, unless a row turns up
        firsts.push_back(key.at(0));
    }
    std::sort(firsts.begin(), firsts.end());
    firsts.erase(std::unique(firsts.begin(), firsts.end()), firsts.end());
    for (size_t first = 0; first < firsts.size(); first += kBatchSize) {
        batch_->bindText(0, company);
        for (size_t i = 0; i < kBatchSize; ++i) {
            // A short last batch repeats its last value.
            batch_->bindText(1 + i, firsts[std::min(first + i, firsts.size() - 1)]);
        }
        remember(batch_->query(), company);
    }
}

const ServerRow* KeyedRows::find(const std::string& company, const RowKey& key) {
    const std::string mapped = mapKey(company, key);
    auto found = known_.find(mapped);
    if (found == known_.end()) {
        single_->bindText(0, company);
        for (size_t i = 0; i < key.size(); ++i) single_->bindText(1 + i, key[i]);
        const db::Recordset rows = single_->query();
        if (!columns_) columns_ = std::make_shared<const std::vector<std::string>>(rows.columns());
        found = known_.try_emplace(mapped).first;
        if (!rows.empty()) found->second.emplace(columns_, rows.row(0));
    }
    return found->second ? &*found->second : nullptr;
}

void KeyedRows::rememberWritten(const std::string& company, const RowKey& key,
                                const std::vector<std::string_view>& columns,
                                const std::vector<db::Value>& values, bool newRow) {
    auto known = known_.find(mapKey(company, key));
    if (!columns_ || known == known_.end() || newRow == known->second.has_value()) {
        // Nothing to build on: the next look-up reads the row.
        if (known != known_.end()) known_.erase(known);
        return;
    }
    if (newRow) {
        known->second.emplace(columns_, std::vector<db::Value>(columns_->size()));
        known->second->set("COMP", company);
        for (size_t i = 0; i < keyColumns_.size(); ++i) known->second->set(keyColumns_[i], key[i]);
    }
    for (size_t i = 0; i < columns.size(); ++i) known->second->set(columns[i], values[i]);
}

void KeyedRows::rememberDeleted(const std::string& company, const RowKey& key) {
    known_[mapKey(company, key)].reset();
}

ServerTable::ServerTable(db::Connection& server, const TransferParticulars& transfer)
    : rows_(server, transfer.table, transfer.keyColumns),
      insert_(server.prepare(insertText(transfer))),
      update_(server.prepare(updateText(transfer))),
      delete_(
          server.prepare("delete from " + std::string(transfer.table) + keyCondition(transfer))) {
    for (const ColumnSource& source : transfer.columns) columns_.push_back(source.column);
}

void ServerTable::bindKey(db::Statement& statement, size_t first, const std::string& company,
                          const RowKey& key) {
    statement.bindText(first, company);
    for (size_t i = 0; i < key.size(); ++i) statement.bindText(first + 1 + i, key[i]);
}

void ServerTable::insert(const std::string& company, const RowKey& key,
                         const std::vector<db::Value>& values) {
    bindKey(*insert_, 0, company, key);
    for (size_t i = 0; i < values.size(); ++i) bindInPlace(*insert_, 1 + key.size() + i, values[i]);
    insert_->execute();
    rows_.rememberWritten(company, key, columns_, values, true);
}

void ServerTable::update(const std::string& company, const RowKey& key,
                         const std::vector<db::Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) bindInPlace(*update_, i, values[i]);
    bindKey(*update_, values.size(), company, key);
    update_->execute();
    rows_.rememberWritten(company, key, columns_, values, false);
}

void ServerTable::remove(const std::string& company, const RowKey& key) {
    bindKey(*delete_, 0, company, key);
    delete_->execute();
    rows_.rememberDeleted(company, key);
}

erp::ChangeKind RowStatus(bool serverHasRow) {
    return serverHasRow ? erp::ChangeKind::Modified : erp::ChangeKind::Inserted;
}

std::string ServiceCenterOf(const ServerRow* configuration) {
    constexpr size_t kServiceCenterPosition = 5;  // COMP, CCFG, DSCA, OFBP, BPDS, CWOC
    if (configuration == nullptr) return {};
    return configuration->at(kServiceCenterPosition).value_or(std::string());
}

ConfigurationServiceCenters::ConfigurationServiceCenters(db::Connection& server)
    : configurations_(server, "CONFIGURATIONS", {"CCFG"}) {}

DescriptionPropagation::DescriptionPropagation(db::Connection& server, Propagation propagation) {
    auto add = [&](std::string_view table, std::string_view column, std::string_view codeColumn) {
        updates_.push_back(server.prepare("update " + std::string(table) + " set " +
                                          std::string(column) + "=? where COMP=?" + " and " +
                                          std::string(codeColumn) + " = ?"));
    };
    switch (propagation) {
        case Propagation::None:
            break;
        case Propagation::BusinessPartnerName:  // PropagateBusinessPartnerName
            add("CONFIGURATIONS", "BPDS", "OFBP");
            break;
        case Propagation::DepartmentDescription:  // PropagateDepartmentDescription
            add("CONFIGURATIONS", "DCWC", "CWOC");
            add("SERVICECENTERS", "dsca", "CWOC");
            break;
        case Propagation::LaborRateDescription:  // PropagateLaborRateDescription
            add("TASKS", "DLRT", "CLRT");
            add("SERVICECENTERS", "DLRT", "CLRT");
            break;
        case Propagation::ItemDescription:  // PropagateItemDescription
            add("SERVICEITEMS", "dsca", "ITEM");
            break;
    }
}

void DescriptionPropagation::propagate(const std::string& code, const std::string& text,
                                       const std::string& company) {
    for (const auto& update : updates_) {
        update->bind(0, text);
        update->bind(1, company);
        update->bind(2, code);
        update->execute();
    }
}

}  // namespace brindlemoor
