#include "component/forms/material_form.h"

#include <string_view>
#include <utility>
#include <vector>

#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/title_bar.h"
#include "component/forms/entry_forms.h"
#include "component/forms/field_rows.h"
#include "component/store/order_store.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

std::string option(std::string_view value, std::string_view shown) {
    std::string html = "<OPTION value=";
    html += HtmlAttribute(value);
    html += ">";
    html += HtmlText(shown);
    html += "</OPTION>";
    return html;
}

// Loads the store for a drop-down; false (last error label::kOrderStoreNotLoaded) when it does not
// load.
bool loadStoreForDropDown(Session& session) {
    SetLastError(session, kNoError);
    if (LoadOrderStore(session)) return true;
    SetLastError(session, GetLabelText(session, label::kOrderStoreNotLoaded));
    return false;
}

std::vector<std::string> materialFieldNames(Session& session) {
    std::vector<std::string> names;
    for (std::string& name : FieldDefinitionNames(session, kMaterialLines))
        if (name != "ServiceOrder" && name != "Activity" && name != "LineNumber")
            names.push_back(std::move(name));
    return names;
}

}  // namespace

std::string CreateOrderDropDown(Session& session) {
    if (!loadStoreForDropDown(session)) return {};
    std::string html;
    for (xml::Node record :
         xml::selectAll(session.state.orderStore.node(), "ccsocservcordr/record")) {
        const std::string order = xml::requireAttribute(record, "ServiceOrder");
        html += option(order, order);
    }
    return html;
}

std::string CreateActivityDropDown(Session& session, const std::string& iorder) {
    if (!loadStoreForDropDown(session)) return {};
    const std::vector<xml::Node> groups =
        xml::selectAll(session.state.orderStore.node(), "ccsocservcactv/ServiceOrder");
    const std::string order =
        iorder.empty() ? xml::requireAttribute(groups.empty() ? xml::Node() : groups.front(), "ID")
                       : iorder;
    std::string html;
    for (xml::Node group : groups) {
        if (xml::requireAttribute(group, "ID") != order) continue;
        for (xml::Node activity : xml::childElements(group)) {
            const std::string number = xml::requireAttribute(activity, "Activity");
            const xml::Node description = xml::requireNode(xml::childElementAt(activity, 1));
            html += option(number, number + " - " + xml::text(description));
        }
    }
    return html;
}

std::string CreateMaterialForm(Session& session) {
    SetLastError(session, kNoError);
    if (!LoadFieldMapperDocument(session))
        SetLastError(session, "Unable to load Zudivev Ezored Style Sheet");

    std::string html = "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0 class=details>";
    html += BuildTitleBar(2, "Create Material Cost", "divDetails");
    html += "<tr>";
    html += "<td width=100%>";
    html += "<form name=";
    html += "material";
    html += ">";
    html += "<table width=100% border=0 class=details>";

    html += "<tr>";
    html += "<td>&nbsp;Service Order</td>";
    html += "<td id=tdSelectActivity>&nbsp;&nbsp;";
    html += "<select id=dropOrder onchange=getActivityDrop()>";
    html += CreateOrderDropDown(session);
    html += "</select>";
    html += "</td>";
    html += "</tr>";

    html += "<tr>";
    html += "<td>&nbsp;Service Activity</td>";
    html += "<td>&nbsp;&nbsp;";
    html += "<select id=dropActivity>";
    html += CreateActivityDropDown(session, "");
    html += "</select>";
    html += "</td>";
    html += "</tr>";

    // The new line's number comes from the line counter, as for the other forms of cost lines,
    // so that two new lines of one activity never share a number.
    const std::string line = "_" + std::to_string(NextRecordNumber(session, RecordCounter::Line));
    html += "<tr>";
    html += "<td>&nbsp;Material Line Id</td>";
    html += "<td>&nbsp;&nbsp;";
    html += line;
    html += "</td>";
    html += "</tr>";

    for (const std::string& field : materialFieldNames(session))
        html += RenderNewField(session, kMaterialLines, field, "material", "");

    html += "<tr>";
    html += "<td colspan=2><hr></td>";
    html += "</tr>";

    // Order and activity stay empty in the call: the page takes them from the two lists.
    html += "<tr>";
    html += "<td>&nbsp;<td>";
    html += "<td align=right>";
    html += "<input";
    html += " type=button value=";
    html += GetLabelText(session, label::kSave);
    html += " onclick=javascript:";
    html += PageFunctionCall("saveObject", {QuotedValue("material"), QuotedValue(""),
                                            QuotedValue(""), QuotedValue(line), QuotedValue("1")});
    html += ">";
    html += "</td>";
    html += "</tr>";

    html += "</table>";
    html += "</form></td></tr></table>";
    return html;
}

}  // namespace quillmere
