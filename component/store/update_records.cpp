#include "component/store/update_records.h"

#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/store/change_request.h"
#include "component/store/field_validation.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/report_clearing.h"
#include "component/store/store_index.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kUpdateAction = "Update XML";

// Request fields overwrite the stored fields of the same name; request fields the stored record
// lacks are dropped and stored fields the request lacks keep their values.
void copyFields(xml::Node request, xml::Node stored) {
    for (xml::Node field : xml::childElements(request)) {
        if (const xml::Node target = stored.child(field.name()))
            xml::setText(target, xml::text(field));
    }
}

// Validates the request, copies its fields into the stored record, moves the State on and
// saves; an uploaded record is also cleared from the upload report.
bool updateRecord(Session& session, xml::Node stored, xml::Node request, std::string_view kind,
                  std::string_view order, std::string_view activity, std::string_view line,
                  std::string& message) {
    if (!ValidateRecord(session, request, kind, message)) return false;
    copyFields(request, stored);
    const std::string before = RecordState(stored);
    SetRecordState(stored, StateAfterUpdate(before));
    if (before == kStateChangedUploaded || before == kStateNewUploaded)
        ClearReportEntry(session, order, activity, line, kind);
    else
        SaveOrderStore(session);
    message.clear();
    return true;
}

std::string failWithLog(Session& session, std::string_view key, const std::string& iXML) {
    const std::string message = GetLabelText(session, key);
    LogRejectedRequest(session, kUpdateAction, message, iXML);
    SetLastError(session, message);
    return message;
}

}  // namespace

bool UpdateOrder(Session& session, std::string_view order, xml::Node request,
                 std::string& message) {
    message.clear();
    const xml::Node storeRoot = session.state.orderStore.node();
    const xml::Node stored = FindOrder(storeRoot, order);
    if (!stored) {
        if (xml::firstChildElement(FindContainer(storeRoot, kOrders)))
            message = GetLabelText(session, label::kOrderNotFound);
        return false;
    }
    return updateRecord(session, stored, request, kOrders, order, "", "", message);
}

bool UpdateActivity(Session& session, std::string_view order, std::string_view activity,
                    xml::Node request, std::string& message) {
    message.clear();
    const xml::Node stored = FindActivity(session.state.orderStore.node(), order, activity);
    if (!stored) return false;
    return updateRecord(session, stored, request, kActivities, order, activity, "", message);
}

bool UpdateCostLine(Session& session, std::string_view kind, std::string_view order,
                    std::string_view activity, std::string_view line, xml::Node request,
                    std::string& message) {
    message.clear();
    const xml::Node stored = FindLine(session.state.orderStore.node(), kind, order, activity, line);
    if (!stored) return false;
    return updateRecord(session, stored, request, kind, order, activity, line, message);
}

std::string updatexml(Session& session, const std::string& iXML) {
    SetLastError(session, kNoError);
    xml::Document request;
    if (!request.parse(iXML)) return failWithLog(session, label::kChangesNotXml, iXML);
    if (std::string result; !LoadForChange(session, kUpdateAction, result)) return result;

    const xml::Node root = request.root();
    const std::string_view kind = root.name();
    std::string message;
    if (kind == kOrders) {
        const xml::Node record = xml::requireNode(xml::firstChildElement(root));
        UpdateOrder(session, xml::requireAttribute(record, "ServiceOrder"), record, message);
    } else if (kind == kActivities || kind == kMaterialLines || kind == kLaborLines ||
               kind == kOtherLines) {
        const xml::Node group = xml::requireNode(xml::firstChildElement(root));
        const xml::Node record = xml::requireNode(xml::firstChildElement(group));
        const std::string order = xml::requireAttribute(group, "ID");
        if (kind == kActivities) {
            UpdateActivity(session, order, xml::requireAttribute(record, "Activity"), record,
                           message);
        } else {
            UpdateCostLine(session, kind, order, xml::requireAttribute(group, "Activity"),
                           xml::requireAttribute(record, "LineNumber"), record, message);
        }
    }
    return message;
}

}  // namespace quillmere
