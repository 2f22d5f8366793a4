#pragma once
// The merge of a server download into the loaded order store: orders, activities and cost
// lines that the laptop does not know are added, the server's closing of an order is applied,
// known cost lines are refreshed field by field, and a completed order that receives new
// activities is reopened. Local orders and activities are never replaced or removed.
//
// The store is indexed once and saved once, at the end, when anything changed; when a step
// fails, what the steps before it changed is saved before the failure travels on. Every
// look-up sees the changes of the steps before it, as if each step had saved its change.
#include <string>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// Merges `incoming` into session.state.orderStore (loaded by the caller). True when something
// was added; otherwise `message` holds the text of label::kNoNewData.
bool MergeDownload(Session& session, const platform::xml::Document& incoming, std::string& message);

}  // namespace quillmere
