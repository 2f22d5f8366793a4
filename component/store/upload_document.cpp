#include "component/store/upload_document.h"

#include "component/core/install_paths.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "platform/failure.h"
#include "platform/text_file.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kOpenOrder = "15";
constexpr std::string_view kFinished = "20";
constexpr std::string_view kWholeGroup = "1";
constexpr std::string_view kOneRecord = "2";

bool isElement(xml::Node node) {
    return node.type() == pugi::node_element;
}

bool isLineContainer(std::string_view container) {
    return container == kMaterialLines || container == kLaborLines || container == kOtherLines;
}

[[noreturn]] void throwObjectNotSet() {
    throw platform::PlatformError(platform::failure::kObjectNotSet,
                                  "Object variable or With block variable not set");
}

// The text of the record's first field (its status); a record without fields is an error.
std::string statusOf(xml::Node record) {
    return xml::text(xml::requireNode(xml::firstChildElement(record)));
}

// Removes from a group of the copy the children with nothing to send, and marks the others.
void filterChildren(xml::Node group, std::string_view container, UploadMarks& marks) {
    const bool lines = isLineContainer(container);
    xml::Node child = group.first_child();
    while (child) {
        const xml::Node next = child.next_sibling();
        if (isElement(child)) {
            if (IsSettledForUpload(RecordState(child))) {
                xml::remove(child);
            } else if (lines) {
                marks.MarkUploaded(container, xml::requireAttribute(group, "ID"),
                                   xml::requireAttribute(group, "Activity"),
                                   xml::requireAttribute(child, "LineNumber"), kOneRecord);
            } else {
                marks.MarkUploaded(container, xml::requireAttribute(group, "ID"),
                                   xml::requireAttribute(child, "Activity"), "", kOneRecord);
            }
        }
        child = next;
    }
}

}  // namespace

// --- Activity groups --------------------------------------------------------------------------

ActivityGroupIndex::ActivityGroupIndex(xml::Node documentRoot) {
    for (xml::Node group = FindContainer(documentRoot, kActivities).first_child(); group;
         group = group.next_sibling()) {
        if (!isElement(group)) continue;
        const pugi::xml_attribute id = group.attribute("ID");
        if (!id) continue;
        firstGroups_.try_emplace(id.value(), group);
        if (group.first_child()) ordersWithActivities_.insert(id.value());
    }
}

xml::Node ActivityGroupIndex::firstGroup(std::string_view order) const {
    const auto found = firstGroups_.find(std::string(order));
    return found == firstGroups_.end() ? xml::Node() : found->second;
}

bool ActivityGroupIndex::hasActivities(std::string_view order) const {
    return ordersWithActivities_.count(std::string(order)) != 0;
}

bool HasActivities(std::string_view order, const ActivityGroupIndex& groups) {
    return groups.hasActivities(order);
}

bool ActivitiesFinished(std::string_view order, const ActivityGroupIndex& groups) {
    for (xml::Node activity : xml::childElements(groups.firstGroup(order)))
        if (statusOf(activity) != kFinished) return false;
    return true;
}

// --- Completion -------------------------------------------------------------------------------

bool CompleteFinishedOrder(xml::Node storeRoot) {
    const ActivityGroupIndex groups(storeRoot);
    for (xml::Node record : xml::childElements(FindContainer(storeRoot, kOrders))) {
        if (statusOf(record) != kOpenOrder) continue;
        const std::string order = xml::attribute(record, "ServiceOrder").value_or("");
        if (!HasActivities(order, groups) || !ActivitiesFinished(order, groups)) continue;
        xml::setText(xml::firstChildElement(record), kFinished);
        if (RecordState(record) == kStateReceived) SetRecordState(record, kStateChanged);
        return true;
    }
    return false;
}

Variant CompleteOrder(Session& session) {
    if (LoadOrderStore(session) && CompleteFinishedOrder(session.state.orderStore.node()))
        SaveOrderStore(session);
    return {};
}

// --- Marking ----------------------------------------------------------------------------------

UploadMarks::UploadMarks(xml::Node storeRoot) : index_(storeRoot) {}

void UploadMarks::mark(xml::Node record) {
    AppendUploadMark(record);
    changed_ = true;
}

