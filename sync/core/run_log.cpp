#include "sync/core/run_log.h"

#include "platform/failure.h"
#include "platform/text_file.h"

namespace brindlemoor {

void RunLog::create(std::string_view logFolder, std::string_view stamp) {
    const std::string path =
        std::string(logFolder) + "\\SynchronizedOn " + std::string(stamp) + ".txt";
    const std::filesystem::path file = root_.map(path);
    // A second run in the same minute goes on in the first run's log instead of replacing it.
    if (!platform::fileExists(file)) platform::createEmptyFile(file);
    path_ = path;
}

void RunLog::append(std::string_view data) {
    if (path_.empty()) {
        throw platform::PlatformError(platform::failure::kFileNotFound,
                                      "File not found: no log file was created for this run");
    }
    platform::appendLine(root_.map(path_), data);
}

}  // namespace brindlemoor
