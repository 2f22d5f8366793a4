#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <vector>

#include "platform/failure.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(uint32_t code, const std::string& what, const fs::path& path) {
    throw PlatformError(code, what + ": " + path.string());
}

void requireParentFolder(const fs::path& path) {
    std::error_code ec;
    if (path.has_parent_path() && !fs::is_directory(path.parent_path(), ec))
        throw pathNotFound(path);
}

void writeAll(int fd, std::string_view bytes, const fs::path& path) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(failure::kPermissionDenied,
                 std::string("Write failed (") + std::strerror(errno) + ")", path);
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
}

void writeFile(const fs::path& path, std::string_view bytes, int flags) {
    requireParentFolder(path);
    const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(failure::kPermissionDenied,
             std::string("Permission denied (") + std::strerror(errno) + ")", path);
    try {
        writeAll(fd, bytes, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

bool inSupplementaryGroups(gid_t group) {
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int filled = ::getgroups(count, groups.data());
    for (int i = 0; i < filled; ++i)
        if (groups[static_cast<size_t>(i)] == group) return true;
    return false;
}

// Whether the file's mode bits let this user write it. Decided from the bits, not access():
// root passes access() for every file, yet a file stripped of its write bits was made
// read-only on purpose and must not be replaced behind its owner's back.
bool modeAllowsWriting(const struct stat& file) {
    const uid_t user = ::geteuid();
    if (user == 0) return (file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    if (user == file.st_uid) return (file.st_mode & S_IWUSR) != 0;
    if (::getegid() == file.st_gid || inSupplementaryGroups(file.st_gid))
        return (file.st_mode & S_IWGRP) != 0;
    return (file.st_mode & S_IWOTH) != 0;
}

std::optional<struct stat> statusOf(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return status;
}

const std::string kTemporaryMark = ".tmp";

fs::path temporaryPrefix(const fs::path& path) {
    return path.parent_path() / ("." + path.filename().string() + kTemporaryMark);
}

// The replaced file's mode and owner carry over to its successor; a failure to hand the file
// back to its owner leaves it owned by the writer, which can still read and write it.
void keepModeOf(int fd, const struct stat& replaced, const fs::path& temporary) {
    if (::fchmod(fd, replaced.st_mode & 07777) != 0)
        fail(failure::kPermissionDenied,
             std::string("Cannot set the mode (") + std::strerror(errno) + ")", temporary);
    if (::geteuid() == 0 && ::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
        // Root may still fail on some file systems; the content matters more than the owner.
    }
}

}  // namespace

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool folderExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

void createFolder(const fs::path& path) {
    requireParentFolder(path);
    std::error_code ec;
    if (fs::exists(path, ec)) fail(failure::kPermissionDenied, "File already exists", path);
    if (!fs::create_directory(path, ec) || ec)
        fail(failure::kPermissionDenied, "Permission denied", path);
}

void createEmptyFile(const fs::path& path) {
    writeFile(path, {}, O_CREAT | O_TRUNC);
}

void replaceFileText(const fs::path& path, std::string_view text) {
    if (!fileExists(path)) fail(failure::kFileNotFound, "File not found", path);
    writeFile(path, text, O_TRUNC);
}

void appendLine(const fs::path& path, std::string_view text) {
    if (!fileExists(path)) fail(failure::kFileNotFound, "File not found", path);
    std::string line(text);
    line += "\r\n";
    writeFile(path, line, O_APPEND);
}

std::string readWholeFile(const fs::path& path) {
    if (!fileExists(path)) fail(failure::kFileNotFound, "File not found", path);
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(failure::kPermissionDenied, "Permission denied", path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFileAtomically(const fs::path& path, std::string_view bytes) {
    requireParentFolder(path);
    const std::optional<struct stat> replaced = statusOf(path);
    if (replaced && !modeAllowsWriting(*replaced))
        fail(failure::kPermissionDenied, "Permission denied (the file is read-only)", path);
    thread_local std::mt19937_64 random{std::random_device{}()};
    fs::path temporary = temporaryPrefix(path);
    temporary += std::to_string(random() % 1000000000);
    const int fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(failure::kPermissionDenied,
             std::string("Permission denied (") + std::strerror(errno) + ")", path);
    try {
        if (replaced) keepModeOf(fd, *replaced, temporary);
        writeAll(fd, bytes, temporary);
        if (::fdatasync(fd) != 0) fail(failure::kPermissionDenied, "Cannot flush", temporary);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        fail(failure::kPermissionDenied,
             std::string("Cannot replace (") + std::strerror(errno) + ")", path);
    }
}

void removeStaleTemporaries(const fs::path& path) {
    const std::string prefix = temporaryPrefix(path).filename().string();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const bool digitsOnly =
            name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
        if (digitsOnly) fs::remove(entry.path(), ec);
    }
}

}  // namespace platform
