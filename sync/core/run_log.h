#pragma once
// The log of one run: "SynchronizedOn <stamp>.txt" in the log folder, a single-byte text file
// with one line (CR LF) per entry. Every entry opens and closes the file, so a crash loses
// nothing that was logged. Runs in the same minute share the file, one after the other.
#include <string>
#include <string_view>

#include "platform/machine_root.h"

namespace brindlemoor {

// The line break inside a log entry (an entry that ends with it is followed by an empty line).
inline constexpr std::string_view kLogLineBreak = "\r\n";

class RunLog {
  public:
    explicit RunLog(platform::MachineRoot root) : root_(std::move(root)) {}

    // Makes "SynchronizedOn <stamp>.txt" in `logFolder` (a Windows path) the run's log file,
    // creating it empty when it does not exist yet; an existing file is appended to. The
    // folder must exist; it is not created (path not found otherwise).
    void create(std::string_view logFolder, std::string_view stamp);
    // Forgets the log file; entries then fail until the next create.
    void close() { path_.clear(); }

    // Appends one entry. Fails (file not found) while no log file was created.
    void append(std::string_view data);

    bool isOpen() const { return !path_.empty(); }
    // Windows path of the log file; empty before the first createDirForLogging.
    const std::string& path() const { return path_; }

  private:
    platform::MachineRoot root_;
    std::string path_;
};

}  // namespace brindlemoor
