#pragma once
// One master-data table of the server database as a transfer changes it: the row of a key,
// and inserting, updating and deleting rows, each through a statement prepared once per
// transfer. Keys and values are bound, never spliced into the text.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "sync/core/transfer_particulars.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

class ServerTable {
  public:
    ServerTable(platform::db::Connection& server, const TransferParticulars& transfer);

    // The server row of the key (COMP, then the key columns), with its columns by name;
    // nullopt when the server has none.
    std::optional<platform::db::Recordset> find(const std::string& company,
                                                const std::vector<std::string>& key);

    // A new row: COMP, the key, then the transfer's columns in order.
    void insert(const std::string& company, const std::vector<std::string>& key,
                const std::vector<platform::db::Value>& values);
    // Sets the transfer's columns of the key's row.
    void update(const std::string& company, const std::vector<std::string>& key,
                const std::vector<platform::db::Value>& values);
    void remove(const std::string& company, const std::vector<std::string>& key);

  private:
    void bindKey(platform::db::Statement& statement, size_t first, const std::string& company,
                 const std::vector<std::string>& key);

    std::unique_ptr<platform::db::Statement> select_;
    std::unique_ptr<platform::db::Statement> insert_;
    std::unique_ptr<platform::db::Statement> update_;
    std::unique_ptr<platform::db::Statement> delete_;
};

// A change that is not a deletion modifies the server's row when there is one, else inserts it.
erp::ChangeKind RowStatus(bool serverHasRow);

// The service center the server database holds for a configuration: the sixth column (CWOC)
// of its CONFIGURATIONS row, read by position; empty when there is none.
class ConfigurationServiceCenters {
  public:
    explicit ConfigurationServiceCenters(platform::db::Connection& server);
    std::string serviceCenterOf(const std::string& configuration, const std::string& company);

  private:
    std::unique_ptr<platform::db::Statement> select_;
};

// The four propagations of a changed description into the rows that repeat it.
class DescriptionPropagation {
  public:
    DescriptionPropagation(platform::db::Connection& server, Propagation propagation);
    void propagate(const std::string& code, const std::string& text, const std::string& company);

  private:
    std::vector<std::unique_ptr<platform::db::Statement>> updates_;
};

}  // namespace brindlemoor
