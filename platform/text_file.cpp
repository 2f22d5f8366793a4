#include "platform/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

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
    thread_local std::mt19937_64 random{std::random_device{}()};
    const fs::path temporary = path.parent_path() / ("." + path.filename().string() + ".tmp" +
                                                     std::to_string(random() % 1000000000));
    const int fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(failure::kPermissionDenied,
             std::string("Permission denied (") + std::strerror(errno) + ")", path);
    try {
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

}  // namespace platform
