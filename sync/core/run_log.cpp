#include "sync/core/run_log.h"

#include "platform/clock.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "sync/core/time_stamp.h"

namespace brindlemoor {

void RunLog::create(std::string_view logFolder) {
    path_ = std::string(logFolder) + "\\SynchronizedOn " + MakeTimeStamp("FileName") + ".txt";
    platform::createEmptyFile(root_.map(path_));
}

void RunLog::append(std::string_view data) {
    if (path_.empty()) {
        throw platform::PlatformError(platform::failure::kFileNotFound,
                                      "File not found: no log file was created for this run");
    }
    platform::appendLine(root_.map(path_), data);
}

}  // namespace brindlemoor
