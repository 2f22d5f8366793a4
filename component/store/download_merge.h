#pragma once
// The merge of a server download into the loaded order store: orders, activities and cost
// lines that the laptop does not know are added, the server's closing of an order is applied,
// known cost lines are refreshed field by field, and a completed order that receives new
// activities is reopened. Local orders and activities are never replaced or removed.
//
// The store is indexed once and saved once, at the end, when anything changed; when a step
// fails, what the steps before it changed is saved before the failure travels on. Every
// look-up sees the changes of the steps before it, as if each step had saved its change.
#include <string_view>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

enum class MergeResult {
    Added,      // an order, activity or cost line was added or changed
    NothingNew  // the store already held everything (a closing may still have been applied)
};

// Merges `incoming` into session.state.orderStore (loaded by the caller). DOM errors of the
// incoming document (a record without its key attribute or fields) fail the call after what
// was merged before them has been saved.
MergeResult MergeDownload(Session& session, const platform::xml::Document& incoming);

}  // namespace quillmere
