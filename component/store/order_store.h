#pragma once
// The order store "C:\Taviro Quillmere\ZudivevEzored.xml": root zudivevezored with the
// containers ccsocservcordr (order records), ccsocservcactv (activity groups per order),
// ccsocservcmatl / ccsocservclabr / ccsocservcothr (line groups per activity) and
// ccsocservchra (hours registrations). Each operation loads the file into the module's
// OrderStoreDocument once, works on it, and saves it once before it returns.
#include <cstdint>
#include <string>
#include <string_view>

#include "component/core/record_kind.h"
#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// The order store as start-up first writes it: one line, six empty containers.
inline constexpr std::string_view kInitialOrderStore =
    "<zudivevezored><ccsocservcordr/>"
    "<ccsocservcactv/><ccsocservcmatl/>"
    "<ccsocservclabr/><ccsocservcothr/>"
    "<ccsocservchra/></zudivevezored>";

// Loads the store file into session.state.orderStore; false when missing or ill-formed.
bool LoadOrderStore(Session& session);
// Saves session.state.orderStore to the store file (atomically).
void SaveOrderStore(Session& session);

// Hands out the next provisional number of a counter: returns the counter's value (as a signed
// 16-bit number) and stores value + 1. A missing counter changes nothing and returns 0. A
// counter of 32768 or more fails with the overflow error before anything is written; data that
// is no whole number fails with the type-mismatch error.
int16_t NextRecordNumber(Session& session, RecordCounter counter);

// The container as a direct child of the root element "zudivevezored" of the loaded store
// (`storeDocument` is the document node); a null node when the store lacks it. Where records
// are added, the container is reached this way; look-ups use FindContainer (store_index.h).
platform::xml::Node StoreContainer(platform::xml::Node storeDocument, std::string_view container);

// Record look-up in a loaded store, first match in document order; null nodes when absent.
// Activities and lines are looked for in the first group of their order (and activity).
platform::xml::Node FindOrder(platform::xml::Node storeRoot, std::string_view order);
platform::xml::Node FindActivityGroup(platform::xml::Node storeRoot, std::string_view order);
platform::xml::Node FindActivity(platform::xml::Node storeRoot, std::string_view order,
                                 std::string_view activity);
platform::xml::Node FindLineGroup(platform::xml::Node storeRoot, std::string_view container,
                                  std::string_view order, std::string_view activity);
platform::xml::Node FindLine(platform::xml::Node storeRoot, std::string_view container,
                             std::string_view order, std::string_view activity,
                             std::string_view line);

// A record looked for among the children of every group of its order (and activity), first
// match in document order, as the views read the store; also says whether any such group
// exists, which the views tell apart from a group that lacks the record.
struct RecordLookup {
    platform::xml::Node record;  // null when no group holds it
    bool groupFound = false;
};
RecordLookup LookUpActivity(platform::xml::Node storeRoot, std::string_view order,
                            std::string_view activity);
RecordLookup LookUpLine(platform::xml::Node storeRoot, std::string_view container,
                        std::string_view order, std::string_view activity, std::string_view line);

}  // namespace quillmere
