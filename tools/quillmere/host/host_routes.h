#pragma once
// The host's HTTP surface: the application's files, the delivered data and the API, behind the
// request guard.
//
//   GET  /, /<file>                  the application (a right ?token=T sets the token cookie)
//   GET  /delivered/FieldMapper.xml  the installed field definitions
//   POST /api/call                   ["METHOD", arg, ...] -> the answer `batch` gives
//   GET  /api/config                 {"company", "version", "root"}
//   GET  /api/state, PUT /api/state  the page's own state (R/quillmere-app.json)
//   GET  /api/status                 {"waitingForUpload": N}
//   POST /api/download?name=F        saves the body in the download folder
#include <filesystem>
#include <string>

#include "platform/machine_root.h"
#include "tools/quillmere/host/call_thread.h"
#include "tools/quillmere/host/request_guard.h"
#include "tools/service/local_http_server.h"

namespace quillmere::host {

// Request bodies above this are refused with 413 before they are read into memory.
inline constexpr size_t kMaxRequestBytes = 64 * 1024 * 1024;

struct HostSettings {
    platform::MachineRoot root;
    std::filesystem::path applicationFolder;
    std::filesystem::path deliveredDataFolder;
    std::string companyUrl;
};

// Registers the guard and every route on `server`. The settings, guard and call thread must
// outlive the server.
void installRoutes(taviro::service::LocalHttpServer& server, const HostSettings& settings,
                   const RequestGuard& guard, CallThread& calls);

}  // namespace quillmere::host
