#pragma once
// Empty entry forms for new records: CreateForm for the five record kinds, NewObject for a
// new activity whose order is picked from a drop-down. Each form reserves the new record's
// provisional number ("_" + counter) when it is built, and carries one row per field
// definition: an input for fields marked NEW, a hidden empty input for the others, so that the
// page finds one element per field name when it collects the form.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// Public methods. "" when the last error is no longer "1" at the end (for example when the
// field definitions do not load: last error label::kFieldDefinitionsNotLoaded).
std::string CreateForm(Session& session, const std::string& iObject, const std::string& iOrno,
                       const std::string& iAcln);
std::string NewObject(Session& session, const std::string& iObject, const std::string& iOrno,
                      const std::string& iAcln);

// The form block of CreateForm; takes the new number into `order`, `activity` or `line`.
std::string BuildNewRecordForm(Session& session, std::string_view element,
                               std::string_view objectName, std::string& order,
                               std::string& activity, std::string& line);

// One row of a new-record form for the field definition `field` of `element`.
std::string RenderNewField(Session& session, std::string_view element, std::string_view field,
                           std::string_view objectName, std::string_view order);

// The Configuration field of the order in the store file; "" when there is none.
std::string GetOrderConfiguration(Session& session, std::string_view order);

// The form block of NewObject; takes the new activity number into `activity`.
std::string BuildNewActivityForm(Session& session, std::string_view element,
                                 std::string_view objectName, std::string& order,
                                 std::string& activity);

// The row with the drop-down of every order (kind "2"; any other kind lists none). "" and the
// last error label::kOrderStoreNotLoaded when the store does not load.
std::string BuildOrderSelectRow(Session& session, std::string_view kind);

}  // namespace quillmere
