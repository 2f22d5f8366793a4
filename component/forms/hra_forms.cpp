#include "component/forms/hra_forms.h"

#include <vector>

#include "component/core/field_mapper_document.h"
#include "component/core/html_escape.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/forms/detail_view.h"
#include "component/forms/entry_forms.h"
#include "component/store/order_store.h"
#include "component/views/html_blocks.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kHraObject = "hra";

std::string inQuotes(std::string_view value) {
    std::string out = "\"";
    out += HtmlAttribute(value);
    out += "\"";
    return out;
}

std::string detailsTableOpen() {
    std::string html = "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0 class=details>";
    return html;
}

std::string identificationRow(std::string_view caption, std::string_view value) {
    std::string html = "<tr><td>&nbsp;";
    html += caption;
    html += "</td>";
    html += "<td>&nbsp;";
    html += HtmlText(value);
    html += "</td></tr>";
    return html;
}

bool isUploaded(std::string_view state) { return state == "MU" || state == "NU"; }

// The registration's fields: a downloaded line from its third child on through the detail
// renderer (modifiable fields become controls when editable), a local one from its second
// child on through the labor renderer.
std::string fieldRows(Session& session, xml::Node line, bool local, bool editable) {
    std::string html;
    const std::vector<xml::Node> fields = xml::childElements(line);
    for (size_t position = local ? 1 : 2; position < fields.size(); ++position) {
        const std::string name = fields[position].name();
        const std::string value = xml::text(fields[position]);
        html += local ? RenderLaborField(session, kLaborLines, name, value, kHraObject, editable)
                      : RenderDetailField(session, kLaborLines, name, value, kHraObject, false,
                                          editable);
    }
    return html;
}

std::string newLineLink(std::string_view caption, std::string_view order, std::string_view activity) {
    std::string html = "<td align=right>";
    html += "<a href=javascript:newobject(";
    html += inQuotes("4");
    html += ",";
    html += inQuotes(order);
    html += ",";
    html += inQuotes(activity);
    html += ")>";
    html += caption;
    html += "</a>";
    html += "</td>";
    return html;
}

std::string detailButtonCall(std::string_view function, std::string_view order,
                             std::string_view activity, std::string_view line) {
    std::string html = " onclick=javascript:";
    html += function;
    html += "(";
    html += inQuotes(kHraObject);
    html += ",";
    html += inQuotes(order);
    html += ",";
    html += inQuotes(activity);
    html += ",";
    html += inQuotes(line);
    return html;
}

}  // namespace

std::string GetDetailsForHRA(Session& session, const std::string&, const std::string& iOrno,
                             const std::string& iAcln, const std::string& iLine, const std::string&,
                             int16_t iError) {
    const std::string newLineCaption = GetLabelText(session, "SLBSE9163");
    std::string html = detailsTableOpen();
    SetLastError(session, kNoError);
    const bool local = !iLine.empty() && iLine.front() == '_';
    html += BuildTitleBar(2, GetLabelText(session, "SLBEU0333"), "divDetails");

    std::string form = "<tr><td width=100%><form name=";
    form += kHraObject;
    form += ">";
    form += "<table width=100% border=0 class=details>";
    form += identificationRow(GetLabelText(session, "SLBSE9170"), iOrno);
    form += identificationRow(GetLabelText(session, "SLBSE9172"), iAcln);
    form += identificationRow(GetLabelText(session, "SLBEU0042"), iLine);

    LoadOrderStore(session);
    LoadFieldMapperDocument(session);

    // Without its group the registration shows no fields and no links, and counts as
    // editable; a group that lacks the line is a failure of the call.
    bool editable = true;
    std::string state;
    std::string links;
    if (const xml::Node group =
            FindLineGroup(session.state.orderStore.node(), kLaborLines, iOrno, iAcln)) {
        xml::Node line;
        for (xml::Node candidate : xml::childElements(group))
            if (xml::attribute(candidate, "LineNumber") == iLine) {
                line = candidate;
                break;
            }
        state = xml::requireAttribute(xml::requireNode(line), "State");
        // The order's status is not consulted; a local line opened for correction is editable.
        editable = (local && iError == 1) || !isUploaded(state);
        form += fieldRows(session, line, local, editable);
        if (editable) links = "<tr>" + newLineLink(newLineCaption, iOrno, iAcln) + "</tr>";
    }
    html += links;
    html += form;
    html += "</table></form></td></tr>";

    std::string deleteCell;
    if (state == "N" && local) {
        deleteCell = "<td align=right>";
        deleteCell += "<input id=";
        deleteCell += HtmlAttribute(iLine);
        deleteCell += " type=button value=";
        deleteCell += GetLabelText(session, "SLBEU0282");
        deleteCell += detailButtonCall("deleteObject", iOrno, iAcln, iLine);
        deleteCell += ")";
        deleteCell += ">";
        deleteCell += "</td>";
    }
    std::string saveCell;
    if (editable) {
        saveCell = "<td align=right>";
        saveCell += "<input id=";
        saveCell += "save";
        saveCell += " type=button value=";
        saveCell += GetLabelText(session, "SLBEU0284");
        saveCell += detailButtonCall("saveObject", iOrno, iAcln, iLine);
        saveCell += ",";
        saveCell += inQuotes("2");
        saveCell += ")>";
        saveCell += "</td>";
    }
    if (ReadLastError(session) != kNoError) return {};
    html += "<tr><td width=100%>";
    html += "<table border=0 cellspacing=0 cellpadding=0 width=100%>";
    html += "<tr>";
    html += "<td align=right>";
    html += "<table><tr>";
    html += deleteCell;
    html += saveCell;
    html += "</tr></table>";
    html += "</td>";
    html += "</tr></table>";
    html += "</td></tr></table>";
    return html;
}

