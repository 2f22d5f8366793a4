#pragma once
// The lock a call holds on the install folder while it works on the folder's state files
// (order store, upload report, field definitions), so that two processes on one machine root
// (the engineer's application host and the command-line tool, say) never interleave a load
// and a save: shared for a method that only reads them, exclusive for one that may change
// them, taken by the method frame before the method's first load and released after its last
// save. Nothing is held between calls. The lock file is "R/locks/Taviro Quillmere.lock" below
// the machine root, outside the drives, so the machine's folders hold only the component's
// own files.
#include <optional>

#include "component/core/method_table.h"
#include "component/core/session.h"
#include "platform/file_lock.h"

namespace quillmere {

// The lock for a call of a method with that access; nullopt for a method that does not touch
// the state files, on a machine without the folder's drive, and for a reading method whose
// lock file cannot be created (a read-only root: every state file is replaced whole, so a read
// still sees complete files). A changing method that cannot lock fails (kPermissionDenied).
std::optional<platform::FileLock> LockInstallFolder(const Session& session, StateAccess access);

}  // namespace quillmere
