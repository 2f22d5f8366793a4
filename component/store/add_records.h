#pragma once
// AddXml: the page sends a record created on the laptop (an order, an activity or a cost line,
// numbered "_n" by the entry forms). A number already in the store is refused, the record is
// validated like an update, and it is stored in state "N"; a new order also gets its empty
// activity group.
//
// Failures: as updatexml; refused numbers and validation messages are also logged and written
// to the last error. DOM errors (an activity for an order without activity group) reach the
// method frame.
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// Public method: "" on success, otherwise the failure text.
std::string AddXml(Session& session, const std::string& iXML);

// Adds the record of the parsed request to the loaded store (and saves it when something was
// stored); returns the message of the step that ran, "" on success.
std::string AddRecord(Session& session, platform::xml::Node requestRoot);

// The steps. Each returns true when it stored something (the store is then changed in memory;
// AddRecord saves it) and sets the message.
bool AddOrder(Session& session, std::string_view order, platform::xml::Node record,
              std::string& message);
bool AddActivityGroup(Session& session, std::string_view order, platform::xml::Node group,
                      std::string& message);
bool AddActivity(Session& session, std::string_view order, std::string_view activity,
                 platform::xml::Node element, std::string& message);
bool AddLineGroup(Session& session, std::string_view container, std::string_view order,
                  std::string_view activity, platform::xml::Node group, std::string& message);
bool AddLine(Session& session, std::string_view container, std::string_view order,
             std::string_view activity, std::string_view line, platform::xml::Node element,
             std::string& message);

}  // namespace quillmere
