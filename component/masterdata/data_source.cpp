#include "component/masterdata/data_source.h"

#include <string>
#include <vector>

#include "component/core/install_paths.h"

namespace quillmere {

using platform::Hive;
using platform::RegistryValue;

namespace {

std::string databasePath(const Session& session) {
    std::string path = std::string(paths::kMasterDataFolder) + "\\";
    if (!session.state.currentDatabaseName.empty())
        path += session.state.currentDatabaseName + ".mdb";
    return path;
}

bool dataSourceRegistered(Session& session) {
    if (!session.registry.keyExists(Hive::LocalMachine, kOdbcIniKey)) return false;
    for (const std::string& name : session.registry.subkeys(Hive::LocalMachine, kOdbcIniKey))
        if (name == kMasterDataSourceName) return true;
    return false;
}

void repoint(Session& session, const std::string& path) {
    auto dbq = session.registry.valueExact(Hive::LocalMachine, kMasterDataSourceKey, "DBQ");
    if (!dbq) return;
    dbq->text = path;
    session.registry.setValue(Hive::LocalMachine, kMasterDataSourceKey, *dbq);
}

void registerDataSource(Session& session, const std::string& path) {
    auto& registry = session.registry;
    registry.createKey(Hive::LocalMachine, kMasterDataSourceKey);
    const std::vector<RegistryValue> sourceValues = {
        RegistryValue::string("DBQ", path),
        RegistryValue::string("Description", "Master Data"),
        RegistryValue::string("Driver", std::string(kSystemFolder) + "\\odbcjt32.dll"),
        RegistryValue::dword("DriverId", 19),
        RegistryValue::string("FIL", "MS Access"),
        RegistryValue::dword("SafeTransactions", 0),
        RegistryValue::string("UID", ""),
    };
    for (const RegistryValue& value : sourceValues)
        registry.setValue(Hive::LocalMachine, kMasterDataSourceKey, value);

    const std::string engineKey = std::string(kMasterDataSourceKey) + "\\Engines\\Jet";
    registry.createKey(Hive::LocalMachine, engineKey);
    const std::vector<RegistryValue> engineValues = {
        RegistryValue::string("ImplicitCommitSync", "Yes"),
        RegistryValue::dword("MaxBufferSize", 2048),
        RegistryValue::dword("PageTimeOut", 5),
        RegistryValue::dword("Threads", 3),
        RegistryValue::string("UserCommitSync", "Yes"),
    };
    for (const RegistryValue& value : engineValues)
        registry.setValue(Hive::LocalMachine, engineKey, value);

    const std::string sourcesKey = std::string(kOdbcIniKey) + "\\ODBC Data Sources";
    registry.createKey(Hive::LocalMachine, sourcesKey);
    registry.setValue(Hive::LocalMachine, sourcesKey,
                      RegistryValue::string(std::string(kMasterDataSourceName),
                                            "Microsoft Access Driver (*.mdb)"));
}

}  // namespace

void EnsureMasterDataDsn(Session& session) {
    const std::string path = databasePath(session);
    if (dataSourceRegistered(session))
        repoint(session, path);
    else
        registerDataSource(session, path);
}

}  // namespace quillmere
