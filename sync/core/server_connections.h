#pragma once
// The synchronizer's database connections, opened by application name the way the middleware
// hands out connection strings: "Quillmere" (the server database, application 11) and
// "Pentavy" (the sibling application's database, application 8) share one connection object;
// "Lorrimac" (application 2) has its own. Every open first creates the datasource component,
// which is also what the table transfers take their business objects from.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/db/database.h"
#include "platform/machine_root.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

// Within a run, a closed connection is kept aside and taken up again by the next open of the
// same connection string, and the datasource component created first stays in use (every open
// still creates one, and fails as that creation fails): a server database across the network
// then costs one connection per run rather than one per table, and an ERP audit database stays
// open once reached. release() ends both at the end of a run.
class ServerConnections {
  public:
    explicit ServerConnections(platform::MachineRoot root) : root_(std::move(root)) {}

    // Opens the connection of an application by name; any other name opens nothing.
    void open(std::string_view database);

    // The open server connection (also the one "Pentavy" opened); object not set when closed.
    platform::db::Connection& server();
    void closeServer();

    // The datasource component, created when none exists yet.
    erp::Datasource& datasource();

    // Closes every connection, kept aside or open, and lets the datasource component go.
    void release();

    const platform::MachineRoot& root() const { return root_; }

  private:
    std::unique_ptr<platform::db::Connection> connect(const std::string& connectionString);

    platform::MachineRoot root_;
    std::unique_ptr<erp::Datasource> datasource_;
    std::unique_ptr<platform::db::Connection> server_;
    std::string serverConnectionString_;
    std::unique_ptr<platform::db::Connection> lorrimac_;
    std::map<std::string, std::unique_ptr<platform::db::Connection>> idle_;
};

}  // namespace brindlemoor
