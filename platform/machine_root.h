#pragma once
// The machine root: the directory that stands for a whole Windows machine. Windows paths
// ("C:\Taviro Quillmere\log.txt") map below it ("R/C/Taviro Quillmere/log.txt"); drive X:
// exists exactly when R/X does. Path components are matched without regard to case against
// what already exists; a component that does not exist yet keeps the case as written.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {

class MachineRoot {
  public:
    explicit MachineRoot(std::filesystem::path directory);

    // --root, else TAVIRO_ROOT, else $XDG_DATA_HOME/taviro (~/.local/share/taviro).
    static MachineRoot resolve(const std::optional<std::string>& commandLineRoot = std::nullopt);

    const std::filesystem::path& directory() const { return directory_; }

    // Creates the root and its C: drive when the root does not exist yet. A root that exists
    // is left alone (a root without R/C is a machine without drive C:).
    void createIfMissing() const;

    bool driveExists(char letter) const;

    // Linux path of a Windows path ("X:\a\b" or "X:/a/b"). An absolute Linux path is returned
    // unchanged. Existing components are matched case-insensitively; "." is skipped and ".."
    // goes back one folder but never above the drive (or the root for a path without drive).
    std::filesystem::path map(std::string_view windowsPath) const;

    std::filesystem::path registryDirectory() const { return directory_ / "registry"; }

  private:
    std::filesystem::path directory_;
};

}  // namespace platform
