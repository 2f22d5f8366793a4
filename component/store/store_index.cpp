#include "component/store/store_index.h"

#include <utility>

#include "component/store/order_store.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

xml::Node rootElement(xml::Node storeRoot) {
    return xml::isElement(storeRoot) ? storeRoot : xml::firstChildElement(storeRoot);
}

}  // namespace

xml::Node FindContainer(xml::Node storeRoot, std::string_view container) {
    const xml::Node root = rootElement(storeRoot);
    if (!root) return {};
    if (xml::isElementNamed(root, container)) return root;
    if (const xml::Node child = xml::childNamed(root, container)) return child;
    return xml::firstDescendant(root, container);
}

StoreIndex::StoreIndex(xml::Node storeRoot) : storeRoot_(rootElement(storeRoot)) {
    indexChildren(orders_, container(kOrders), "ServiceOrder");
    indexChildren(activityGroups_, container(kActivities), "ID");
    for (std::string_view lines : {kMaterialLines, kLaborLines, kOtherLines}) {
        for (xml::Node group : xml::elementChildren(container(lines))) addLineGroup(lines, group);
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
    if (const auto key = xml::attributeView(record, "ServiceOrder"))
        orders_.try_emplace(std::string(*key), record);
}

void StoreIndex::addActivityGroup(xml::Node group) {
    if (const auto key = xml::attributeView(group, "ID"))
        activityGroups_.try_emplace(std::string(*key), group);
}

void StoreIndex::addLineGroup(std::string_view container, xml::Node group) {
    NodeMap* map = lineGroupsOf(container);
    const auto order = xml::attributeView(group, "ID");
    const auto activity = xml::attributeView(group, "Activity");
    if (map && order && activity) map->try_emplace(lineKey(*order, *activity), group);
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
void StoreIndex::indexChildren(NodeMap& map, xml::Node container, std::string_view keyAttribute) {
    for (xml::Node child : xml::elementChildren(container)) {
        if (const auto key = xml::attributeView(child, keyAttribute))
            map.try_emplace(std::string(*key), child);
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
