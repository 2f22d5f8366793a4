#include "component/forms/entry_forms.h"

#include <vector>

#include "component/core/field_definitions.h"
#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/record_kind.h"
#include "component/core/title_bar.h"
#include "component/forms/detail_view.h"
#include "component/forms/field_rows.h"
#include "component/store/order_store.h"
#include "component/store/store_index.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

bool isLineElement(std::string_view element) {
    const RecordKind* kind = RecordKindByElement(element);
    return kind && kind->isCostLine();
}

std::string newNumber(Session& session, RecordCounter counter) {
    return "_" + std::to_string(NextRecordNumber(session, counter));
}

bool isKeyField(std::string_view name) {
    return name == "ServiceOrder" || name == "Activity" || name == "LineNumber";
}

std::string disabledRow(const FieldDefinition& definition, std::string_view field,
                        std::string_view value) {
    std::string html = "<tr>";
    html += " <td nowrap>&nbsp;";
    html += definition.label;
    html += "</td>";
    html += " <td>&nbsp;<input disabled=true type=text size=10 id=";
    html += field;
    html += " value=";
    html += QuotedAttributeValue(value);
    html += "></td></tr>";
    return html;
}

std::string newInput(Session& session, const FieldDefinition& definition, std::string_view element,
                     std::string_view field) {
    const std::string& type = definition.dataType;
    if (type == "e") return RenderEnumSelect(session, element, field, "", "New");
    if (type == "s")
        return TextBox(field == "ServiceItem" || field == "ReferenceA" ? "30" : "20", field, "");
    if (type == "u") return DateTimeBoxes("10", "mm/dd/yyyy", field, "");
    if (type == "t") return TextArea(field, "");
    return {};
}

}  // namespace

std::string RenderNewField(Session& session, std::string_view element, std::string_view field,
                           std::string_view objectName, std::string_view order) {
    const FieldDefinition definition = GetFieldDefinition(session, element, field);
    if (definition.isNew != "True") {
        std::string html = "<tr style=";
        html += "\"display:none\"";
        html += ">";
        html += " <td nowrap>&nbsp;";
        html += definition.label;
        html += "</td>";
        html += " <td>&nbsp;<input type=text size=10 id=";
        html += field;
        html += " value=";
        html += "\"\"";
        html += "></td></tr>";
        return html;
    }
    // A new activity takes its order's configuration, which cannot be edited here.
    if (element == kActivities && field == "Configuration")
        return disabledRow(definition, field, GetOrderConfiguration(session, order));
    if (element == kActivities && field == "ObjectNumber")
        return disabledRow(definition, field, "");

    std::string html = "<tr><td nowrap>&nbsp;";
    html += definition.label;
    html += "</td>";
    html += newInput(session, definition, element, field);
    if (definition.zoom == "True") html += ZoomSpan(field, objectName);
    html += "</td></tr>";
    return html;
}

std::string GetOrderConfiguration(Session& session, std::string_view order) {
    xml::Document store;
    store.loadFile(session.path(paths::kOrderStore));
    const xml::Node record = FindOrder(store.node(), order);
    for (xml::Node field : xml::childElements(record))
        if (std::string_view(field.name()) == "Configuration") return xml::text(field);
    return {};
}

std::string BuildNewRecordForm(Session& session, std::string_view element,
                               std::string_view objectName, std::string& order,
                               std::string& activity, std::string& line) {
    std::string html = FormOpen(objectName);
    if (isLineElement(element)) LoadActivityDescription(session, order, activity);
    const RecordKind* kind = RecordKindByObjectName(objectName);
    if (!kind) {
        // An unknown form has no number and no identification rows.
    } else if (kind->type == RecordType::Order) {
        order = newNumber(session, kind->counter);
        html += IdentificationRow(GetLabelText(session, label::kServiceOrder), order);
    } else if (kind->type == RecordType::Activity) {
        activity = newNumber(session, kind->counter);
        html += IdentificationRow(GetLabelText(session, label::kServiceOrder), order);
        html += IdentificationRow(GetLabelText(session, label::kActivityNumber), activity);
    } else {
        line = newNumber(session, kind->counter);
        html += IdentificationRow(GetLabelText(session, label::kServiceOrder), order);
        html += IdentificationRow(GetLabelText(session, label::kActivityNumber), activity);
        html += IdentificationRow(GetLabelText(session, label::kActivityDescription),
                                  session.state.currentActivityDescription);
        html += IdentificationRow(GetLabelText(session, label::kLine), line);
    }
    for (const std::string& field : FieldDefinitionNames(session, element))
        if (!isKeyField(field)) html += RenderNewField(session, element, field, objectName, order);
    html += FormClose();
    return html;
}

