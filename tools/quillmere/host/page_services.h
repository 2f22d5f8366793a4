#pragma once
// What the host does for its page besides calling the component: the page's own small state,
// the count of records waiting for upload, and saving a fetched file as the browser's download
// manager would. Each works on the machine root only; the routes run them on the call thread.
#include <string>
#include <string_view>

#include "platform/machine_root.h"
#include "tools/service/request_error.h"

namespace quillmere::host {

using taviro::service::RequestError;

// The page's state (R/quillmere-app.json): at most 1 MiB, a JSON object.
inline constexpr size_t kMaxStateBytes = 1024 * 1024;

// The stored object, "{}" when none is stored yet. Throws RequestError (500) for a stored
// file that is not a JSON object; the file is left as it is.
std::string readPageState(const platform::MachineRoot& root);
// Replaces the stored object atomically under the state file's lock. Throws RequestError:
// 413 above the size limit, 400 for a text that is not a JSON object.
void writePageState(const platform::MachineRoot& root, std::string_view json);

// Orders, activities, cost lines and hours registrations of the order store whose State is "N"
// or "M"; 0 without a store. Throws RequestError (500) when the store cannot be read.
int countWaitingForUpload(const platform::MachineRoot& root);

// Saves bytes as file `name` in the download folder (the browser setting that
// RegisterDownloadPath writes) atomically; returns the Windows path of the file. Throws
// RequestError: 400 for a name that is not a plain file name, 409 when the download folder
// is not set or does not exist.
std::string saveDownload(const platform::MachineRoot& root, std::string_view name,
                         std::string_view bytes);

}  // namespace quillmere::host
