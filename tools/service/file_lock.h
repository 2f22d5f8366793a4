#pragma once
// An exclusive lock on a state file, held for the object's lifetime, so that two programs
// working on the same root change the file one after the other. The lock is an advisory lock
// (flock) on a companion file "<state file>.lock" that stays in place.
#include <filesystem>

namespace taviro::service {

class FileLock {
  public:
    // Waits for the lock. Throws platform::PlatformError (kPermissionDenied) when the lock file
    // cannot be opened.
    explicit FileLock(const std::filesystem::path& stateFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace taviro::service
