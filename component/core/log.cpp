#include "component/core/log.h"

#include <string>

#include "component/core/install_paths.h"
#include "platform/clock.h"
#include "platform/text_file.h"

namespace quillmere {

void LogAction(Session& session, std::string_view action) {
    std::string header = "|--------- Logged On: ";
    header += " ";
    header += platform::formatGeneralDate(session.clock.now());
    header += "  ";
    header += "For User Action: ";
    header += action;
    header += "  ";
    header += "----------";
    LogLine(session, header);
}

void LogLine(Session& session, std::string_view text) {
    platform::appendLine(session.path(paths::kLogFile), text);
}

void LogDetail(Session& session, std::string_view label, std::string_view value) {
    std::string line(label);
    line += "  ";
    line += value;
    LogLine(session, line);
}

}  // namespace quillmere
