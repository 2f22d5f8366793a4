#include "sync/core/server_folders.h"

#include "platform/text.h"
#include "sync/core/run_error.h"

namespace brindlemoor {

namespace {

constexpr std::string_view kShellSource = "WshShell.RegRead";
constexpr uint32_t kRegistryReadFailure = 0x80070002;

[[noreturn]] void failRegistryRead(std::string_view key, std::string_view name) {
    throw SourcedError(kRegistryReadFailure,
                       "Unable to open registry key \"HKLM\\" + std::string(key) + "\\" +
                           std::string(name) + "\" for reading.",
                       std::string(kShellSource));
}

}  // namespace

std::optional<std::string> ReadShellValue(const platform::Registry& registry, std::string_view key,
                                          std::string_view name) {
    if (!registry.keyExists(platform::Hive::LocalMachine, key)) return std::nullopt;
    for (const platform::RegistryValue& value :
         registry.values(platform::Hive::LocalMachine, key)) {
        if (platform::equalsIgnoreCase(value.name, name)) return value.dataAsText();
    }
    return std::nullopt;
}

void ReadServerFolders(const platform::MachineRoot& root, ServerFolders& folders) {
    const platform::Registry registry(root);
    const std::optional<std::string> webRoot = ReadShellValue(registry, kWebRootKey, kWebRootValue);
    const std::optional<std::string> middleware =
        ReadShellValue(registry, erp::kMiddlewareKey, kMiddlewareValue);
    // Each folder that can be derived is, so that a failure can still be logged when only the
    // web root is missing.
    if (webRoot) {
        folders.webRoot = *webRoot;
        folders.masterDataFolder = *webRoot + "\\MasterData";
    }
    if (middleware) {
        folders.middlewareFolder = *middleware;
        folders.productFolder = *middleware + "\\Taviro Quillmere";
        folders.logFolder = folders.productFolder + "\\Brindlemoor";
    }
    if (!webRoot) failRegistryRead(kWebRootKey, kWebRootValue);
    if (!middleware) failRegistryRead(erp::kMiddlewareKey, kMiddlewareValue);
}

}  // namespace brindlemoor
