#pragma once
// Removing activities and cost lines from a loaded order store, with the groups they leave
// empty. The caller saves the store.
#include <string_view>

#include "platform/xml/document.h"

namespace quillmere {

// In the first activity container, in the first group whose ID is the order: removes the
// activity whose Activity is `activity` (every activity when it is empty), then the group
// when nothing is left in it. Returns true when anything was removed.
bool RemoveActivities(platform::xml::Node storeRoot, std::string_view order,
                      std::string_view activity);

// In the first element named `container` (ccsocservcmatl, ccsocservclabr, ccsocservcothr),
// in every group whose ID is the order and whose Activity is `activity` (any activity when
// empty): removes the line whose LineNumber is `line` (every line when empty), then each such
// group left without children. Returns true when anything was removed.
bool RemoveLines(platform::xml::Node storeRoot, std::string_view order, std::string_view activity,
                 std::string_view line, std::string_view container);

}  // namespace quillmere
