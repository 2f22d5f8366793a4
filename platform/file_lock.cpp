#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/failure.h"

namespace platform {

std::filesystem::path FileLock::companionFile(const std::filesystem::path& target) {
    std::filesystem::path file = target;
    file += ".lock";
    return file;
}

FileLock::FileLock(const std::filesystem::path& target, LockMode mode) {
    const std::string lockPath = companionFile(target).string();
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw PlatformError(failure::kPermissionDenied,
                            "Cannot open the lock file " + lockPath + ": " + std::strerror(errno));
    const int operation = mode == LockMode::Shared ? LOCK_SH : LOCK_EX;
    while (::flock(fd_, operation) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd_);
        throw PlatformError(failure::kPermissionDenied,
                            "Cannot lock " + lockPath + ": " + std::strerror(error));
    }
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace platform