std::string BuildNewHraForm(Session& session, std::string_view element, std::string_view objectName,
                            std::string& order, std::string&, std::string& line) {
    std::string html = "<tr><td width=100%><form name=";
    html += objectName;
    html += ">";
    html += "<table width=100% border=0 class=details>";
    line = "_" + std::to_string(NextRecordNumber(session, 3));
    html += "<tr>";
    html += "<td>&nbsp;";
    html += GetLabelText(session, "SLBEU0042");
    html += "</td>";
    html += "<td>&nbsp;";
    html += line;
    html += "</td>";
    html += "</tr>";
    LoadOrderStore(session);

    const std::vector<xml::Node> kinds = xml::selectAll(session.state.fieldMapper.node(), element);
    if (kinds.empty())
        throw platform::PlatformError(platform::failure::kObjectNotSet,
                                      "Object variable or With block variable not set");
    std::vector<std::string> names;
    for (xml::Node definition : xml::childElements(kinds.front())) names.emplace_back(definition.name());
    // The third definition is never offered on the form, whatever its name.
    for (size_t position = 0; position < names.size(); ++position) {
        const std::string& name = names[position];
        if (position == 2 || name == "ServiceOrder" || name == "Activity" || name == "LineNumber")
            continue;
        html += RenderNewField(session, element, name, objectName, order);
    }
    html += "<tr><td colspan=2><hr></td></tr>";
    html += "</table></form></td></tr>";
    return html;
}

std::string CreateFormforHra(Session& session, const std::string&, const std::string&,
                             const std::string&) {
    std::string html = detailsTableOpen();
    SetLastError(session, kNoError);
    if (!LoadFieldMapperDocument(session)) {
        // Without field definitions there is no form to build, and no number is taken.
        SetLastError(session, GetLabelText(session, "SLBEU0261"));
        return {};
    }
    std::string order;
    std::string activity;
    std::string line;
    html += BuildTitleBar(2, GetLabelText(session, "SLBEU0334"), "divDetails");
    html += BuildNewHraForm(session, kLaborLines, kHraObject, order, activity, line);

    std::string saveCell = "<td align=right>";
    saveCell += "<input id=";
    saveCell += line;
    saveCell += " type=button value=";
    saveCell += GetLabelText(session, "SLBEU0284");
    saveCell += " onclick=javascript:saveObject(";
    saveCell += inQuotes(kHraObject);
    saveCell += ",";
    saveCell += inQuotes(order);
    saveCell += ",";
    saveCell += inQuotes(activity);
    saveCell += ",";
    saveCell += inQuotes(line);
    saveCell += ",";
    saveCell += inQuotes("1");
    saveCell += ")>";
    saveCell += "</td>";
    if (ReadLastError(session) != kNoError) return {};
    html += "<tr><td align=right><table><tr><td>";
    html += saveCell;
    html += "</td></tr></table></td></tr></table>";
    return html;
}

}  // namespace quillmere
