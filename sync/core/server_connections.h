#pragma once
// The synchronizer's database connections, opened by application name the way the middleware
// hands out connection strings: "Quillmere" (the server database, application 11) and
// "Pentavy" (the sibling application's database, application 8) share one connection object;
// "Lorrimac" (application 2) has its own. Every open first creates the datasource component,
// which is also what the table transfers take their business objects from.
#include <memory>
#include <string>
#include <string_view>

#include "platform/db/database.h"
#include "platform/machine_root.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

class ServerConnections {
  public:
    explicit ServerConnections(platform::MachineRoot root) : root_(std::move(root)) {}

    // Opens the connection of an application by name; any other name opens nothing.
    void open(std::string_view database);

    // The open server connection (also the one "Pentavy" opened); object not set when closed.
    platform::db::Connection& server();
    void closeServer() { server_.reset(); }

    // The datasource component, created when none exists yet.
    erp::Datasource& datasource();

    const platform::MachineRoot& root() const { return root_; }

  private:
    platform::MachineRoot root_;
    std::unique_ptr<erp::Datasource> datasource_;
    std::unique_ptr<platform::db::Connection> server_;
    std::unique_ptr<platform::db::Connection> lorrimac_;
};

}  // namespace brindlemoor
