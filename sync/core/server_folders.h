#pragma once
// Where a server root keeps what a run needs, read from its registry as the scripting shell
// reads values: the web root (PathWWWRoot) and the middleware folder (InstMainDir), and the
// folders derived from them.
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine_root.h"
#include "platform/registry.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

inline constexpr std::string_view kWebRootKey = "SOFTWARE\\Microsoft\\INetStp";
inline constexpr std::string_view kWebRootValue = "PathWWWRoot";
inline constexpr std::string_view kMiddlewareValue = "InstMainDir";
inline constexpr std::string_view kDataSourcesKey = "SOFTWARE\\ODBC\\odbc.ini";

// Folders derived from the registry (Windows paths, or Linux paths where the registry holds
// those); empty where the value they come from is missing.
struct ServerFolders {
    std::string webRoot;
    std::string middlewareFolder;
    std::string productFolder;     // middleware folder + "\Taviro Quillmere"
    std::string masterDataFolder;  // web root + "\MasterData"
    std::string logFolder;         // product folder + "\Brindlemoor"
};

// A value of HKLM as the shell reads it: its name compared without regard to case, its data as
// text; nullopt when the key or the value is missing.
std::optional<std::string> ReadShellValue(const platform::Registry& registry, std::string_view key,
                                          std::string_view name);

// Derives every folder whose registry value exists into `folders`, then fails (a SourcedError
// from "WshShell.RegRead", 0x80070002) for the first value that is missing.
void ReadServerFolders(const platform::MachineRoot& root, ServerFolders& folders);

}  // namespace brindlemoor
