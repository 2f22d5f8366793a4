#pragma once
// Removal of the open orders (and the activities of still-listed open orders) that the server
// no longer lists, with their cost lines. Orders that still have refused entries in the upload
// report stay: their numbers are collected into ErrorOrders first.
#include <string>
#include <string_view>
#include <vector>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// Public methods. StroreErrorOrders fills ErrorOrders; deleteCompletedOrders refreshes it
// itself, then removes what the server's current order document `iXML` no longer lists.
Variant StroreErrorOrders(Session& session);
Variant deleteCompletedOrders(Session& session, const std::string& iXML);

// The order numbers of every refused entry of the report (groups and entries whose Status is
// "Error"), in report order, duplicates included; rebuilt by each collection and kept in the
// module state. There is no limit to their number.
const std::vector<std::string>& ErrorOrders(const Session& session);

// Rebuilds ErrorOrders from "C:\Taviro Quillmere\UploadReport.xml". A missing report leaves it
// empty; a report that does not load fails the call (kObjectNotSet).
void CollectErrorOrders(Session& session);

// Removes from the loaded store what `serverDocument` no longer lists and saves the store once
// (also before a failure part-way is passed on, so earlier removals stay). The server document
// is parsed once, when the first open order is examined; when it is not well-formed, or lacks
// the order container, that examination fails (the activity container: the first activity's).
void RemoveCompletedOrders(Session& session, std::string_view serverDocument);

}  // namespace quillmere
