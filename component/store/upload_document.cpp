#include "component/store/upload_document.h"

#include "component/core/install_paths.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "platform/failure.h"
#include "platform/text_file.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kWholeGroup = "1";
constexpr std::string_view kOneRecord = "2";

bool isLineContainer(std::string_view container) {
    return container == kMaterialLines || container == kLaborLines || container == kOtherLines;
}

std::optional<OrderStatus> statusOf(xml::Node record) {
    return ParseOrderStatus(OrderStatusOf(record));
}

// Removes from a group of the copy the children with nothing to send, and marks the others.
void filterChildren(xml::Node group, std::string_view container, UploadMarks& marks) {
    const bool lines = isLineContainer(container);
    for (xml::Node child : xml::elementChildren(group)) {
        if (IsSettledForUpload(RecordState(child))) {
            xml::remove(child);
        } else if (lines) {
            marks.markUploaded(container, xml::requireAttribute(group, "ID"),
                               xml::requireAttribute(group, "Activity"),
                               xml::requireAttribute(child, "LineNumber"), kOneRecord);
        } else {
            marks.markUploaded(container, xml::requireAttribute(group, "ID"),
                               xml::requireAttribute(child, "Activity"), "", kOneRecord);
        }
    }
}

}  // namespace

// --- Activity groups --------------------------------------------------------------------------

ActivityGroupIndex::ActivityGroupIndex(xml::Node documentRoot) {
    for (xml::Node group : xml::elementChildren(FindContainer(documentRoot, kActivities))) {
        const auto id = xml::attributeView(group, "ID");
        if (!id) continue;
        firstGroups_.try_emplace(std::string(*id), group);
        if (xml::hasChildNodes(group)) ordersWithActivities_.emplace(*id);
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
        if (statusOf(activity) != OrderStatus::Finished) return false;
    return true;
}

// --- Completion -------------------------------------------------------------------------------

bool CompleteFinishedOrder(xml::Node storeRoot) {
    const ActivityGroupIndex groups(storeRoot);
    for (xml::Node record : xml::childElements(FindContainer(storeRoot, kOrders))) {
        if (statusOf(record) != OrderStatus::Open) continue;
        const std::string order = xml::attribute(record, "ServiceOrder").value_or("");
        if (!HasActivities(order, groups) || !ActivitiesFinished(order, groups)) continue;
        xml::setText(xml::firstChildElement(record), StatusCode(OrderStatus::Finished));
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
                                                           std::string_view keyAttribute,
                                                           std::string_view key) {
    static const std::vector<xml::Node> kNone;
    auto [entry, added] = children_.try_emplace(group);
    KeyedChildren& byKey = entry->second;
    if (added) {
        for (xml::Node child : xml::elementChildren(group)) {
            if (const auto value = xml::attributeView(child, keyAttribute))
                byKey[std::string(*value)].push_back(child);
        }
    }
    const auto found = byKey.find(std::string(key));
    return found == byKey.end() ? kNone : found->second;
}

void UploadMarks::markUploaded(std::string_view kind, std::string_view order,
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
    const std::string_view keyAttribute = lines ? "LineNumber" : "Activity";
    for (xml::Node child : childrenWithKey(group, keyAttribute, lines ? line : activity))
        mark(child);
}

// --- Filtering the copy -----------------------------------------------------------------------

void FilterOrders(xml::Node copyRoot, UploadMarks& marks) {
    const xml::Node orders = FindContainer(copyRoot, kOrders);
    if (!orders) throw platform::objectNotSet();
    // Decided on the copy before its groups are filtered, as the groups stand in the store.
    const ActivityGroupIndex groups(copyRoot);
    for (xml::Node record : xml::elementChildren(orders)) {
        const std::string state = RecordState(record);
        const std::string order = xml::requireAttribute(record, "ServiceOrder");
        if (IsSettledForUpload(state) || !HasActivities(order, groups))
            xml::remove(record);
        else
            marks.markUploaded(kOrders, order, "", "", kOneRecord);
    }
}

void FilterGroups(xml::Node copyRoot, std::string_view container, UploadMarks& marks) {
    const xml::Node groups = FindContainer(copyRoot, container);
    if (!groups) return;
    const bool lines = isLineContainer(container);
    for (xml::Node group : xml::elementChildren(groups)) {
        if (RecordState(group) != kStateNew) {
            filterChildren(group, container, marks);
            if (!xml::hasChildNodes(group)) xml::remove(group);
        } else if (lines) {
            marks.markUploaded(container, xml::requireAttribute(group, "ID"),
                               xml::requireAttribute(group, "Activity"), "", kWholeGroup);
        } else if (!xml::hasChildNodes(group)) {
            xml::remove(group);
        } else {
            marks.markUploaded(container, xml::requireAttribute(group, "ID"), "", "", kWholeGroup);
        }
    }
}

bool HasUploadContent(xml::Node documentRoot) {
    for (std::string_view container :
         {kOrders, kActivities, kMaterialLines, kLaborLines, kOtherLines}) {
        if (xml::hasChildNodes(FindContainer(documentRoot, container))) return true;
    }
    return false;
}

// --- The upload document ----------------------------------------------------------------------

std::string CreateXMLStringForUpdate(Session& session) {
    const bool loaded = LoadOrderStore(session);
    if (!platform::fileExists(session.path(paths::kOrderStore))) return {};
    // A store that exists but does not load gives a copy without containers.
    if (!loaded) throw platform::objectNotSet();

    const xml::Node storeRoot = session.state.orderStore.node();
    const bool completed = CompleteFinishedOrder(storeRoot);
    UploadMarks marks(storeRoot);
    const auto saveChanges = [&] {
        if (completed || marks.changed()) SaveOrderStore(session);
    };
    std::string upload;
    try {
        xml::Document copy;
        copy.copyFrom(session.state.orderStore);
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
