#pragma once
// DownloadXml: the engineer's orders as the server sends them become the order store, or are
// merged into it.
#include <string>

#include "component/core/session.h"

namespace quillmere {

// The success text ("New Data has been downloaded." or label "SLBEU0266") or a failure text
// (labels "SLBEU0264", "SLBEU0265", "SLBEU0260", "SLBEU0322"), also written to the last error.
std::string DownloadXml(Session& session, const std::string& iXML);

}  // namespace quillmere
