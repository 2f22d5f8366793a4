#include "tools/service/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/failure.h"

namespace taviro::service {

FileLock::FileLock(const std::filesystem::path& stateFile) {
    const std::string lockPath = stateFile.string() + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw platform::PlatformError(
            platform::failure::kPermissionDenied,
            "Cannot open the lock file " + lockPath + ": " + std::strerror(errno));
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd_);
        throw platform::PlatformError(platform::failure::kPermissionDenied,
                                      "Cannot lock " + lockPath + ": " + std::strerror(error));
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace taviro::service
