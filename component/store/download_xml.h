#pragma once
// DownloadXml: the engineer's orders as the server sends them become the order store, or are
// merged into it.
#include <string>

#include "component/core/session.h"

namespace quillmere {

// The success text ("New Data has been downloaded." or label::kDownloadAdded) or a failure text
// (label::kDownloadEmpty, kNotXml, kOrderStoreNotLoaded, kNoNewData), also written to the last
// error.
std::string DownloadXml(Session& session, const std::string& iXML);

}  // namespace quillmere
