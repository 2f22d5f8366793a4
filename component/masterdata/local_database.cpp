#include "component/masterdata/local_database.h"

#include "component/core/component_key.h"
#include "component/core/install_paths.h"
#include "component/masterdata/data_source.h"
#include "platform/failure.h"

namespace quillmere {

using platform::Hive;

std::string MasterDataFilePath(std::string_view name) {
    std::string path(paths::kMasterDataFolder);
    path += "\\";
    path += name;
    path += ".mdb";
    return path;
}

Variant OpenDataBase(Session& session) {
    // Released first, so a failed open leaves no connection to the previous file behind.
    session.state.masterData.reset();
    session.state.masterData = platform::db::connect(kMasterDataConnection, session.root);
    return {};
}

Variant CloseDataBase(Session& session) {
    session.state.masterData.reset();
    return {};
}

platform::db::Connection& SharedMasterDataConnection(Session& session) {
    if (!session.state.masterData)
        throw platform::PlatformError(platform::failure::kDatabase,
                                      "Operation is not allowed when the object is closed.");
    return *session.state.masterData;
}

Variant SetCurrentmdb(Session& session, const std::string& iFName) {
    SetExistingComponentValue(session, "Currentmdb", iFName);
    return {};
}

Variant SetODBCDataBase(Session& session, const std::string& iName) {
    auto dbq = session.registry.valueExact(Hive::LocalMachine, kMasterDataSourceKey, "DBQ");
    if (!dbq) return {};
    dbq->type = platform::ValueType::String;
    dbq->text = std::string(paths::kMasterDataFolder) + "\\" + iName;
    session.registry.setValue(Hive::LocalMachine, kMasterDataSourceKey, *dbq);
    return {};
}

}  // namespace quillmere
