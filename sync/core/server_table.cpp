#include "sync/core/server_table.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

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

}  // namespace

ServerTable::ServerTable(db::Connection& server, const TransferParticulars& transfer)
    : select_(
          server.prepare("select * from " + std::string(transfer.table) + keyCondition(transfer))),
      insert_(server.prepare(insertText(transfer))),
      update_(server.prepare(updateText(transfer))),
      delete_(
          server.prepare("delete from " + std::string(transfer.table) + keyCondition(transfer))) {}

void ServerTable::bindKey(db::Statement& statement, size_t first, const std::string& company,
                          const std::vector<std::string>& key) {
    statement.bind(first, company);
    for (size_t i = 0; i < key.size(); ++i) statement.bind(first + 1 + i, key[i]);
}

std::optional<db::Recordset> ServerTable::find(const std::string& company,
                                               const std::vector<std::string>& key) {
    bindKey(*select_, 0, company, key);
    db::Recordset found = select_->query();
    if (found.empty()) return std::nullopt;
    return found;
}

void ServerTable::insert(const std::string& company, const std::vector<std::string>& key,
                         const std::vector<db::Value>& values) {
    bindKey(*insert_, 0, company, key);
    for (size_t i = 0; i < values.size(); ++i) insert_->bind(1 + key.size() + i, values[i]);
    insert_->execute();
}

void ServerTable::update(const std::string& company, const std::vector<std::string>& key,
                         const std::vector<db::Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) update_->bind(i, values[i]);
    bindKey(*update_, values.size(), company, key);
    update_->execute();
}

void ServerTable::remove(const std::string& company, const std::vector<std::string>& key) {
    bindKey(*delete_, 0, company, key);
    delete_->execute();
}

erp::ChangeKind RowStatus(bool serverHasRow) {
    return serverHasRow ? erp::ChangeKind::Modified : erp::ChangeKind::Inserted;
}

ConfigurationServiceCenters::ConfigurationServiceCenters(db::Connection& server)
    : select_(server.prepare("select * from CONFIGURATIONS  where COMP=? and CCFG= ?")) {}

std::string ConfigurationServiceCenters::serviceCenterOf(const std::string& configuration,
                                                         const std::string& company) {
    constexpr size_t kServiceCenterPosition = 5;  // COMP, CCFG, DSCA, OFBP, BPDS, CWOC
    select_->bind(0, company);
    select_->bind(1, configuration);
    const db::Recordset found = select_->query();
    if (found.empty() || found.columnCount() <= kServiceCenterPosition) return {};
    return found.row(0)[kServiceCenterPosition].value_or(std::string());
}

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
