#include "component/errors/store_removal.h"

#include <vector>

#include "component/store/order_store.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

// The scope itself or the first element of that name below it, in document order.
xml::Node firstElementNamed(xml::Node storeRoot, std::string_view name) {
    if (xml::isElementNamed(storeRoot, name)) return storeRoot;
    return xml::firstDescendant(storeRoot, name);
}

// Removes the first child element whose `key` is `value`, or every child when `value` is
// empty. True when anything went.
bool removeChildren(xml::Node group, std::string_view key, std::string_view value) {
    if (value.empty()) {
        const bool any = xml::hasChildNodes(group);
        xml::removeChildren(group);
        return any;
    }
    if (const xml::Node child = xml::childWithAttribute(group, key, value)) {
        xml::remove(child);
        return true;
    }
    return false;
}

bool removeIfEmpty(xml::Node group) {
    if (xml::hasChildNodes(group)) return false;
    xml::remove(group);
    return true;
}

}  // namespace

bool RemoveActivities(xml::Node storeRoot, std::string_view order, std::string_view activity) {
    const xml::Node container = firstElementNamed(storeRoot, kActivities);
    if (!container) return false;
    for (xml::Node group : xml::childElements(container)) {
        if (!xml::attributeEquals(group, "ID", order)) continue;
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
        if (!xml::attributeEquals(group, "ID", order)) continue;
        if (!activity.empty() && !xml::attributeEquals(group, "Activity", activity)) continue;
        removed = removeChildren(group, "LineNumber", line) || removed;
        removed = removeIfEmpty(group) || removed;
    }
    return removed;
}

}  // namespace quillmere
