// The field rows of detail views and forms: RenderDetailField, RenderEnumSelect and
// RenderLaborField.
#include <array>

#include "component/core/field_definitions.h"
#include "component/core/html.h"
#include "component/forms/detail_view.h"
#include "component/forms/field_rows.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/views/list_cells.h"
#include "component/views/stored_date.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kDateHint = "mm/dd/yyyy";
constexpr std::string_view kLaborDateHint = "mmddyyyy";
constexpr std::string_view kTimeHint = "hhmm";

bool isTrue(const std::string& flag) {
    return flag == "True";
}

bool shownInDetails(const FieldDefinition& definition) {
    return definition.userInterface == "2" || definition.userInterface == "3";
}

bool isActivityField(std::string_view element, std::string_view field, std::string_view name) {
    return element == kActivities && field == name;
}

std::string rowHead(const FieldDefinition& definition) {
    return "<tr><td nowrap>&nbsp;" + definition.label + "</td>";
}

std::string hiddenRow(const FieldDefinition& definition, std::string_view field,
                      std::string_view value) {
    std::string row = "<tr style=";
    row += "\"display:none\"";
    row += "><td nowrap>&nbsp;";
    row += definition.label;
    row += "</td>";
    row += "<td>&nbsp;";
    row += "<input type=text size=10 id=";
    row += field;
    row += " value=";
    row += QuotedAttributeValue(value);
    row += ">";
    row += "</td></tr>";
    return row;
}

std::string dateTimeText(std::string_view dateHint, std::string_view value) {
    const StoredDateTime split = SplitStoredDateTime(value);
    std::string text = "<td>&nbsp;";
    text += HtmlText(split.date);
    text += "&nbsp;&nbsp<small><i>";
    text += dateHint;
    text += "</i></small>&nbsp;";
    text += HtmlText(split.time);
    text += "&nbsp;&nbsp<small><i>";
    text += kTimeHint;
    text += "</i></small>&nbsp;";
    return text;
}

// The end of an input row: the zoom link when the field has one.
std::string inputRowEnd(const FieldDefinition& definition, std::string_view field,
                        std::string_view objectName) {
    if (isTrue(definition.zoom)) return ZoomSpan(field, objectName) + "</td></tr>";
    return "</td></tr>";
}

std::string modifiableControl(Session& session, const FieldDefinition& definition,
                              std::string_view element, std::string_view field,
                              std::string_view value) {
    const std::string& type = definition.dataType;
    if (type == "e") return RenderEnumSelect(session, element, field, value, "Modify");
    if (type == "s") {
        if (field == "ServiceItem" || field == "ReferenceA") return TextBox("30", field, value);
        if (field == "ProblemPriority" && value == "0") return TextBox("30", field, "");
        return TextBox("10", field, value);
    }
    if (type == "u") return DateTimeBoxes("15", kDateHint, field, value);
    if (type == "t") return TextArea(field, value);
    return {};
}

std::string newRecordControl(Session& session, const FieldDefinition& definition,
                             std::string_view element, std::string_view field,
                             std::string_view value) {
    const std::string& type = definition.dataType;
    if (type == "e") return RenderEnumSelect(session, element, field, value, "New");
    if (type == "s") return TextBox("10", field, value);
    if (type == "u") return DateTimeBoxes("10", kDateHint, field, value);
    if (type == "t") return TextArea(field, value);
    return {};
}

// The read-only row after its head.
std::string readOnlyCell(Session& session, const FieldDefinition& definition,
                         std::string_view element, std::string_view field, std::string_view value,
                         std::string_view objectName) {
    if (element == kActivities &&
        (field == "ObjectNumber" || field == "OldObjectNumber" || field == "NewObjectNumber"))
        return "<td id=" + std::string(field) + ">" + HtmlText(value) + "</td></tr>";
    if (definition.dataType == "e") return BuildEnumCell(session, element, field, value) + "</tr>";
    if (isTrue(definition.hyperlink)) {
        std::string cell = "<td>&nbsp;<a href=javascript:";
        cell += PageFunctionCall("hyperlink", {QuotedValue(field), Quoted(EscapeHtmlValue(value)),
                                               QuotedValue(objectName)});
        cell += ">";
        cell += HtmlText(value);
        cell += "</a></td></tr>";
        return cell;
    }
    if (definition.dataType == "u" && !value.empty())
        return dateTimeText(kDateHint, value) + "</td></tr>";
    return "<td >&nbsp;" + HtmlText(value) + "</td></tr>";
}

std::string readOnlyRow(Session& session, const FieldDefinition& definition,
                        std::string_view element, std::string_view field, std::string_view value,
                        std::string_view objectName) {
    return rowHead(definition) +
           readOnlyCell(session, definition, element, field, value, objectName);
}

std::string editableRow(Session& session, const FieldDefinition& definition,
                        std::string_view element, std::string_view field, std::string_view value,
                        std::string_view objectName) {
    if (isTrue(definition.modifiable))
        return rowHead(definition) + modifiableControl(session, definition, element, field, value) +
               inputRowEnd(definition, field, objectName);
    if (isActivityField(element, field, "Configuration"))
        return hiddenRow(definition, field, value);
    if (isActivityField(element, field, "ObjectNumber"))
        return hiddenRow(definition, field, value) + rowHead(definition) + "<td >&nbsp;" +
               HtmlText(value) + "</td></tr>";
    return readOnlyRow(session, definition, element, field, value, objectName);
}

