#include "component/errors/apply_upload_report.h"

#include "component/core/install_paths.h"
#include "component/errors/store_removal.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "platform/failure.h"
#include "platform/text.h"

namespace quillmere {

namespace xml = platform::xml;
using platform::PlatformError;

namespace {

bool isOneOf(std::string_view status, OrderStatus first, OrderStatus second) {
    return status == StatusCode(first) || status == StatusCode(second);
}

std::string attributeOr(xml::Node node, std::string_view name) {
    return xml::attribute(node, name).value_or("");
}

// As the agenda reads it from the store file: the first order record anywhere under an order
// container. The store in memory is what step-by-step saving would have left on disk.
std::string orderStatus(const ReportApplication& run, std::string_view order) {
    const auto found = run.orderRecords.find(std::string(order));
    if (found == run.orderRecords.end() || found->second.empty()) return {};
    return OrderStatusOf(found->second.front());
}

void forgetOrderRecord(ReportApplication& run, xml::Node record) {
    const auto found = run.orderRecords.find(attributeOr(record, "ServiceOrder"));
    if (found == run.orderRecords.end()) return;
    std::erase(found->second, record);
}

void removeOrder(ReportApplication& run, std::string_view order) {
    RemoveActivities(run.store, order, "");
    for (std::string_view container : {kOtherLines, kLaborLines, kMaterialLines})
        RemoveLines(run.store, order, "", "", container);
    if (const xml::Node record = FindOrder(run.store, order)) {
        forgetOrderRecord(run, record);
        xml::remove(record);
    }
    run.storeChanged = true;
}

void removeActivity(ReportApplication& run, std::string_view order, std::string_view activity) {
    RemoveActivities(run.store, order, activity);
    for (std::string_view container : {kOtherLines, kLaborLines, kMaterialLines})
        RemoveLines(run.store, order, activity, "", container);
    run.storeChanged = true;
}

xml::Node findRecord(const ReportApplication& run, const ReportedRecord& record) {
    if (!record.costType.empty()) {
        const std::string_view container = ReportCostTypeContainer(record.costType);
        if (container.empty()) return {};
        return FindLine(run.store, container, record.order, record.activity, record.line);
    }
    if (!record.activity.empty()) return FindActivity(run.store, record.order, record.activity);
    return FindOrder(run.store, record.order);
}

bool anyCompletedEntry(const xml::Document& report) {
    for (xml::Node group : ReportGroups(report))
        for (xml::Node entry : ReportEntries(group))
            if (attributeOr(entry, kReportStatus) == kStatusCompleted) return true;
    return false;
}

void saveChanges(ReportApplication& run) {
    // The store first: a report entry must not leave before its change is on disk.
    if (run.storeChanged) SaveOrderStore(run.session);
    if (run.reportChanged) SaveUploadReport(run.session, run.report);
    run.storeChanged = run.reportChanged = false;
}

void applyGroups(ReportApplication& run) {
    std::vector<xml::Node> groups = ReportGroups(run.report);
    for (xml::Node group : groups) {
        for (xml::Node entry : ReportEntries(group)) {
            if (attributeOr(entry, kReportStatus) != kStatusCompleted) continue;
            // File and ID are read although the entry is found by walking: a group without
            // File, or an ID that is no 16-bit number, stops the call here, before the entry
            // is applied.
            xml::requireAttribute(group, kReportFile);
            ReportEntryId(xml::requireAttribute(entry, kEntryId));
            const ReportedRecord record{xml::requireAttribute(entry, kEntryOrder),
                                        xml::requireAttribute(entry, kEntryActivity),
                                        xml::requireAttribute(entry, kEntryCostLine),
                                        xml::requireAttribute(entry, kEntryCostType)};
            ApplyCompletedEntry(run, record);
            RemoveReportEntry(run, entry);
        }
    }
}

}  // namespace

ReportApplication::ReportApplication(Session& session, xml::Document& report)
    : session(session), report(report), store(session.state.orderStore.root()), entries(report) {
    for (xml::Node record : xml::selectAll(store.parent(), "ccsocservcordr/record"))
        if (const auto number = xml::attribute(record, "ServiceOrder"))
            orderRecords[*number].push_back(record);
}

void ApplyUploadReport(Session& session) {
    xml::Document report;
    if (!LoadUploadReport(session, report))
        throw PlatformError(
            platform::failure::kXml,
            "The upload report " + std::string(paths::kUploadReport) + " cannot be loaded.");
    ApplyUploadReport(session, report);
}

void ApplyUploadReport(Session& session, xml::Document& report) {
    if (!LoadOrderStore(session)) {
        if (!anyCompletedEntry(report)) return;
        throw PlatformError(platform::failure::kXml,
                            "The order store " + std::string(paths::kOrderStore) +
                                " cannot be loaded; the completed entries stay in the upload "
                                "report.");
    }
    ReportApplication run(session, report);
    try {
        applyGroups(run);
    } catch (...) {
        saveChanges(run);
        throw;
    }
    saveChanges(run);
}

void ApplyCompletedEntry(ReportApplication& run, const ReportedRecord& record) {
    const bool finished = OrderIsFinished(run, record.order);
    if (!record.costType.empty()) {
        if (!finished) {
            if (ActivitiesConfirmed(run, record.order, record.activity)) {
                removeActivity(run, record.order, record.activity);
            } else {
                RemoveLines(run.store, record.order, record.activity, record.line,
                            ReportCostTypeContainer(record.costType));
                run.storeChanged = true;
            }
        } else if (ActivitiesConfirmed(run, record.order, "")) {
            removeOrder(run, record.order);
        }
        return;
    }
    if (!record.activity.empty()) {
        if (finished) {
            if (ActivitiesConfirmed(run, record.order, "")) removeOrder(run, record.order);
        } else if (ActivitiesConfirmed(run, record.order, record.activity)) {
            removeActivity(run, record.order, record.activity);
        } else {
            ResetUploadedState(run, record);
        }
        return;
    }
    if (finished && ActivitiesConfirmed(run, record.order, ""))
        removeOrder(run, record.order);
    else
        ResetUploadedState(run, record);
}

bool OrderIsFinished(ReportApplication& run, std::string_view order) {
    const std::string status = orderStatus(run, order);
    if (IsProvisionalNumber(order))
        return isOneOf(status, OrderStatus::Finished, OrderStatus::Open);
    return status == StatusCode(OrderStatus::Finished);
}

bool ActivitiesConfirmed(ReportApplication& run, std::string_view order,
                         std::string_view activity) {
    const xml::Node group = FindActivityGroup(run.store, order);
    if (!group) return false;
    const bool laptopOrder = IsProvisionalNumber(order);
    bool confirmed = false;
    for (xml::Node each : xml::childElements(group)) {
        const std::string number = attributeOr(each, "Activity");
        if (!activity.empty() && number != activity) continue;
        const std::string status = OrderStatusOf(each);
        if (laptopOrder) {
            // The first finished or open activity decides; the others are passed over.
            if (isOneOf(status, OrderStatus::Finished, OrderStatus::Open))
                return !ReportHasErrors(run.entries, order, activity);
            continue;
        }
        const bool settled = IsProvisionalNumber(number)
                                 ? isOneOf(status, OrderStatus::Finished, OrderStatus::Open)
                                 : isOneOf(status, OrderStatus::Finished, OrderStatus::Closed);
        if (!settled) return false;
        confirmed = !ReportHasErrors(run.entries, order, activity);
    }
    return confirmed;
}

bool ReportHasErrors(const UploadReportIndex& entries, std::string_view order,
                     std::string_view activity) {
    for (xml::Node entry : entries.entriesOf(order)) {
        const auto entryActivity = xml::attribute(entry, kEntryActivity);
        const auto costType = xml::attribute(entry, kEntryCostType);
        if (!entryActivity || !costType || !costType->empty()) continue;
        const std::string_view trimmed = platform::trimBlanks(*entryActivity);
        if (trimmed.empty() || (!activity.empty() && trimmed != activity)) continue;
        if (attributeOr(entry, kReportStatus) == kStatusError) return true;
        // An activity the server took over still counts as refused while a line of it is.
        if (LineHasErrors(entries, order, trimmed)) return true;
    }
    return false;
}

bool LineHasErrors(const UploadReportIndex& entries, std::string_view order,
                   std::string_view activity) {
    for (xml::Node entry : entries.entriesOf(order)) {
        const auto costType = xml::attribute(entry, kEntryCostType);
        if (attributeOr(entry, kEntryActivity) == activity && costType && !costType->empty() &&
            attributeOr(entry, kReportStatus) == kStatusError)
            return true;
    }
    return false;
}

void RemoveReportEntry(ReportApplication& run, xml::Node entry) {
    run.entries.remove(entry);
    RemoveEntryAndEmptyGroup(entry);
    run.reportChanged = true;
}

void ResetUploadedState(ReportApplication& run, const ReportedRecord& record) {
    const xml::Node found = findRecord(run, record);
    if (!found || RecordState(found) != kStateChangedUploaded) return;
    SetRecordState(found, kStateReceived);
    run.storeChanged = true;
}

}  // namespace quillmere
