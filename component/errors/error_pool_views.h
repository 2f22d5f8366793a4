#pragma once
// The error pool: the entries of the upload report that the server refused. ShowErrorPool
// gives the short link that counts them, ShowErrorList the panel that lists them, each with
// a link that opens the record for correction.
#include <string>

#include "component/core/session.h"

namespace quillmere {

// "" without a report file or without refused entries; the text of label::kReportNotLoaded (also
// logged under "Error Pool") when the report does not load. Fails past 32,767 refused entries.
std::string ShowErrorPool(Session& session);
// "" without a report file; the text of label::kReportNotLoaded when it does not load; else the
// panel.
std::string ShowErrorList(Session& session);

}  // namespace quillmere
