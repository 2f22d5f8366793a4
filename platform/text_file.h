#pragma once
// Single-byte text files: bytes are written exactly as given (no BOM, no conversion).
// Every function throws PlatformError with the runtime's file codes on failure.
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);

// Creates one folder; its parent must exist (kPathNotFound otherwise).
void createFolder(const std::filesystem::path& path);

// Creates (or truncates) a file holding nothing. The folder must exist.
void createEmptyFile(const std::filesystem::path& path);

// Replaces the content of an existing file with the text (kFileNotFound when missing).
void replaceFileText(const std::filesystem::path& path, std::string_view text);

// Appends the text followed by CR LF to an existing file (kFileNotFound when missing).
void appendLine(const std::filesystem::path& path, std::string_view text);

// The whole file as bytes (kFileNotFound when missing).
std::string readWholeFile(const std::filesystem::path& path);

// Writes a state file atomically: a hidden temporary file in the same folder is written,
// flushed and renamed over the target, so a crash leaves either the old or the new content.
// The new file keeps the replaced file's mode (and, for root, its owner). A file that its mode
// bits do not let this user write is not replaced (kPermissionDenied): for root, which the
// system lets write anything, a file without any write bit counts as read-only.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the hidden temporary files that writeFileAtomically leaves behind when a process
// dies during a save of `path`. Only a caller that holds the lock under which every save of
// that file is made may call it: a temporary of a save under way would go too.
void removeStaleTemporaries(const std::filesystem::path& path);

}  // namespace platform
