#pragma once
// deleteNode: removes an order, an activity or a cost line from the order store with
// everything below it. Deletion is physical: nothing records it, so nothing of it is uploaded.
//
// Failures: nothing that is not found is reported (the unchanged store is saved). A store that
// cannot be loaded fails the call with the object error and is left as it is on disk.
#include <string_view>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// Which record goes follows from the arguments given (non-empty): the order alone deletes the
// order with its activity group and line groups; order and activity delete the activity with
// its line groups (and the order when it was its last activity); order, activity and line
// delete the line of the cost type's container ("material", "labor", "other", "hra" - the last
// two both labor lines), and its group when it was the last line. Returns an empty variant.
Variant deleteNode(Session& session, std::string_view iorder, std::string_view iActivity,
                   std::string_view iLine, std::string_view iCostType);

}  // namespace quillmere
