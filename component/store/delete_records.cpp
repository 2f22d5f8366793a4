#include "component/store/delete_records.h"

#include "component/store/order_store.h"
#include "component/store/store_index.h"
#include "platform/failure.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

bool isElement(xml::Node node) {
    return node.type() == pugi::node_element;
}

bool attributeEquals(xml::Node node, const char* name, std::string_view value) {
    const pugi::xml_attribute found = node.attribute(name);
    return found && value == found.value();
}

void removeIfPresent(xml::Node node) {
    if (node) xml::remove(node);
}

// Removes every group of the container that the predicate accepts (or only the first).
template <typename Select>
void removeGroups(xml::Node storeRoot, std::string_view container, bool firstOnly,
                  Select selected) {
    xml::Node group = FindContainer(storeRoot, container).first_child();
    while (group) {
        const xml::Node next = group.next_sibling();
        if (isElement(group) && selected(group)) {
            xml::remove(group);
            if (firstOnly) return;
        }
        group = next;
    }
}

void deleteOrder(xml::Node storeRoot, std::string_view order) {
    const xml::Node record = FindOrder(storeRoot, order);
    if (!record) return;
    xml::remove(record);
    removeIfPresent(FindActivityGroup(storeRoot, order));
    for (std::string_view container : {kMaterialLines, kOtherLines, kLaborLines}) {
        removeGroups(storeRoot, container, false,
                     [&](xml::Node group) { return attributeEquals(group, "ID", order); });
    }
}

// An order never remains without activities: deleting its last one takes the order along.
void deleteActivity(xml::Node storeRoot, std::string_view order, std::string_view activity) {
    const xml::Node group = FindActivityGroup(storeRoot, order);
    removeIfPresent(FindActivity(storeRoot, order, activity));
    for (std::string_view container : {kMaterialLines, kOtherLines, kLaborLines}) {
        removeGroups(storeRoot, container, true, [&](xml::Node lines) {
            return attributeEquals(lines, "ID", order) &&
                   attributeEquals(lines, "Activity", activity);
        });
    }
    if (group && !group.first_child()) {
        xml::remove(group);
        removeIfPresent(FindOrder(storeRoot, order));
    }
}

void deleteLine(xml::Node storeRoot, std::string_view container, std::string_view order,
                std::string_view activity, std::string_view line) {
    const xml::Node group = FindLineGroup(storeRoot, container, order, activity);
    if (!group) return;
    removeIfPresent(FindLine(storeRoot, container, order, activity, line));
    if (!group.first_child()) xml::remove(group);
}

// The line container of a page's cost type; hours registrations are labor lines.
std::string_view lineContainerOf(std::string_view costType) {
    if (costType == "material") return kMaterialLines;
    if (costType == "other") return kOtherLines;
    if (costType == "labor" || costType == "hra") return kLaborLines;
    return {};
}

}  // namespace

Variant deleteNode(Session& session, std::string_view iorder, std::string_view iActivity,
                   std::string_view iLine, std::string_view iCostType) {
    if (!LoadOrderStore(session))
        throw platform::PlatformError(platform::failure::kObjectNotSet,
                                      "Object variable or With block variable not set");
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
