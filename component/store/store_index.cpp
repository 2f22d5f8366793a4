#include "component/store/store_index.h"

#include <utility>

#include "component/store/order_store.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

bool isElementNamed(xml::Node node, std::string_view name) {
    return node.type() == pugi::node_element && name == node.name();
}

xml::Node rootElement(xml::Node storeRoot) {
    return storeRoot.type() == pugi::node_document ? xml::firstChildElement(storeRoot) : storeRoot;
}

// The first element of that name in document order below `scope`, without recursion.
xml::Node firstDescendantNamed(xml::Node scope, std::string_view name) {
    xml::Node node = scope.first_child();
    while (node) {
        if (isElementNamed(node, name)) return node;
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling() && node != scope) node = node.parent();
        if (!node || node == scope) return {};
        node = node.next_sibling();
    }
    return {};
}

}  // namespace

xml::Node FindContainer(xml::Node storeRoot, std::string_view container) {
    const xml::Node root = rootElement(storeRoot);
    if (!root) return {};
    if (isElementNamed(root, container)) return root;
    for (xml::Node child = root.first_child(); child; child = child.next_sibling())
        if (isElementNamed(child, container)) return child;
    return firstDescendantNamed(root, container);
}

std::string OrderStatusOf(xml::Node orderRecord) {
    return xml::text(xml::requireNode(xml::firstChildElement(orderRecord)));
}

StoreIndex::StoreIndex(xml::Node storeRoot) : storeRoot_(rootElement(storeRoot)) {
    indexChildren(orders_, container(kOrders), "ServiceOrder");
    indexChildren(activityGroups_, container(kActivities), "ID");
    for (std::string_view lines : {kMaterialLines, kLaborLines, kOtherLines}) {
        for (xml::Node group = container(lines).first_child(); group; group = group.next_sibling())
            if (group.type() == pugi::node_element) addLineGroup(lines, group);
    }
}

xml::Node StoreIndex::container(std::string_view name) const {
    return FindContainer(storeRoot_, name);
}

xml::Node StoreIndex::order(std::string_view order) const {
    return lookUp(orders_, order);
}

xml::Node StoreIndex::activityGroup(std::string_view order) const {
    return lookUp(activityGroups_, order);
}

xml::Node StoreIndex::lineGroup(std::string_view container, std::string_view order,
                                std::string_view activity) const {
    const NodeMap* map = lineGroupsOf(container);
    return map ? lookUp(*map, lineKey(order, activity)) : xml::Node();
}

void StoreIndex::addOrder(xml::Node record) {
    if (const pugi::xml_attribute key = record.attribute("ServiceOrder"))
        orders_.try_emplace(key.value(), record);
}

void StoreIndex::addActivityGroup(xml::Node group) {
    if (const pugi::xml_attribute key = group.attribute("ID"))
        activityGroups_.try_emplace(key.value(), group);
}

void StoreIndex::addLineGroup(std::string_view container, xml::Node group) {
    NodeMap* map = lineGroupsOf(container);
    const pugi::xml_attribute order = group.attribute("ID");
    const pugi::xml_attribute activity = group.attribute("Activity");
    if (map && order && activity) map->try_emplace(lineKey(order.value(), activity.value()), group);
}

std::string StoreIndex::lineKey(std::string_view order, std::string_view activity) {
    std::string key(order);
    key += '\0';  // cannot occur in an attribute value, so no two pairs share a key
    key += activity;
    return key;
}

xml::Node StoreIndex::lookUp(const NodeMap& map, std::string_view key) {
    const auto found = map.find(key);
    return found == map.end() ? xml::Node() : found->second;
}

// First match wins, as with a walk in document order.
void StoreIndex::indexChildren(NodeMap& map, xml::Node container, const char* keyAttribute) {
    for (xml::Node child = container.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (const pugi::xml_attribute key = child.attribute(keyAttribute))
            map.try_emplace(key.value(), child);
    }
}

StoreIndex::NodeMap* StoreIndex::lineGroupsOf(std::string_view container) {
    return const_cast<NodeMap*>(std::as_const(*this).lineGroupsOf(container));
}

const StoreIndex::NodeMap* StoreIndex::lineGroupsOf(std::string_view container) const {
    if (container == kMaterialLines) return &materialGroups_;
    if (container == kLaborLines) return &laborGroups_;
    if (container == kOtherLines) return &otherGroups_;
    return nullptr;
}

}  // namespace quillmere
