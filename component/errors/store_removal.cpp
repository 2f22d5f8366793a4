#include "component/errors/store_removal.h"

#include <vector>

#include "component/store/order_store.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

xml::Node firstElementNamed(xml::Node storeRoot, std::string_view name) {
    if (storeRoot.type() == pugi::node_element && name == storeRoot.name()) return storeRoot;
    for (xml::Node node = storeRoot.first_child(); node;) {
        if (node.type() == pugi::node_element && name == node.name()) return node;
        // Document order: down first, then along, then back up.
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != storeRoot && !node.next_sibling()) node = node.parent();
        if (!node || node == storeRoot) break;
        node = node.next_sibling();
    }
    return {};
}

bool attributeIs(xml::Node node, std::string_view name, std::string_view value) {
    const pugi::xml_attribute attribute = node.attribute(std::string(name).c_str());
    return attribute && value == attribute.value();
}

// Removes the first child element whose `key` is `value`, or every child when `value` is
// empty. True when anything went.
bool removeChildren(xml::Node group, std::string_view key, std::string_view value) {
    if (value.empty()) {
        const bool any = static_cast<bool>(group.first_child());
        while (xml::Node child = group.first_child()) group.remove_child(child);
        return any;
    }
    for (xml::Node child : xml::childElements(group)) {
        if (attributeIs(child, key, value)) {
            xml::remove(child);
            return true;
        }
    }
    return false;
}

bool removeIfEmpty(xml::Node group) {
    if (group.first_child()) return false;
    xml::remove(group);
    return true;
}

}  // namespace

bool RemoveActivities(xml::Node storeRoot, std::string_view order, std::string_view activity) {
    const xml::Node container = firstElementNamed(storeRoot, kActivities);
    if (!container) return false;
    for (xml::Node group : xml::childElements(container)) {
        if (!attributeIs(group, "ID", order)) continue;
        const bool removed = removeChildren(group, "Activity", activity);
        return removeIfEmpty(group) || removed;
    }
    return false;
}

bool RemoveLines(xml::Node storeRoot, std::string_view order, std::string_view activity,
                 std::string_view line, std::string_view container) {
    const xml::Node lines = firstElementNamed(storeRoot, container);
    if (!lines) return false;
    bool removed = false;
    for (xml::Node group : xml::childElements(lines)) {
        if (!attributeIs(group, "ID", order)) continue;
        if (!activity.empty() && !attributeIs(group, "Activity", activity)) continue;
        removed = removeChildren(group, "LineNumber", line) || removed;
        removed = removeIfEmpty(group) || removed;
    }
    return removed;
}

}  // namespace quillmere
