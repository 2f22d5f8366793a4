#include "component/forms/detail_view.h"

#include <array>

#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/record_kind.h"
#include "component/core/title_bar.h"
#include "component/forms/field_rows.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/store_index.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kPanelId = "divDetails";
// The order field that, holding "1", keeps the order's activities from being changed.
constexpr size_t kActivitiesLockedField = 19;

using Kind = RecordType;

const RecordKind& recordKind(const std::string& iObject) {
    if (const RecordKind* kind = RecordKindByCode(iObject)) return *kind;
    throw platform::PlatformError(platform::failure::kInvalidProcedureCall,
                                  "Invalid procedure call or argument: no record kind " + iObject);
}

[[noreturn]] void recordNotFound() {
    throw platform::objectNotSet();
}

// The seven link texts, read first.
struct LinkLabels {
    explicit LinkLabels(Session& session)
        : newMaterial(GetLabelText(session, label::kNewMaterialLine)),
          newLabor(GetLabelText(session, label::kNewLaborLine)),
          newOther(GetLabelText(session, label::kNewOtherLine)),
          newActivity(GetLabelText(session, label::kNewActivityLink)),
          materialLines(GetLabelText(session, label::kMaterialLines)),
          laborLines(GetLabelText(session, label::kLaborLines)),
          otherLines(GetLabelText(session, label::kOtherLines)) {}
    std::string newMaterial, newLabor, newOther, newActivity, materialLines, laborLines, otherLines;

    const std::string& newLine(Kind kind) const {
        return kind == Kind::MaterialLine ? newMaterial
               : kind == Kind::LaborLine  ? newLabor
                                          : newOther;
    }
};

// What GetDetails was asked for.
struct Request {
    const RecordKind& kind;
    const std::string& order;
    const std::string& activity;
    const std::string& line;
    bool fromErrorList;
};

// The record and what the view may do with it.
struct Record {
    xml::Node node;  // null when its group does not exist at all
    bool local = false;
    bool editable = true;
    bool deletable = false;
};

// --- Reads of the loaded store ------------------------------------------------------------

// The last ActivityDescription field of the activity; "" when there is none.
std::string activityDescriptionIn(const xml::Document& store, std::string_view order,
                                  std::string_view activity) {
    const xml::Node record = LookUpActivity(store.node(), order, activity).record;
    std::string description;
    for (xml::Node field : xml::elementChildren(record))
        if (xml::isElementNamed(field, "ActivityDescription")) description = xml::text(field);
    return description;
}

bool activitiesLockedIn(const xml::Document& store, std::string_view order) {
    const xml::Node record = FindOrder(store.node(), order);
    if (!record) return false;
    return xml::text(xml::requireNode(xml::childElementAt(record, kActivitiesLockedField))) == "1";
}

// --- The record and its rights ------------------------------------------------------------

bool editableByRule(const Request& request, xml::Node node, const std::string& orderStatus) {
    if (request.fromErrorList) return true;
    if (IsUploadedState(xml::attributeOrEmpty(node, kStateAttribute))) return false;
    return orderStatus == StatusCode(OrderStatus::Open);
}

Record findRecord(Session& session, const Request& request) {
    const xml::Document& store = session.state.orderStore;
    const Kind kind = request.kind.type;
    Record record;
    std::string orderStatus;
    bool groupFound = true;
    if (kind == Kind::Order) {
        record.local = IsProvisionalNumber(request.order);
        record.node = FindOrder(store.node(), request.order);
        if (!record.node) recordNotFound();
        orderStatus = platform::trimBlanks(OrderStatusOf(record.node));
    } else if (kind == Kind::Activity) {
        record.local = IsProvisionalNumber(request.activity);
        const RecordLookup found = LookUpActivity(store.node(), request.order, request.activity);
        record.node = found.record;
        groupFound = found.groupFound;
    } else {
        record.local = IsProvisionalNumber(request.line);
        const RecordLookup found = LookUpLine(store.node(), request.kind.element, request.order,
                                              request.activity, request.line);
        record.node = found.record;
        groupFound = found.groupFound;
    }
    // A labor line that came from the server is never changed or deleted here.
    const bool receivedLaborLine = kind == Kind::LaborLine && !record.local;
    if (!groupFound) {  // the panel without fields; editable as far as anyone knows
        record.editable = !receivedLaborLine;
        return record;
    }
    if (!record.node) recordNotFound();
    if (kind != Kind::Order)
        // GetOrderStatus answered from the loaded store, which this view does not change.
        orderStatus =
            platform::trimBlanks(OrderStatusIn(store.node(), platform::trimBlanks(request.order)));

    record.editable = editableByRule(request, record.node, orderStatus);
    if (kind == Kind::Activity && activitiesLockedIn(store, request.order)) record.editable = false;
    const bool newOnLaptop =
        xml::attributeOrEmpty(record.node, kStateAttribute) == kStateNew && record.local;
    record.deletable =
        newOnLaptop || (kind == Kind::Order && orderStatus == StatusCode(OrderStatus::Closed));
    if (receivedLaborLine) record.editable = record.deletable = false;
    return record;
}

// --- HTML ---------------------------------------------------------------------------------

std::string identificationRows(Session& session, const Request& request) {
    std::string rows =
        IdentificationRow(GetLabelText(session, label::kServiceOrder), request.order);
    if (request.kind.type == Kind::Order) return rows;
    rows += IdentificationRow(GetLabelText(session, label::kActivity), request.activity);
    if (request.kind.type == Kind::Activity) return rows;
    rows += IdentificationRow(GetLabelText(session, label::kActivityDescription),
                              session.state.currentActivityDescription);
    rows += IdentificationRow(GetLabelText(session, label::kLine), request.line);
    return rows;
}

