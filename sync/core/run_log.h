#pragma once
// The log of one run: "SynchronizedOn <stamp>.txt" in the log folder, a single-byte text file
// with one line (CR LF) per entry. Every entry opens and closes the file, so a crash loses
// nothing that was logged.
#include <string>
#include <string_view>

#include "platform/machine_root.h"

namespace brindlemoor {

// The line break inside a log entry (an entry that ends with it is followed by an empty line).
inline constexpr std::string_view kLogLineBreak = "\r\n";

class RunLog {
  public:
    explicit RunLog(platform::MachineRoot root) : root_(std::move(root)) {}

    // Creates the run's log file as a new, empty text file in `logFolder` (a Windows path).
    // The folder must exist; it is not created (path not found otherwise).
    void create(std::string_view logFolder);

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
