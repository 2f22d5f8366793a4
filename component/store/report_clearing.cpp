#include "component/store/report_clearing.h"

#include "component/core/record_kind.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/store_index.h"
#include "component/store/upload_report.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kLineContainers[] = {kMaterialLines, kLaborLines, kOtherLines};

struct ReportEntryKey {
    std::string_view order;
    std::string_view activity;
    std::string_view line;
    std::string_view costType;

    // An entry lacking one of the attributes names no record.
    bool matches(xml::Node entry) const {
        return xml::attributeEquals(entry, kEntryOrder, order) &&
               xml::attributeEquals(entry, kEntryActivity, activity) &&
               xml::attributeEquals(entry, kEntryCostLine, line) &&
               xml::attributeEquals(entry, kEntryCostType, costType);
    }
};

// Removes the first entry of any group that names the record, and the group when it held
// nothing else. True when an entry was removed.
bool removeFirstEntry(const xml::Document& report, const ReportEntryKey& key) {
    for (xml::Node group : ReportGroups(report)) {
        for (xml::Node entry : ReportEntries(group)) {
            if (!key.matches(entry)) continue;
            RemoveEntryAndEmptyGroup(entry);
            return true;
        }
    }
    return false;
}

// Puts the children in "NU" that `selected` accepts back to "N", and the group with them.
template <typename Select>
void resetNewChildren(xml::Node group, Select selected) {
    bool reset = false;
    for (xml::Node child : xml::elementChildren(group)) {
        if (!selected(child) || RecordState(child) != kStateNewUploaded) continue;
        SetRecordState(child, kStateNew);
        reset = true;
    }
    if (reset) SetRecordState(group, kStateNew);
}

template <typename Visit>
void forEachGroup(xml::Node storeRoot, std::string_view container, Visit visit) {
    for (xml::Node group : xml::elementChildren(FindContainer(storeRoot, container))) visit(group);
}

const auto kEveryChild = [](xml::Node) { return true; };

void resetChildrenOfNewOrder(xml::Node storeRoot, std::string_view order) {
    forEachGroup(storeRoot, kActivities, [&](xml::Node group) {
        if (xml::attributeEquals(group, "ID", order)) resetNewChildren(group, kEveryChild);
    });
    for (std::string_view container : kLineContainers) {
        forEachGroup(storeRoot, container, [&](xml::Node group) {
            if (xml::attributeEquals(group, "ID", order)) resetNewChildren(group, kEveryChild);
        });
    }
}

void resetChildrenOfNewActivity(xml::Node storeRoot, std::string_view order,
                                std::string_view activity) {
    if (const xml::Node group = FindActivityGroup(storeRoot, order)) {
        resetNewChildren(group, [&](xml::Node child) {
            return xml::attributeEquals(child, "Activity", activity);
        });
    }
    for (std::string_view container : kLineContainers) {
        forEachGroup(storeRoot, container, [&](xml::Node group) {
            if (xml::attributeEquals(group, "ID", order) &&
                xml::attributeEquals(group, "Activity", activity))
                resetNewChildren(group, kEveryChild);
        });
    }
}

}  // namespace

std::string_view ReportCostType(std::string_view kind) {
    const RecordKind* recordKind = RecordKindByElement(kind);
    return recordKind ? recordKind->costType : std::string_view();
}

void ClearReportEntry(Session& session, std::string_view order, std::string_view activity,
                      std::string_view line, std::string_view kind) {
    const std::string_view costType = ReportCostType(kind);
    xml::Document report;
    const bool removed = LoadUploadReport(session, report) &&
                         removeFirstEntry(report, {order, activity, line, costType});
    if (removed) ResetChildStates(session.state.orderStore.node(), order, activity, line, costType);
    SaveOrderStore(session);
    if (removed) SaveUploadReport(session, report);
}

void ResetChildStates(xml::Node storeRoot, std::string_view order, std::string_view activity,
                      std::string_view /*line*/, std::string_view costType) {
    if (!costType.empty()) return;
    if (activity.empty()) {
        if (IsProvisionalNumber(order)) resetChildrenOfNewOrder(storeRoot, order);
    } else if (IsProvisionalNumber(order) && IsProvisionalNumber(activity)) {
        resetChildrenOfNewActivity(storeRoot, order, activity);
    }
}

}  // namespace quillmere
