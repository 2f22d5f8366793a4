#pragma once
// One master-data table of the server database as a transfer changes it: the row of a key,
// and inserting, updating and deleting rows, each through a statement prepared once per
// transfer. Keys and values are bound, never spliced into the text.
//
// A transfer reads the rows of the keys it is about to change in batches, one statement for many
// keys, and keeps them up to date with what it writes itself; a change then costs its write
// alone instead of a look-up and a write (on a server database across the network, a round trip
// each). Keys compare as texts, byte for byte, as the text columns of the shipped schema do.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/db/database.h"
#include "sync/core/transfer_particulars.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

// A key: the values of a table's key columns, in order (COMP apart).
using RowKey = std::vector<std::string>;

// One row of a server table: its values in the order of the table's columns.
class ServerRow {
  public:
    ServerRow(std::shared_ptr<const std::vector<std::string>> columns,
              std::vector<platform::db::Value> values)
        : columns_(std::move(columns)), values_(std::move(values)) {}

    // By column name without regard to case; throws kDatabase ("item not found") for a column
    // the table does not have.
    const platform::db::Value& value(std::string_view column) const;
    // By position; NULL beyond the last column.
    const platform::db::Value& at(size_t position) const;
    void set(std::string_view column, platform::db::Value value);

  private:
    std::shared_ptr<const std::vector<std::string>> columns_;
    std::vector<platform::db::Value> values_;
};

// The rows of one table by company and key, read in batches and remembered until the next
// batch. Failures are the database's (PlatformError).
class KeyedRows {
  public:
    // The keys one statement reads.
    static constexpr size_t kBatchSize = 256;

    KeyedRows(platform::db::Connection& connection, std::string_view table,
              std::vector<std::string_view> keyColumns);

    // Forgets every row it knew and reads the rows of `keys`. A key without a row is known to
    // have none.
    void load(const std::string& company, const std::vector<RowKey>& keys);
    // The first row of the key; nullptr when the table has none. A key that was not loaded is
    // read on its own.
    const ServerRow* find(const std::string& company, const RowKey& key);

    // What the caller wrote: the key's row now holds `values` in the named columns (a new row
    // has COMP, the key and NULL elsewhere), or it has none.
    void rememberWritten(const std::string& company, const RowKey& key,
                         const std::vector<std::string_view>& columns,
                         const std::vector<platform::db::Value>& values, bool newRow);
    void rememberDeleted(const std::string& company, const RowKey& key);

  private:
    void remember(const platform::db::Recordset& rows, const std::string& company);
    std::string mapKey(const std::string& company, const RowKey& key) const;

    std::vector<std::string> keyColumns_;
    std::unique_ptr<platform::db::Statement> single_;
    std::unique_ptr<platform::db::Statement> batch_;
    std::shared_ptr<const std::vector<std::string>> columns_;  // known after the first read
    std::unordered_map<std::string, std::optional<ServerRow>> known_;
};

class ServerTable {
  public:
    ServerTable(platform::db::Connection& server, const TransferParticulars& transfer);

    // Reads the rows of the keys the next changes will look up (KeyedRows::load).
    void load(const std::string& company, const std::vector<RowKey>& keys) {
        rows_.load(company, keys);
    }
    // The server row of the key (COMP, then the key columns); nullptr when the server has none.
    const ServerRow* find(const std::string& company, const RowKey& key) {
        return rows_.find(company, key);
    }

    // A new row: COMP, the key, then the transfer's columns in order.
    void insert(const std::string& company, const RowKey& key,
                const std::vector<platform::db::Value>& values);
    // Sets the transfer's columns of the key's row.
    void update(const std::string& company, const RowKey& key,
                const std::vector<platform::db::Value>& values);
    void remove(const std::string& company, const RowKey& key);

  private:
    void bindKey(platform::db::Statement& statement, size_t first, const std::string& company,
                 const RowKey& key);

    std::vector<std::string_view> columns_;
    KeyedRows rows_;
    std::unique_ptr<platform::db::Statement> insert_;
    std::unique_ptr<platform::db::Statement> update_;
    std::unique_ptr<platform::db::Statement> delete_;
};

// A change that is not a deletion modifies the server's row when there is one, else inserts it.
erp::ChangeKind RowStatus(bool serverHasRow);

// The service center a configuration's row holds: its sixth column (CWOC), read by position;
// empty when there is no row.
std::string ServiceCenterOf(const ServerRow* configuration);

// The service centers the server database holds for configurations, for the objects' transfer
// (CONFIGURATIONS does not change while it runs).
class ConfigurationServiceCenters {
  public:
    explicit ConfigurationServiceCenters(platform::db::Connection& server);
    void load(const std::string& company, const std::vector<RowKey>& configurations) {
        configurations_.load(company, configurations);
    }
    std::string serviceCenterOf(const std::string& configuration, const std::string& company) {
        return ServiceCenterOf(configurations_.find(company, {configuration}));
    }

  private:
    KeyedRows configurations_;
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
