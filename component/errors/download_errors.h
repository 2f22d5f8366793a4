#pragma once
// Importing the server's report on an upload: its groups join UploadReport.xml, and every
// completed entry is applied to the order store.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

inline constexpr std::string_view kDownloadErrorsAction = "Download Errors";

// The public method: "" on success; the text of SLBEU0288 when the received report is not
// well-formed (nothing is written), the text of SLBEU0289 when the stored report cannot be
// loaded (nothing changes). Both are logged under "Download Errors".
std::string DownloadErrors(Session& session, const std::string& iXML);

}  // namespace quillmere