std::string fieldRows(Session& session, const Request& request, const Record& record) {
    const RecordKind& kind = request.kind;
    std::string rows;
    size_t position = 0;
    for (xml::Node field : xml::elementChildren(record.node)) {
        const bool shown =
            position++ > 0 || !kind.isCostLine() || (kind.type == Kind::LaborLine && record.local);
        if (!shown) continue;  // the first field of a cost line is never shown
        const std::string value = xml::text(field);
        if (kind.type == Kind::LaborLine && record.local)
            rows += RenderLaborField(session, kind.element, field.name(), value, "labor",
                                     record.editable);
        else
            rows += RenderDetailField(session, kind.element, field.name(), value, kind.objectName,
                                      record.local, record.editable);
    }
    return rows;
}

std::string newRecordLink(std::string_view kind, const Request& request, std::string_view label) {
    return ScriptLinkCell("newobject", kind, request.order, request.activity, label);
}

std::string listLink(std::string_view costType, const Request& request, std::string_view label) {
    return ScriptLinkCell("ListCostLines", costType, request.order, request.activity, label);
}

std::string activityLinks(const Request& request, const Record& record, const LinkLabels& labels) {
    std::string links;
    if (record.editable) {
        links += "<tr><td align=right><table class=hyperbutton>";
        links += "<tr>" + std::string("<td>&nbsp;</td>") +
                 newRecordLink(kind_code::kActivity, request, labels.newActivity) + "</tr>";
        links += "<tr>" + listLink("Material", request, labels.materialLines) +
                 newRecordLink(kind_code::kMaterialLine, request, labels.newMaterial) + "</tr>";
        links += "<tr>" + listLink("Labor", request, labels.laborLines) +
                 newRecordLink(kind_code::kLaborLine, request, labels.newLabor) + "</tr>";
        links += "<tr>" + listLink("Other", request, labels.otherLines) +
                 newRecordLink(kind_code::kOtherLine, request, labels.newOther) + "</tr>";
        links += "</table></td></tr>";
        return links;
    }
    links +=
        "<tr class=hyperbutton>" + listLink("Material", request, labels.materialLines) + "</tr>";
    links += "<tr class=hyperbutton>" + listLink("Labor", request, labels.laborLines) + "</tr>";
    links += "<tr class=hyperbutton>" + listLink("Other", request, labels.otherLines) + "</tr>";
    return links;
}

std::string links(const Request& request, const Record& record, const LinkLabels& labels) {
    if (!record.node) return {};
    const Kind kind = request.kind.type;
    if (kind == Kind::Activity) return activityLinks(request, record, labels);
    if (!record.editable) return {};
    if (kind == Kind::Order)
        return "<tr>" + newRecordLink(kind_code::kActivity, request, labels.newActivity) + "</tr>";
    if (kind == Kind::LaborLine && !record.local) return {};
    return "<tr>" + newRecordLink(request.kind.code, request, labels.newLine(kind)) + "</tr>";
}

RecordArguments recordArguments(const Request& request) {
    return {request.kind.objectName, request.order, request.activity, request.line};
}

std::string deleteCell(Session& session, const Request& request) {
    return RecordButtonCell(request.kind.type == Kind::LaborLine ? std::string_view("Delete")
                                                                 : std::string_view(request.order),
                            GetLabelText(session, label::kDelete), "deleteObject",
                            recordArguments(request), "");
}

std::string saveCell(Session& session, const Request& request) {
    return RecordButtonCell("save", GetLabelText(session, label::kSave), "saveObject",
                            recordArguments(request), "2");
}

}  // namespace

std::string GetDetails(Session& session, const std::string& iObject, const std::string& iOrno,
                       const std::string& iAcln, const std::string& iLine, const std::string&,
                       int16_t iError) {
    const LinkLabels labels(session);
    const RecordKind& kind = recordKind(iObject);
    const Request request{kind, iOrno, iAcln, iLine, iError == 1};
    std::string html = DetailsTableOpen();

    // One load serves every read of the store in this view, which changes nothing.
    LoadOrderStore(session);
    if (kind.isCostLine())
        session.state.currentActivityDescription =
            activityDescriptionIn(session.state.orderStore, iOrno, iAcln);
    SetLastError(session, kNoError);
    html += BuildTitleBar(2, GetLabelText(session, kind.detailsTitle), kPanelId);

    std::string form = FormOpen(kind.objectName);
    form += identificationRows(session, request);

    LoadFieldMapperDocument(session);
    const Record record = findRecord(session, request);
    if (record.node) form += fieldRows(session, request, record);

    html += links(request, record, labels);
    html += form;
    html += "</table></form></td></tr>";
    const std::string deleteButton =
        record.deletable ? deleteCell(session, request) : std::string();
    if (ReadLastError(session) != kNoError) return {};
    html += ButtonBar(deleteButton, record.editable ? saveCell(session, request) : std::string());
    return html;
}

void LoadActivityDescription(Session& session, std::string_view order, std::string_view activity) {
    session.state.currentActivityDescription.clear();
    xml::Document store;
    store.loadFile(session.path(paths::kOrderStore));
    session.state.currentActivityDescription = activityDescriptionIn(store, order, activity);
}

bool OrderActivitiesLocked(Session& session, std::string_view order) {
    xml::Document store;
    store.loadFile(session.path(paths::kOrderStore));
    return activitiesLockedIn(store, order);
}

}  // namespace quillmere