const std::vector<xml::Node>& UploadMarks::childrenWithKey(xml::Node group,
                                                           const char* keyAttribute,
                                                           std::string_view key) {
    static const std::vector<xml::Node> kNone;
    auto [entry, added] = children_.try_emplace(group.internal_object());
    KeyedChildren& byKey = entry->second;
    if (added) {
        for (xml::Node child = group.first_child(); child; child = child.next_sibling()) {
            if (!isElement(child)) continue;
            if (const pugi::xml_attribute value = child.attribute(keyAttribute))
                byKey[value.value()].push_back(child);
        }
    }
    const auto found = byKey.find(std::string(key));
    return found == byKey.end() ? kNone : found->second;
}

void UploadMarks::MarkUploaded(std::string_view kind, std::string_view order,
                               std::string_view activity, std::string_view line,
                               std::string_view scope) {
    if (kind == kOrders) {
        if (const xml::Node record = index_.order(order)) mark(record);
        return;
    }
    const bool lines = isLineContainer(kind);
    if (!lines && kind != kActivities) return;
    const xml::Node group =
        lines ? index_.lineGroup(kind, order, activity) : index_.activityGroup(order);
    if (!group) return;
    if (scope == kWholeGroup) {
        mark(group);
        for (xml::Node child : xml::childElements(group)) mark(child);
        return;
    }
    const char* keyAttribute = lines ? "LineNumber" : "Activity";
    for (xml::Node child : childrenWithKey(group, keyAttribute, lines ? line : activity))
        mark(child);
}

// --- Filtering the copy -----------------------------------------------------------------------

void FilterOrders(xml::Node copyRoot, UploadMarks& marks) {
    const xml::Node orders = FindContainer(copyRoot, kOrders);
    if (!orders) throwObjectNotSet();
    // Decided on the copy before its groups are filtered, as the groups stand in the store.
    const ActivityGroupIndex groups(copyRoot);
    xml::Node record = orders.first_child();
    while (record) {
        const xml::Node next = record.next_sibling();
        if (isElement(record)) {
            const std::string state = RecordState(record);
            const std::string order = xml::requireAttribute(record, "ServiceOrder");
            if (IsSettledForUpload(state) || !HasActivities(order, groups))
                xml::remove(record);
            else
                marks.MarkUploaded(kOrders, order, "", "", kOneRecord);
        }
        record = next;
    }
}

void FilterGroups(xml::Node copyRoot, std::string_view container, UploadMarks& marks) {
    const xml::Node groups = FindContainer(copyRoot, container);
    if (!groups) return;
    const bool lines = isLineContainer(container);
    xml::Node group = groups.first_child();
    while (group) {
        const xml::Node next = group.next_sibling();
        if (isElement(group)) {
            if (RecordState(group) != kStateNew) {
                filterChildren(group, container, marks);
                if (!group.first_child()) xml::remove(group);
            } else if (lines) {
                marks.MarkUploaded(container, xml::requireAttribute(group, "ID"),
                                   xml::requireAttribute(group, "Activity"), "", kWholeGroup);
            } else if (!group.first_child()) {
                xml::remove(group);
            } else {
                marks.MarkUploaded(container, xml::requireAttribute(group, "ID"), "", "",
                                   kWholeGroup);
            }
        }
        group = next;
    }
}

bool HasUploadContent(xml::Node documentRoot) {
    for (std::string_view container :
         {kOrders, kActivities, kMaterialLines, kLaborLines, kOtherLines}) {
        if (FindContainer(documentRoot, container).first_child()) return true;
    }
    return false;
}

// --- The upload document ----------------------------------------------------------------------

std::string CreateXMLStringForUpdate(Session& session) {
    const bool loaded = LoadOrderStore(session);
    if (!platform::fileExists(session.path(paths::kOrderStore))) return {};
    // A store that exists but does not load gives a copy without containers.
    if (!loaded) throwObjectNotSet();

    const xml::Node storeRoot = session.state.orderStore.node();
    const bool completed = CompleteFinishedOrder(storeRoot);
    UploadMarks marks(storeRoot);
    const auto saveChanges = [&] {
        if (completed || marks.changed()) SaveOrderStore(session);
    };
    std::string upload;
    try {
        xml::Document copy;
        copy.native().reset(session.state.orderStore.native());
        FilterOrders(copy.node(), marks);
        for (std::string_view container : {kActivities, kMaterialLines, kLaborLines, kOtherLines})
            FilterGroups(copy.node(), container, marks);
        if (HasUploadContent(copy.node())) upload = copy.serialize();
    } catch (...) {
        // Marks made before the failure stay, as when each mark was saved on its own.
        saveChanges();
        throw;
    }
    saveChanges();
    return upload;
}

}  // namespace quillmere
