#pragma once
// A machine root in a fresh temporary folder, removed when the test ends.
#include <filesystem>
#include <string>

#include "platform/machine_root.h"

namespace testing_support {

class TempRoot {
  public:
    // With `withDriveC`, the root has its C: drive (R/C), as a fresh machine does.
    explicit TempRoot(bool withDriveC = true);
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    const platform::MachineRoot& root() const { return root_; }
    // Linux path of a Windows path of this root.
    std::filesystem::path map(const std::string& windowsPath) const {
        return root_.map(windowsPath);
    }

  private:
    std::filesystem::path dir_;
    platform::MachineRoot root_;
};

// Reads a whole file as bytes ("" when missing).
std::string readFile(const std::filesystem::path& path);
// Writes bytes to a file, creating its folders.
void writeFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace testing_support
