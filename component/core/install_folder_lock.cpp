#include "component/core/install_folder_lock.h"

#include "component/core/install_paths.h"
#include "platform/failure.h"
#include "platform/text_file.h"

namespace quillmere {

std::optional<platform::FileLock> LockInstallFolder(const Session& session, StateAccess access) {
    if (access == StateAccess::None) return std::nullopt;
    const std::filesystem::path folder = session.path(paths::kInstallFolder);
    if (!platform::folderExists(folder.parent_path())) return std::nullopt;
    const platform::LockMode mode =
        access == StateAccess::Reads ? platform::LockMode::Shared : platform::LockMode::Exclusive;
    try {
        const std::filesystem::path locks = session.root.directory() / "locks";
        std::error_code ignored;  // a folder that cannot be made fails as the lock file below
        std::filesystem::create_directories(locks, ignored);
        // One name whatever case the folder was created in.
        return platform::FileLock(locks / "Taviro Quillmere", mode);
    } catch (const platform::PlatformError&) {
        if (access == StateAccess::Changes) throw;
        return std::nullopt;
    }
}

}  // namespace quillmere
