#include "sync/core/server_connections.h"

#include "platform/failure.h"

namespace brindlemoor {

namespace {
constexpr int kServerApplication = 11;
constexpr int kSiblingApplication = 8;
constexpr int kLorrimacApplication = 2;
}  // namespace

void ServerConnections::open(std::string_view database) {
    datasource_ = erp::createDatasource(root_);
    if (database == "Quillmere") {
        server_.reset();
        server_ =
            platform::db::connect(datasource_->GetConnectionString(kServerApplication), root_);
    } else if (database == "Pentavy") {
        server_.reset();
        server_ =
            platform::db::connect(datasource_->GetConnectionString(kSiblingApplication), root_);
    } else if (database == "Lorrimac") {
        lorrimac_.reset();
        lorrimac_ =
            platform::db::connect(datasource_->GetConnectionString(kLorrimacApplication), root_);
    }
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
