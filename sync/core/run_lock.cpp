#include "sync/core/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/failure.h"

namespace brindlemoor {

namespace {
constexpr std::chrono::milliseconds kPollInterval{200};
}  // namespace

RunLock::RunLock(const platform::MachineRoot& root) : file_(root.directory() / "brindlemoor.lock") {
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        throw platform::PlatformError(
            platform::failure::kPermissionDenied,
            "Permission denied (" + std::string(std::strerror(errno)) + "): " + file_.string());
    }
}

RunLock::~RunLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool RunLock::tryLock() {
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return false;
        throw platform::PlatformError(platform::failure::kPermissionDenied,
                                      "The run lock cannot be taken (" +
                                          std::string(std::strerror(errno)) +
                                          "): " + file_.string());
    }
}

bool RunLock::lock(Progress& progress, RunClock& clock, std::chrono::milliseconds wait) {
    if (tryLock()) return true;
    progress.append("Another run of brindlemoor is working on this server root; waiting up to " +
                    std::to_string(std::chrono::duration_cast<std::chrono::seconds>(wait).count()) +
                    " seconds for it to end (lock file " + file_.string() + ")." +
                    std::string(kLineBreak));
    progress.repaint();
    for (std::chrono::milliseconds waited{0}; waited < wait; waited += kPollInterval) {
        clock.sleepFor(kPollInterval);
        progress.repaint();
        if (tryLock()) return true;
    }
    return false;
}

}  // namespace brindlemoor
