#include "component/forms/field_rows.h"

#include "component/core/html.h"
#include "component/views/stored_date.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

std::string DetailsTableOpen() {
    std::string html = "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0 class=details>";
    return html;
}

std::string FormOpen(std::string_view objectName) {
    std::string html = "<tr><td width=100%><form name=";
    html += objectName;
    html += ">";
    html += "<table width=100% border=0 class=details>";
    return html;
}

std::string FormClose() {
    std::string html = "<tr><td colspan=2><hr></td></tr>";
    html += "</table></form></td></tr>";
    return html;
}

std::string IdentificationRow(std::string_view caption, std::string_view value) {
    std::string row = "<tr><td>&nbsp;";
    row += caption;
    row += "</td>";
    row += "<td>&nbsp;";
    row += HtmlText(value);
    row += "</td></tr>";
    return row;
}

std::string TextBox(std::string_view size, std::string_view field, std::string_view value) {
    std::string box = "<td>&nbsp;<input type=text size=";
    box += size;
    box += " id=";
    box += field;
    box += " value=";
    box += QuotedAttributeValue(value);
    box += ">";
    return box;
}

std::string DateTimeBoxes(std::string_view dateSize, std::string_view dateHint,
                          std::string_view field, std::string_view value) {
    const StoredDateTime split = SplitStoredDateTime(value);
    std::string boxes = "<td>&nbsp;<input type=text size=";
    boxes += dateSize;
    boxes += " id=";
    boxes += field;
    boxes += " value=";
    boxes += QuotedAttributeValue(split.date);
    boxes += "><small><i>";
    boxes += dateHint;
    boxes += "</i></small>";
    boxes += "<input type=text size=4 id=";
    boxes += field;
    boxes += " value=";
    boxes += QuotedAttributeValue(split.time);
    boxes += "><small><i>";
    boxes += "hhmm";
    boxes += "</i></small>";
    return boxes;
}

std::string TextArea(std::string_view field, std::string_view value) {
    std::string area = "<td>&nbsp;<textarea rows=4 cols=30 id=";
    area += field;
    area += ">";
    area += HtmlText(value);
    area += "</textarea>";
    return area;
}

std::string ZoomSpan(std::string_view field, std::string_view objectName) {
    std::string span = "<span class=links";
    span += " onclick=javascript:";
    span += PageFunctionCall("zoom", {QuotedValue(field), QuotedValue(objectName)});
    span += ">";
    span += "<small><strong>...</strong></small></span>";
    return span;
}

std::string ScriptLinkCell(std::string_view function, std::string_view argument,
                           std::string_view order, std::string_view activity,
                           std::string_view caption) {
    std::string link = "<td align=right>";
    link += "<a href=javascript:";
    link += PageFunctionCall(function,
                             {QuotedValue(argument), QuotedValue(order), QuotedValue(activity)});
    link += ">";
    link += caption;
    link += "</a>";
    link += "</td>";
    return link;
}

std::string RecordButtonCell(std::string_view id, std::string_view caption,
                             std::string_view function, const RecordArguments& record,
                             std::string_view mode) {
    std::string cell = "<td align=right>";
    cell += "<input id=";
    cell += HtmlAttribute(id);
    cell += " type=button value=";
    cell += caption;
    cell += " onclick=javascript:";
    const std::string objectName = QuotedValue(record.objectName);
    const std::string order = QuotedValue(record.order);
    const std::string activity = QuotedValue(record.activity);
    const std::string line = QuotedValue(record.line);
    cell += mode.empty() ? PageFunctionCall(function, {objectName, order, activity, line})
                         : PageFunctionCall(function,
                                            {objectName, order, activity, line, QuotedValue(mode)});
    cell += ">";
    cell += "</td>";
    return cell;
}

std::string ButtonBar(const std::string& deleteButton, const std::string& saveButton) {
    std::string bar = "<tr><td width=100%>";
    bar += "<table border=0 cellspacing=0 cellpadding=0 width=100%>";
    bar += "<tr>";
    bar += "<td align=right>";
    bar += "<table><tr>";
    bar += deleteButton;
    bar += saveButton;
    bar += "</tr></table>";
    bar += "</td>";
    bar += "</tr></table>";
    bar += "</td></tr></table>";
    return bar;
}

std::vector<std::string> FieldDefinitionNames(Session& session, std::string_view element) {
    const std::vector<xml::Node> kinds = xml::selectAll(session.state.fieldMapper.node(), element);
    if (kinds.empty()) throw platform::objectNotSet();
    std::vector<std::string> names;
    for (xml::Node definition : xml::childElements(kinds.front()))
        names.emplace_back(definition.name());
    return names;
}

}  // namespace quillmere
