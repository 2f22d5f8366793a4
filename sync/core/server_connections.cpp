#include "sync/core/server_connections.h"

#include "platform/failure.h"

namespace brindlemoor {

namespace {
constexpr int kServerApplication = 11;
constexpr int kSiblingApplication = 8;
constexpr int kLorrimacApplication = 2;
}  // namespace

void ServerConnections::open(std::string_view database) {
    std::unique_ptr<erp::Datasource> created = erp::createDatasource(root_);
    if (!datasource_) datasource_ = std::move(created);
    if (database == "Quillmere" || database == "Pentavy") {
        closeServer();
        const std::string connectionString = datasource_->GetConnectionString(
            database == "Quillmere" ? kServerApplication : kSiblingApplication);
        server_ = connect(connectionString);
        serverConnectionString_ = connectionString;
    } else if (database == "Lorrimac") {
        lorrimac_.reset();
        lorrimac_ = connect(datasource_->GetConnectionString(kLorrimacApplication));
    }
}

std::unique_ptr<platform::db::Connection> ServerConnections::connect(
    const std::string& connectionString) {
    const auto idle = idle_.find(connectionString);
    if (idle == idle_.end()) return platform::db::connect(connectionString, root_);
    std::unique_ptr<platform::db::Connection> connection = std::move(idle->second);
    idle_.erase(idle);
    return connection;
}

void ServerConnections::closeServer() {
    if (server_) idle_[serverConnectionString_] = std::move(server_);
}

void ServerConnections::release() {
    server_.reset();
    lorrimac_.reset();
    idle_.clear();
    datasource_.reset();
}

platform::db::Connection& ServerConnections::server() {
    if (!server_) throw platform::objectNotSet();
    return *server_;
}

erp::Datasource& ServerConnections::datasource() {
    if (!datasource_) datasource_ = erp::createDatasource(root_);
    return *datasource_;
}

}  // namespace brindlemoor
