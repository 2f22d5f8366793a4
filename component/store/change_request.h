#pragma once
// What adding and updating records through an XML request have in common: loading the store
// and the field definitions before the request is applied, and the log entry of a rejected
// request.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// Loads the order store and the field definitions for the change `action` ("Add XML",
// "Update XML"). When one does not load: sets the last error, puts the call's result into
// `result` (the store's message; "" for the field definitions, whose message is logged under
// the action) and answers false.
bool LoadForChange(Session& session, std::string_view action, std::string& result);

// The log entry of a rejected request: the action, the message and the request itself.
void LogRejectedRequest(Session& session, std::string_view action, const std::string& message,
                        const std::string& iXML);

}  // namespace quillmere
