#include "component/store/delete_records.h"

#include "component/core/record_kind.h"
#include "component/store/order_store.h"
#include "component/store/store_index.h"
#include "platform/failure.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

void removeIfPresent(xml::Node node) {
    if (node) xml::remove(node);
}

// Removes every group of the container that the predicate accepts (or only the first).
template <typename Select>
void removeGroups(xml::Node storeRoot, std::string_view container, bool firstOnly,
                  Select selected) {
    for (xml::Node group : xml::elementChildren(FindContainer(storeRoot, container))) {
        if (!selected(group)) continue;
        xml::remove(group);
        if (firstOnly) return;
    }
}

void deleteOrder(xml::Node storeRoot, std::string_view order) {
    const xml::Node record = FindOrder(storeRoot, order);
    if (!record) return;
    xml::remove(record);
    removeIfPresent(FindActivityGroup(storeRoot, order));
    for (std::string_view container : {kMaterialLines, kOtherLines, kLaborLines}) {
        removeGroups(storeRoot, container, false,
                     [&](xml::Node group) { return xml::attributeEquals(group, "ID", order); });
    }
}

// An order never remains without activities: deleting its last one takes the order along.
void deleteActivity(xml::Node storeRoot, std::string_view order, std::string_view activity) {
    const xml::Node group = FindActivityGroup(storeRoot, order);
    removeIfPresent(FindActivity(storeRoot, order, activity));
    for (std::string_view container : {kMaterialLines, kOtherLines, kLaborLines}) {
        removeGroups(storeRoot, container, true, [&](xml::Node lines) {
            return xml::attributeEquals(lines, "ID", order) &&
                   xml::attributeEquals(lines, "Activity", activity);
        });
    }
    if (group && !xml::hasChildNodes(group)) {
        xml::remove(group);
        removeIfPresent(FindOrder(storeRoot, order));
    }
}

void deleteLine(xml::Node storeRoot, std::string_view container, std::string_view order,
                std::string_view activity, std::string_view line) {
    const xml::Node group = FindLineGroup(storeRoot, container, order, activity);
    if (!group) return;
    removeIfPresent(FindLine(storeRoot, container, order, activity, line));
    if (!xml::hasChildNodes(group)) xml::remove(group);
}

// The line container of a page's cost type (the form name of its kind); hours registrations
// ("hra") are labor lines.
std::string_view lineContainerOf(std::string_view costType) {
    if (costType == "hra") return kLaborLines;
    const RecordKind* kind = RecordKindByObjectName(costType);
    return kind && kind->isCostLine() ? kind->element : std::string_view();
}

}  // namespace

Variant deleteNode(Session& session, std::string_view iorder, std::string_view iActivity,
                   std::string_view iLine, std::string_view iCostType) {
    if (!LoadOrderStore(session)) throw platform::objectNotSet();
    const xml::Node storeRoot = session.state.orderStore.node();
    if (!iorder.empty() && iActivity.empty() && iLine.empty()) {
        deleteOrder(storeRoot, iorder);
    } else if (!iorder.empty() && !iActivity.empty() && iLine.empty()) {
        deleteActivity(storeRoot, iorder, iActivity);
    } else if (!iorder.empty() && !iActivity.empty() && !iLine.empty()) {
        const std::string_view container = lineContainerOf(iCostType);
        if (!container.empty()) deleteLine(storeRoot, container, iorder, iActivity, iLine);
    }
    SaveOrderStore(session);
    return {};
}

}  // namespace quillmere
