#include "component/views/cost_line_lists.h"

#include <string_view>
#include <utility>

#include "component/core/details_link.h"
#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "component/core/record_kind.h"
#include "component/core/settings.h"
#include "component/core/title_bar.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/store_index.h"
#include "component/views/field_definition_index.h"
#include "component/views/list_cells.h"
#include "component/views/list_panel.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

// A cost type as the list methods name it ("Material") or as BuildCostLines numbers it ("1"):
// the kind of its lines, or a kind without container, code and title for anything else.
using CostType = RecordKind;
constexpr CostType kNoCostType{};

const CostType& costTypeByListName(std::string_view name) {
    const RecordKind* kind = RecordKindByCostType(name);
    return kind ? *kind : kNoCostType;
}

const CostType& costTypeByNumber(std::string_view number) {
    const RecordKind* kind = RecordKindByCostTypeNumber(number);
    return kind ? *kind : kNoCostType;
}

bool known(const CostType& type) {
    return type.isCostLine();
}

std::string titleOf(Session& session, const CostType& type) {
    return known(type) ? GetLabelText(session, type.listTitle) : std::string();
}

// The link that opens a record's details, in a span named after the order.
std::string detailsLink(const DetailsTarget& target, std::string_view shown) {
    return DetailsLink(target.order, ShowDetailsCall(target, DetailsPurpose::Show),
                       HtmlText(shown));
}

// The rows of one line group: its order row, its activity row and one row per admitted line.
class CostLineRows {
  public:
    CostLineRows(const CostType& type, const FieldDefinitionIndex& definitions, int16_t headings)
        : type_(type), definitions_(definitions), headings_(headings) {}

    std::string orderRow(std::string_view order) const {
        std::string html = "<tr class=orderrow>";
        html += "<td colspan=";
        html += std::to_string(headings_);
        html += ">&nbsp;";
        html += detailsLink({kind_code::kOrder, order}, order);
        html += "</td>";
        html += "</tr>";
        return html;
    }

    std::string activityRow(std::string_view order, std::string_view activity) const {
        std::string html = "<tr class=orderrow>";
        html += "<td>&nbsp;</td>";
        html += "<td colspan=";
        html += std::to_string(headings_ - 1);
        html += ">&nbsp;";
        html += detailsLink({kind_code::kActivity, order, activity}, activity);
        html += "</td>";
        html += "</tr>";
        return html;
    }

    // The line's first field gets no cell, although the headings may show it.
    std::string lineRow(std::string_view order, std::string_view activity, xml::Node line) const {
        const std::string number = xml::requireAttribute(line, "LineNumber");
        std::string html = "<tr class=tablerows>";
        html += "<td>&nbsp;</td>";
        html += "<td>&nbsp;</td>";
        html += "<td>";
        html += "&nbsp;";
        html += detailsLink({type_.code, order, activity, number}, number);
        html += "</td>";
        bool first = true;
        for (xml::Node field : xml::elementChildren(line)) {
            if (!first)
                html += BuildListCell(definitions_, type_.element, field.name(), xml::text(field),
                                      "material");
            first = false;
        }
        html += "</tr>";
        return html;
    }

  private:
    const CostType& type_;
    const FieldDefinitionIndex& definitions_;
    int16_t headings_;
};

// The table that BuildCostLines returns when the activity has no lines of the type: offline,
// a button to create the first line follows `message`.
std::string noCostLinesTable(Session& session, const CostType& type, std::string_view message,
                             bool offline, std::string_view order, std::string_view activity) {
    std::string html = "<table border=0 cellspacing=1 cellpadding=0 width=100%>";
    html += "<tr class=tablerows>";
    html += "<td colspan=";
    html += "0";
    if (offline) {
        html += message;
        html += "<input type=button value=";
        html += Quoted(GetLabelText(session, label::kAddCostLine));
        html += " onclick=javascript:";
        html += PageFunctionCall(
            "newObject", {QuotedValue(type.code), QuotedValue(order), QuotedValue(activity)});
        html += ">";
        html += "</td></tr></table>";
    } else {
        html += ">";
        html += GetLabelText(session, label::kNoCostLinesOfType);
        html += "</td>";
        html += "</tr>";
        html += "</table>";
    }
    return html;
}

// The list panels differ only in the groups and lines they admit and in their panel id.
struct CostListVariant {
    std::string_view panelId;
    bool (*admitsGroup)(xml::Node group, std::string_view order, std::string_view activity);
    bool (*admitsLine)(xml::Node line);
    bool keepsGroupWithoutLines;
};

bool everyLine(xml::Node) {
    return true;
}
bool everyGroup(xml::Node, std::string_view, std::string_view) {
    return true;
}
bool groupOfActivity(xml::Node group, std::string_view order, std::string_view activity) {
    return xml::requireAttribute(group, "ID") == order &&
           xml::requireAttribute(group, "Activity") == activity;
}
bool workingLine(xml::Node line) {
    return StateIn(RecordState(line), kWorkingStates);
}
bool uploadedLine(xml::Node line) {
    return StateIn(RecordState(line), kUploadedStates);
}
bool uploadedGroup(xml::Node group, std::string_view, std::string_view) {
    return StateIn(RecordState(group), kUploadedGroupStates);
}

constexpr CostListVariant kListCostLines{"divCosts", groupOfActivity, everyLine, true};
constexpr CostListVariant kViewCostLinesWorking{"divList", everyGroup, workingLine, false};
constexpr CostListVariant kViewCostLinesUploaded{"divList", uploadedGroup, uploadedLine, false};

constexpr std::string_view kListAction = "List Cost Lines";

