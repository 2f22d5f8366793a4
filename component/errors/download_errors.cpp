#include "component/errors/download_errors.h"

#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/log.h"
#include "component/errors/apply_upload_report.h"
#include "component/store/upload_report.h"
#include "platform/text_file.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

std::string reportFailure(Session& session, std::string_view key) {
    const std::string message = GetLabelText(session, key);
    LogAction(session, kDownloadErrorsAction);
    LogDetail(session, kErrorLabel, message);
    return message;
}

}  // namespace

std::string DownloadErrors(Session& session, const std::string& iXML) {
    // The received text is parsed even when it would be stored as it is: an ill-formed report
    // written to UploadReport.xml could never be loaded again, and every later report would
    // be refused with it.
    xml::Document received;
    if (!received.parse(iXML)) {
        const std::string message = reportFailure(session, label::kReportNotXml);
        LogLine(session, iXML);
        return message;
    }
    const auto file = session.path(paths::kUploadReport);
    if (platform::fileExists(file)) {
        xml::Document stored;
        if (!LoadUploadReport(session, stored))
            return reportFailure(session, label::kReportNotLoaded);
        const xml::Node root = stored.root();
        for (xml::Node child : received.root().children()) xml::appendCopy(root, child);
        SaveUploadReport(session, stored);
        ApplyUploadReport(session, stored);
    } else {
        // The first report is kept exactly as the server sent it.
        platform::writeFileAtomically(file, iXML);
        ApplyUploadReport(session, received);
    }
    return {};
}

}  // namespace quillmere