std::string newRecordRow(Session& session, const FieldDefinition& definition,
                         std::string_view element, std::string_view field, std::string_view value,
                         std::string_view objectName) {
    if (!isTrue(definition.isNew)) return {};
    std::string row = rowHead(definition);
    if (isActivityField(element, field, "Configuration") ||
        isActivityField(element, field, "ObjectNumber")) {
        if (definition.dataType != "s") return row + "</tr>";
        row += "<td>&nbsp;<input disabled=true type=text size=10 id=";
        row += field;
        row += " value=";
        row += QuotedAttributeValue(value);
        row += ">";
        row += "</td></tr>";
        return row;
    }
    return row + newRecordControl(session, definition, element, field, value) +
           inputRowEnd(definition, field, objectName);
}

xml::Node valueListEntry(const std::vector<xml::Node>& entries, size_t position) {
    if (position >= entries.size()) throw platform::objectNotSet();
    return entries[position];
}

std::string option(xml::Node entry, std::string_view marker) {
    std::string html = "<OPTION value=";
    html += HtmlAttribute(xml::attributeOrEmpty(entry, "Id"));
    html += marker;
    html += xml::attributeOrEmpty(entry, "Value");
    return html;
}

// The options of the activity status: an open activity may be finished, a finished one stays
// finished, a closed one shows its status.
std::string activityStatusOptions(const std::vector<xml::Node>& entries, std::string_view value,
                                  std::string_view mode) {
    const std::optional<OrderStatus> status = ParseOrderStatus(value);
    if ((mode == "New" && value.empty()) || status == OrderStatus::Open)
        return option(valueListEntry(entries, 0), " selected>") +
               option(valueListEntry(entries, 1), " >");
    if (status == OrderStatus::Finished) return option(valueListEntry(entries, 1), " >");
    if (status == OrderStatus::Closed)
        return option(valueListEntry(entries, 2), mode == "Modify" ? " selected>" : " >");
    return {};
}

constexpr std::array<std::string_view, 5> kLaborLineFields = {
    "CostComponent", "Task", "HourlyLaborType", "StartDate", "EndDate"};

}  // namespace

std::string RenderDetailField(Session& session, std::string_view element, std::string_view field,
                              std::string_view value, std::string_view objectName, bool local,
                              bool editable) {
    const FieldDefinition definition = GetFieldDefinition(session, element, field);
    if (!shownInDetails(definition)) return {};
    if (editable && !local)
        return editableRow(session, definition, element, field, value, objectName);
    if (editable) return newRecordRow(session, definition, element, field, value, objectName);
    if (isActivityField(element, field, "Configuration"))
        return hiddenRow(definition, field, value);
    return readOnlyRow(session, definition, element, field, value, objectName);
}

std::string RenderEnumSelect(Session& session, std::string_view element, std::string_view field,
                             std::string_view value, std::string_view mode) {
    const std::vector<xml::Node> lists =
        xml::selectAll(session.state.fieldMapper.node(), FieldDefinitionPath(element, field));
    if (lists.empty()) throw platform::objectNotSet();
    const std::vector<xml::Node> entries = xml::childElements(lists.front());

    std::string html = "<td>&nbsp;";
    html += field == "OrderStatus" ? "<SELECT disabled=true name=" : "<SELECT name=";
    html += field;
    html += " id=";
    html += field;
    html += ">";
    if (field == "OrderStatus") {
        if (mode == "New") {
            html += option(valueListEntry(entries, 0), " selected>");
        } else {
            for (xml::Node entry : entries)
                if (value == xml::attributeOrEmpty(entry, "Id")) html += option(entry, " >");
        }
    } else if (field == "ActivityStatus") {
        html += activityStatusOptions(entries, value, mode);
    } else {
        for (xml::Node entry : entries)
            html += option(entry, value == xml::attributeOrEmpty(entry, "Id") ? " selected>" : ">");
    }
    html += "</SELECT></td>";
    return html;
}

std::string RenderLaborField(Session& session, std::string_view element, std::string_view field,
                             std::string_view value, std::string_view objectName, bool editable) {
    const FieldDefinition definition = GetFieldDefinition(session, element, field);
    bool rendered = false;
    for (std::string_view name : kLaborLineFields) rendered = rendered || field == name;
    if (!rendered) return {};
    std::string row = "<tr>";
    row += "<td nowrap>&nbsp;";
    row += definition.label;
    row += "</td>";
    if (editable) {
        if (definition.dataType == "s") row += TextBox("10", field, value);
        if (definition.dataType == "u") row += DateTimeBoxes("10", kLaborDateHint, field, value);
        if (isTrue(definition.zoom)) row += ZoomSpan(field, objectName);
    } else if (definition.dataType == "u") {
        row += dateTimeText(kLaborDateHint, value);
    } else {
        row += "<td>" + HtmlText(value);
    }
    row += "</td></tr>";
    return row;
}

}  // namespace quillmere
