#include "component/startup/startup.h"

#include <array>

#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/masterdata/data_source.h"
#include "component/store/order_store.h"
#include "platform/text_file.h"

namespace quillmere {

using platform::Hive;
using platform::RegistryValue;

namespace {

// The settings in the order start-up adds them, with their defaults.
std::array<RegistryValue, 8> settingDefaults() {
    return {
        RegistryValue::string("Currentmdb", ""),  RegistryValue::string("MasterDataPath", ""),
        RegistryValue::dword("OrderId", 1),  // written as the text "000000001", stored as 1
        RegistryValue::dword("ActivityId", 1),    RegistryValue::dword("LineId", 1),
        RegistryValue::string("Error", "1"),      RegistryValue::string("Mode", "Online"),
        RegistryValue::string("MasterData", "1"),
    };
}

bool hasValue(const std::vector<RegistryValue>& values, std::string_view name) {
    for (const RegistryValue& value : values)
        if (value.name == name) return true;
    return false;
}

// Only values that already exist are changed; the key itself may be missing on machines that
// never had the data-access components.
void applyHandlerSettings(Session& session) {
    auto& registry = session.registry;
    if (!registry.keyExists(Hive::LocalMachine, paths::kHandlerInfoKey)) return;
    for (RegistryValue value : registry.values(Hive::LocalMachine, paths::kHandlerInfoKey)) {
        std::string data;
        if (value.name == "handlerRequired")
            data = "0";
        else if (value.name == "DefaultHandler")
            data = "";
        else
            continue;
        if (value.type == platform::ValueType::DWord)
            value.number = 0;
        else
            value.text = data;
        registry.setValue(Hive::LocalMachine, paths::kHandlerInfoKey, value);
    }
}

void createFileWithText(const std::filesystem::path& path, std::string_view text) {
    platform::writeFileAtomically(path, text);
}

}  // namespace

bool EnsureInstallFolders(Session& session, std::string& message) {
    message.clear();
    if (!session.root.driveExists('C')) {
        message = GetLabelText(session, label::kDataNotStored);
        return false;
    }
    const auto installFolder = session.path(paths::kInstallFolder);
    if (!platform::folderExists(installFolder)) {
        platform::createFolder(installFolder);
        platform::createFolder(session.path(paths::kMasterDataFolder));
    } else if (!platform::folderExists(session.path(paths::kMasterDataFolder))) {
        platform::createFolder(session.path(paths::kMasterDataFolder));
    }
    return true;
}

void EnsureRegistryDefaults(Session& session) {
    auto& registry = session.registry;
    registry.createKey(Hive::LocalMachine, paths::kComponentKey);
    const std::vector<RegistryValue> existing =
        registry.values(Hive::LocalMachine, paths::kComponentKey);
    for (const RegistryValue& value : existing)
        if (value.name == "Currentmdb") session.state.currentDatabaseName = value.dataAsText();
    for (const RegistryValue& setting : settingDefaults())
        if (!hasValue(existing, setting.name))
            registry.setValue(Hive::LocalMachine, paths::kComponentKey, setting);
    applyHandlerSettings(session);
}

Variant Initialize(Session& session) {
    std::string message = std::string(kNoError);
    if (EnsureInstallFolders(session, message)) {
        EnsureRegistryDefaults(session);
        EnsureMasterDataDsn(session);
        SetLastError(session, message);
        if (!platform::fileExists(session.path(paths::kLogFile)))
            platform::createEmptyFile(session.path(paths::kLogFile));
        if (!platform::fileExists(session.path(paths::kOrderStore)))
            createFileWithText(session.path(paths::kOrderStore), kInitialOrderStore);
        return Variant::text("");
    }
    if (message.empty()) {
        message = GetLabelText(session, label::kFolderNotCreated) + " " +
                  std::string(paths::kInstallFolder);
        SetLastError(session, message);
    }
    return Variant::text(message);
}

}  // namespace quillmere
