#include "component/store/add_records.h"

#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/store/change_request.h"
#include "component/store/field_validation.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/store_index.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kAddAction = "Add XML";

// A store container as the add steps reach it: "zudivevezored/<container>".
xml::Node storeContainer(Session& session, std::string_view container) {
    return xml::requireNode(StoreContainer(session.state.orderStore.node(), container));
}

xml::Node storeRoot(Session& session) {
    return session.state.orderStore.node();
}

// Appends a deep copy of `element` to `parent` in state "N".
void appendAsNew(xml::Node parent, xml::Node element) {
    SetRecordState(xml::appendCopy(parent, element), kStateNew);
}

// The empty activity group of a new order, built as an element so that any order number
// (markup characters included) becomes an attribute value.
void buildNewActivityGroup(xml::Document& holder, std::string_view order) {
    holder.clear();
    xml::Node group = xml::appendElement(holder.node(), "ServiceOrder");
    xml::setAttribute(group, "ID", order);
    SetRecordState(group, kStateNew);
}

}  // namespace

bool AddOrder(Session& session, std::string_view order, xml::Node record, std::string& message) {
    if (FindOrder(storeRoot(session), order)) {
        message = GetLabelText(session, label::kOrderExists);
        return false;
    }
    if (!ValidateRecord(session, record, kOrders, message)) return false;
    appendAsNew(storeContainer(session, kOrders), record);
    message.clear();
    return true;
}

bool AddActivityGroup(Session& session, std::string_view order, xml::Node group,
                      std::string& message) {
    message.clear();
    if (FindActivityGroup(storeRoot(session), order)) return false;
    if (const xml::Node first = xml::firstChildElement(group)) {
        if (!ValidateRecord(session, first, kActivities, message)) return false;
    }
    xml::appendCopy(storeContainer(session, kActivities), group);
    return true;
}

bool AddActivity(Session& session, std::string_view order, std::string_view activity,
                 xml::Node element, std::string& message) {
    xml::Node lastGroup;
    for (xml::Node group : xml::elementChildren(FindContainer(storeRoot(session), kActivities))) {
        if (!xml::attributeEquals(group, "ID", order)) continue;
        if (xml::childWithAttribute(group, "Activity", activity)) {
            message = GetLabelText(session, label::kActivityExists);
            return false;
        }
        lastGroup = group;
    }
    if (!ValidateRecord(session, element, kActivities, message)) return false;
    appendAsNew(xml::requireNode(lastGroup), element);
    message.clear();
    return true;
}

bool AddLineGroup(Session& session, std::string_view container, std::string_view order,
                  std::string_view activity, xml::Node group, std::string& message) {
    message.clear();
    if (FindLineGroup(storeRoot(session), container, order, activity)) return false;
    const xml::Node firstLine = xml::requireNode(xml::firstChildElement(group));
    if (!ValidateRecord(session, firstLine, container, message)) return false;
    xml::appendCopy(storeContainer(session, container), group);
    return true;
}

bool AddLine(Session& session, std::string_view container, std::string_view order,
             std::string_view activity, std::string_view line, xml::Node element,
             std::string& message) {
    const xml::Node group = FindLineGroup(storeRoot(session), container, order, activity);
    // A group without lines takes no line (and says nothing about it).
    if (!xml::firstChildElement(group)) return false;
    if (xml::childWithAttribute(group, "LineNumber", line)) {
        message = GetLabelText(session, label::kLineExists);
        return false;
    }
    if (!ValidateRecord(session, element, container, message)) return false;
    appendAsNew(group, element);
    message.clear();
    return true;
}

namespace {

// Runs the steps of the request's record kind; `stored` tells whether the store changed.
std::string addByKind(Session& session, xml::Node requestRoot, bool& stored) {
    const std::string_view kind = requestRoot.name();
    std::string message;
    if (kind == kOrders) {
        const xml::Node record = xml::requireNode(xml::firstDescendant(requestRoot, "record"));
        const std::string order = xml::requireAttribute(record, "ServiceOrder");
        stored = AddOrder(session, order, record, message);
        if (stored) {
            xml::Document newGroup;
            buildNewActivityGroup(newGroup, order);
            std::string groupMessage;  // not reported: the order itself is stored
            AddActivityGroup(session, order, newGroup.root(), groupMessage);
        }
    } else if (kind == kActivities) {
        const xml::Node group = xml::requireNode(xml::firstDescendant(requestRoot, "ServiceOrder"));
        const xml::Node activity = xml::requireNode(xml::firstChildElement(group));
        stored = AddActivity(session, xml::requireAttribute(group, "ID"),
                             xml::requireAttribute(activity, "Activity"), activity, message);
    } else if (kind == kMaterialLines || kind == kLaborLines || kind == kOtherLines) {
        const xml::Node group = xml::requireNode(xml::firstDescendant(requestRoot, "ServiceOrder"));
        const std::string order = xml::requireAttribute(group, "ID");
        const std::string activity = xml::requireAttribute(group, "Activity");
        stored = AddLineGroup(session, kind, order, activity, group, message);
        if (!stored && message.empty()) {
            const xml::Node line = xml::requireNode(xml::firstChildElement(group));
            stored = AddLine(session, kind, order, activity,
                             xml::requireAttribute(line, "LineNumber"), line, message);
        }
    }
    return message;
}

}  // namespace

std::string AddRecord(Session& session, xml::Node requestRoot) {
    bool stored = false;
    try {
        std::string message = addByKind(session, requestRoot, stored);
        if (stored) SaveOrderStore(session);
        return message;
    } catch (...) {
        // What was stored before a DOM error stays stored, as with saving step by step.
        if (stored) SaveOrderStore(session);
        throw;
    }
}

std::string AddXml(Session& session, const std::string& iXML) {
    SetLastError(session, kNoError);
    if (iXML.empty()) {
        const std::string message = GetLabelText(session, label::kNothingToAdd);
        SetLastError(session, message);
        return message;
    }
    xml::Document request;
    if (!request.parse(iXML)) {
        const std::string message = GetLabelText(session, label::kNewRecordNotXml);
        LogRejectedRequest(session, kAddAction, message, iXML);
        SetLastError(session, message);
        return message;
    }
    if (std::string result; !LoadForChange(session, kAddAction, result)) return result;
    const std::string message = AddRecord(session, request.root());
    if (message.empty()) return {};
    LogRejectedRequest(session, kAddAction, message, iXML);
    SetLastError(session, message);
    return message;
}

}  // namespace quillmere