std::string renderCostList(Session& session, const CostListVariant& variant,
                           const std::string& iCostType, std::string_view order,
                           std::string_view activity) {
    const CostType& type = costTypeByListName(iCostType);
    const std::string title = titleOf(session, type);
    ListCall call(session);
    if (!call.checkWorkingMode(kListAction)) return {};
    if (!call.loadDocuments(kListAction)) return {};

    std::string fragment = ScrollingListHead(title, variant.panelId);
    // An unknown cost type has no field definitions to head the list with.
    if (!known(type)) throw platform::objectNotSet();
    int16_t headings = 0;
    fragment += BuildColumnHeadings(session, headings, type.element);

    const FieldDefinitionIndex definitions(session.state.fieldMapper);
    const CostLineRows rowsOf(type, definitions, headings);
    std::string rows;
    const xml::Node groups = FindContainer(session.state.orderStore.node(), type.element);
    for (xml::Node group : xml::elementChildren(groups)) {
        if (!variant.admitsGroup(group, order, activity)) continue;
        const std::string groupOrder = xml::requireAttribute(group, "ID");
        const std::string groupActivity = xml::requireAttribute(group, "Activity");
        std::string lineRows;
        for (xml::Node line : xml::elementChildren(group)) {
            if (variant.admitsLine(line))
                lineRows += rowsOf.lineRow(groupOrder, groupActivity, line);
        }
        if (lineRows.empty() && !variant.keepsGroupWithoutLines) continue;
        rows += rowsOf.orderRow(groupOrder);
        rows += rowsOf.activityRow(groupOrder, groupActivity);
        rows += lineRows;
    }
    return call.finishLineList(std::move(fragment), rows, kListAction, title);
}

}  // namespace

std::string CostLinesHeader(Session& session, const std::string& iOrno, const std::string& iAcln) {
    std::string html = "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0>";
    html += BuildTitleBar(1, GetLabelText(session, label::kCostLines), "divCostHeader");
    html += "<tr><td width=100%>";
    html += "<table border=0 class=tablerows ";
    html += "cellspacing=1 cellpadding=0 width=100%>";
    html += "<tr><td nowrap>";
    html += GetLabelText(session, label::kServiceOrder);
    html += "</td>";
    html += "<td>&nbsp;&nbsp;";
    html += HtmlText(iOrno);
    html += "</td></tr>";
    html += "<tr><td>";
    html += GetLabelText(session, label::kActivity);
    html += "</td>";
    html += "<td>&nbsp;&nbsp;";
    html += HtmlText(iAcln);
    html += "</td></tr>";
    html += "<tr><td>";
    html += GetLabelText(session, label::kCostType);
    html += "</td>";
    html += "<td>&nbsp;&nbsp;";
    html += "<SELECT name=costtype";
    html += " onchange=javascript:";
    html += PageFunctionCall("showlines", {"costtype.options[costtype.selectedIndex].value",
                                           QuotedValue(iOrno), QuotedValue(iAcln)});
    html += ">";
    html += "<option value=0 selected>";
    html += GetLabelText(session, label::kSelectCostType);
    html += "<option value=1>";
    html += GetLabelText(session, label::kMaterial);
    html += "<option value=2> ";
    html += GetLabelText(session, label::kLabor);
    html += "<option value=3>";
    html += GetLabelText(session, label::kOther);
    html += "</SELECT></td></tr>";
    html += "</table>";
    html += "</td></tr></table>";
    return html;
}

std::string BuildCostLines(Session& session, const std::string& icType, const std::string& iOrno,
                           const std::string& iAcln) {
    const bool offline = GetVariable(session, "Mode") == "Offline";
    SetLastError(session, kNoError);
    const CostType& type = costTypeByNumber(icType);
    const std::string title = titleOf(session, type);
    // The store is read from its file, so the lines shown are those on disk whatever the
    // previous call left in the shared document.
    LoadOrderStore(session);

    const xml::Node groups =
        known(type) ? FindContainer(session.state.orderStore.node(), type.element) : xml::Node();
    if (!groups)
        return noCostLinesTable(session, type,
                                ">" + GetLabelText(session, label::kNoCostLinesOfType), offline,
                                iOrno, iAcln);
    for (xml::Node group : xml::elementChildren(groups)) {
        if (!groupOfActivity(group, iOrno, iAcln)) continue;
        std::string html = "<table width=100% border=0 cellspacing=0 cellpadding=0>";
        html += BuildTitleBar(2, title, "divCostLines");
        html += "<tr><td width=100%>";
        html += "<table border=0 cellspacing=1 cellpadding=0 Width = 100%>";
        int16_t headings = 0;
        html += BuildColumnHeadings(session, headings, type.element);
        const FieldDefinitionIndex definitions(session.state.fieldMapper);
        const CostLineRows rows(type, definitions, headings);
        html += rows.orderRow(iOrno);
        html += rows.activityRow(iOrno, iAcln);
        for (xml::Node line : xml::elementChildren(group)) html += rows.lineRow(iOrno, iAcln, line);
        // The outer table and its cell stay open: the page closes them.
        html += "</table>";
        return html;
    }
    return noCostLinesTable(session, type, ">There are no cost lines found. ", offline, iOrno,
                            iAcln);
}

std::string ListCostLines(Session& session, const std::string& iCostType, const std::string& iorder,
                          const std::string& iActivity) {
    return renderCostList(session, kListCostLines, iCostType, iorder, iActivity);
}

std::string ViewCostLines_W(Session& session, const std::string& iCostType) {
    return renderCostList(session, kViewCostLinesWorking, iCostType, {}, {});
}

std::string ViewCostLines_SI(Session& session, const std::string& iCostType) {
    return renderCostList(session, kViewCostLinesUploaded, iCostType, {}, {});
}

}  // namespace quillmere
