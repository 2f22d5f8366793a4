#include "sync/core/window_start.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "sync/core/basic_conversions.h"

namespace brindlemoor {

namespace fs = std::filesystem;

namespace {

bool hasExtension(const fs::path& file, std::string_view extension) {
    return platform::toLower(file.extension().string()) == extension;
}

// Characters `from` (1-based) to `from + length - 1` of the text, as far as it goes.
std::string_view middle(std::string_view text, size_t from, size_t length) {
    if (from - 1 >= text.size()) return {};
    return text.substr(from - 1, length);
}

// The file's creation (birth) time where the file system records one, else its last change.
platform::LocalDateTime creationTime(const fs::path& file) {
    struct statx status {};
    if (statx(AT_FDCWD, file.c_str(), 0, STATX_BTIME | STATX_MTIME, &status) != 0) {
        throw platform::PlatformError(platform::failure::kFileNotFound,
                                      "File not found: " + file.string());
    }
    const std::time_t seconds = (status.stx_mask & STATX_BTIME) != 0
                                    ? static_cast<std::time_t>(status.stx_btime.tv_sec)
                                    : static_cast<std::time_t>(status.stx_mtime.tv_sec);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

// The stamp in a change file's name: "YYYY-MM-DD hh-mm".
WindowStart fromChangeFileName(const std::string& name) {
    return SetWindowStart(middle(name, 9, 2), middle(name, 6, 2), middle(name, 1, 4),
                          middle(name, 12, 2), middle(name, 15, 2));
}

// The database's creation date in the short date form month/day/two-digit year.
WindowStart fromDatabase(const fs::path& database) {
    const std::string date = platform::formatShortDate(creationTime(database));
    const size_t first = date.find('/');
    const size_t second = date.find('/', first + 1);
    const std::string month = date.substr(0, first);
    const std::string day = date.substr(first + 1, second - first - 1);
    const std::string year = "20" + date.substr(second + 1, 2);
    return SetWindowStart(day, month, year, "", "");
}

}  // namespace

WindowStart SetWindowStart(std::string_view day, std::string_view month, std::string_view year,
                           std::string_view hour, std::string_view minute) {
    WindowStart start;
    start.day = ToInteger(day);
    start.month = ToInteger(month);
    start.year = ToInteger(year);
    start.hour = hour.empty() ? 0 : ToInteger(hour);
    start.minute = minute.empty() ? 0 : ToInteger(minute);
    return start;
}

std::vector<fs::path> ListInNameOrder(const fs::path& folder, bool folders) {
    std::vector<fs::path> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        throw platform::PlatformError(platform::failure::kPathNotFound,
                                      "Path not found: " + folder.string());
    }
    for (const fs::directory_entry& entry : it) {
        std::error_code ignored;
        if (folders ? entry.is_directory(ignored) : entry.is_regular_file(ignored)) {
            entries.push_back(entry.path());
        }
    }
    std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
        const std::string left = a.filename().string();
        const std::string right = b.filename().string();
        const std::string lowerLeft = platform::toLower(left);
        const std::string lowerRight = platform::toLower(right);
        return lowerLeft != lowerRight ? lowerLeft < lowerRight : left < right;
    });
    return entries;
}

WindowStart FindWindowStart(const fs::path& companyFolder) {
    const std::vector<fs::path> files = ListInNameOrder(companyFolder, false);
    const fs::path* lastChangeFile = nullptr;
    const fs::path* lastDatabase = nullptr;
    for (const fs::path& file : files) {
        if (hasExtension(file, ".xml")) lastChangeFile = &file;
        if (hasExtension(file, ".mdb")) lastDatabase = &file;
    }
    if (lastChangeFile) return fromChangeFileName(lastChangeFile->filename().string());
    if (lastDatabase) return fromDatabase(*lastDatabase);
    WindowStart earliest = SetWindowStart("1", "1", "1900", "", "");
    earliest.earliest = true;
    return earliest;
}

}  // namespace brindlemoor
