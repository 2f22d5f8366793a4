#pragma once
// The entry form of a new material cost line in which the engineer picks the order and the
// activity from two drop-downs, and the two drop-downs themselves (the page refills the
// activity list through CreateActivityDropDown whenever the chosen order changes).
#include <string>

#include "component/core/session.h"

namespace quillmere {

// The form. Takes a number of the "ActivityId" counter for the new line.
std::string CreateMaterialForm(Session& session);
// The OPTION elements of every order; "" and the last error label::kOrderStoreNotLoaded when the
// store does not load.
std::string CreateOrderDropDown(Session& session);
// The OPTION elements of the activities of `iorder` (of the first activity group's order when
// it is empty; that fails when there is no group at all).
std::string CreateActivityDropDown(Session& session, const std::string& iorder);

}  // namespace quillmere