namespace {

// Starts an entry form: resets the last error and loads the field definitions. Without them
// there is no form to build, and no record number is taken.
bool BeginEntryForm(Session& session, std::string& html) {
    html = DetailsTableOpen();
    SetLastError(session, kNoError);
    if (LoadFieldMapperDocument(session)) return true;
    SetLastError(session, GetLabelText(session, label::kFieldDefinitionsNotLoaded));
    return false;
}

}  // namespace

std::string CreateForm(Session& session, const std::string& iObject, const std::string& iOrno,
                       const std::string& iAcln) {
    std::string html;
    if (!BeginEntryForm(session, html)) return {};
    std::string order = iOrno;
    std::string activity = iAcln;
    std::string line;
    std::string_view objectName;
    std::string newCell;
    if (const RecordKind* kind = RecordKindByCode(iObject)) {
        objectName = kind->objectName;
        newCell = "<td align=right>";
        newCell += "<input type=button value=";
        newCell += GetLabelText(session, label::kNew);
        newCell += " onclick=javascript:";
        newCell += PageFunctionCall(
            "newObject", {QuotedValue(kind->code), QuotedValue(iOrno), QuotedValue(iAcln)});
        newCell += ">";
        newCell += "</td>";
        html += BuildTitleBar(2, GetLabelText(session, kind->newRecordTitle), "divDetails");
        html += BuildNewRecordForm(session, kind->element, objectName, order, activity, line);
    }
    // "1" as the last argument of saveObject marks an add (the detail view passes "2").
    const std::string saveCell =
        RecordButtonCell(order, GetLabelText(session, label::kSave), "saveObject",
                         {objectName, order, activity, line}, "1");
    if (ReadLastError(session) != kNoError) return {};
    html += "<tr><td align=right><table><tr><td>";
    html += newCell;
    html += saveCell;
    html += "</td></tr></table></td></tr></table>";
    return html;
}

std::string BuildOrderSelectRow(Session& session, std::string_view kind) {
    SetLastError(session, kNoError);
    if (!LoadOrderStore(session)) {
        SetLastError(session, GetLabelText(session, label::kOrderStoreNotLoaded));
        return {};
    }
    std::vector<xml::Node> records;
    if (kind == kind_code::kActivity)
        records = xml::selectAll(session.state.orderStore.node(), "ccsocservcordr/record");
    std::string html = "<tr><td>&nbsp;";
    html += GetLabelText(session, label::kServiceOrder);
    html += "</td>";
    html += "<td><SELECT name=ServiceOrder>";
    for (xml::Node record : records) {
        const std::string order = xml::requireAttribute(record, "ServiceOrder");
        html += "<OPTION value=";
        html += HtmlAttribute(order);
        html += ">";
        html += HtmlText(order);
    }
    html += "</SELECT></td></tr>";
    return html;
}

std::string BuildNewActivityForm(Session& session, std::string_view element,
                                 std::string_view objectName, std::string& order,
                                 std::string& activity) {
    std::string html = FormOpen(objectName);
    if (objectName == "activity") {
        activity = newNumber(session, RecordCounter::Activity);
        html += BuildOrderSelectRow(session, kind_code::kActivity);
        html += IdentificationRow(GetLabelText(session, label::kActivityNumber), activity);
    }
    for (const std::string& field : FieldDefinitionNames(session, element))
        html += RenderNewField(session, element, field, objectName, order);
    html += FormClose();
    return html;
}

std::string NewObject(Session& session, const std::string& iObject, const std::string& iOrno,
                      const std::string& iAcln) {
    std::string html;
    if (!BeginEntryForm(session, html)) return {};
    std::string order = iOrno;
    std::string activity = iAcln;
    std::string_view objectName;
    if (iObject == kind_code::kActivity) {
        objectName = "activity";
        html += BuildTitleBar(2, GetLabelText(session, label::kNewActivity), "divDetails");
        html += BuildNewActivityForm(session, kActivities, objectName, order, activity);
    }
    if (ReadLastError(session) != kNoError) return {};
    html += "<tr><td align=right>";
    html += "<input ";
    html += " type=button value=";
    html += GetLabelText(session, label::kSave);
    html += " onclick=javascript:";
    html += PageFunctionCall("CreateActivity", {QuotedValue(objectName), QuotedValue(activity)});
    html += "></td></tr></table>";
    return html;
}

}  // namespace quillmere
