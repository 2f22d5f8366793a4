#pragma once
// Validation of a record that the page sends (a changed or a new order, activity or cost
// line): every field by its name's rules, in document order, against the field definitions and
// the local master data.
//
// Some rules depend on fields met earlier: the last Configuration, Object, Interrupted,
// OrderStatus and ActivityStatus values are remembered in session.state.validation and are
// never reset, so a record that carries Configuration, Object, ObjectNumber, OrderStatus,
// Interrupted and InterruptionReason in that order is checked against its own values.
//
// Failures: a rule that fails gives its message (mostly the field's label, one blank and a
// label text); master-data queries that cannot run (no open connection, a missing table) and
// errors of the field-definition document reach the caller as platform errors.
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// True when every field of `record` passes ValidateField for the record kind `kind` (the
// store container's name); stops at the first failure with its message. The delivery type of
// a material line is its DeliveryType field (the last one from the second field on).
bool ValidateRecord(Session& session, platform::xml::Node record, std::string_view kind,
                    std::string& message);

// True when the value passes the rules of its field; otherwise false with the message. The
// message is cleared on entry.
bool ValidateField(Session& session, std::string_view kind, std::string_view field,
                   const std::string& value, std::string& message, std::string_view deliveryType);

// The LABEL of the first kind/field definition of the loaded field-definition document; the
// field's name when it has none.
std::string FieldLabel(Session& session, std::string_view kind, std::string_view field);

}  // namespace quillmere
