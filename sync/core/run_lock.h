#pragma once
// One run at a time on a server root: a run holds an exclusive advisory lock (flock) on the
// file "brindlemoor.lock" in the root's directory from its start to its end. Two runs at once
// would both decide between insert and modify before either applied its changes, and the
// second would replace the first's change file. The lock goes with the process, so a run
// that is killed leaves nothing locked.
#include <chrono>
#include <filesystem>

#include "platform/machine_root.h"
#include "sync/core/progress.h"
#include "sync/core/run_clock.h"

namespace brindlemoor {

// How long a run waits for an earlier one before it gives up.
inline constexpr std::chrono::seconds kDefaultRunLockWait{180};

class RunLock {
  public:
    // Opens (creating) the lock file of the root; PlatformError (permission denied) when it
    // cannot be opened. Nothing is locked yet.
    explicit RunLock(const platform::MachineRoot& root);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    const std::filesystem::path& file() const { return file_; }

    // Takes the lock when no other run holds it; false when one does.
    bool tryLock();

    // Takes the lock, waiting up to `wait` for a run that holds it. While it waits it says so
    // once on `progress` and lets the window repaint. False when the wait ran out.
    bool lock(Progress& progress, RunClock& clock, std::chrono::milliseconds wait);

  private:
    std::filesystem::path file_;
    int fd_ = -1;
};

}  // namespace brindlemoor
