#pragma once
// The details panel of one record of the order store (order, activity, material, labor or
// other line): title bar, action links, the record's fields as text or as input controls, and
// the Delete and Save buttons. The field renderers are shared with the entry forms.
#include <cstdint>
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// iObject "1" order, "2" activity, "3" material, "4" labor, "5" other line; iError 1 when the
// record is opened from the error list. The fragment, or "" when the last error is not "1" at
// the end. A record that its order (or group) does not hold fails the call.
std::string GetDetails(Session& session, const std::string& iObject, const std::string& iOrno,
                       const std::string& iAcln, const std::string& iLine, const std::string& iXML,
                       int16_t iError);

// One row of a detail view or form for a field of record element `element` (or "" when the
// field is not shown in detail views): text when read-only, an input control when editable;
// a local (new) record shows only the fields entered for new records.
std::string RenderDetailField(Session& session, std::string_view element, std::string_view field,
                              std::string_view value, std::string_view objectName, bool local,
                              bool editable);

// The cell with the SELECT of an enumerated field; mode "Modify" or "New".
std::string RenderEnumSelect(Session& session, std::string_view element, std::string_view field,
                             std::string_view value, std::string_view mode);

// One row of a local labor line (CostComponent, Task, HourlyLaborType, StartDate, EndDate
// only; "" for any other field).
std::string RenderLaborField(Session& session, std::string_view element, std::string_view field,
                             std::string_view value, std::string_view objectName, bool editable);

// Sets session.state.currentActivityDescription from the store file ("" when not found).
void LoadActivityDescription(Session& session, std::string_view order, std::string_view activity);

// True when the order's activities may not be changed: its field at position 19 in the store
// file holds "1". False when the order is absent.
bool OrderActivitiesLocked(Session& session, std::string_view order);

}  // namespace quillmere
