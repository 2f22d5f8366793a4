#pragma once
// Advisory locks between processes (and threads) working on one machine root. A lock is an
// flock on a companion file "<target>.lock" beside the file or folder it guards; the companion
// file stays in place. A shared lock admits other shared holders, an exclusive one nobody
// else. Each FileLock opens the companion file itself, so two locks of one process on the same
// target exclude each other as two processes would: never take a lock on a target that the
// same thread already holds.
#include <filesystem>

namespace platform {

enum class LockMode { Shared, Exclusive };

class FileLock {
  public:
    // Waits for the lock. Throws PlatformError (kPermissionDenied) when the companion file
    // cannot be opened or locked.
    explicit FileLock(const std::filesystem::path& target, LockMode mode = LockMode::Exclusive);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&&) = delete;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static std::filesystem::path companionFile(const std::filesystem::path& target);

  private:
    int fd_ = -1;
};

}  // namespace platform
