#include "component/views/hra_lists.h"

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
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/store_index.h"
#include "component/views/field_definition_index.h"
#include "component/views/list_cells.h"
#include "component/views/list_panel.h"
#include "component/views/stored_date.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kListAction = "List Cost Lines";
constexpr size_t kRegistrationDatePosition = 8;
constexpr size_t kFirstListedPosition = 2;

// The three lists differ only in the lines they admit.
using LineFilter = bool (*)(xml::Node line);
bool everyLine(xml::Node) {
    return true;
}
bool workingLine(xml::Node line) {
    return StateIn(RecordState(line), kWorkingStates);
}
bool uploadedLine(xml::Node line) {
    return StateIn(RecordState(line), kUploadedStates);
}

// Month/day/year, a blank and the time digits; an empty date gives "// ".
std::string registrationDate(std::string_view stored) {
    std::string date(platform::mid(stored, 5, 2));
    date += "/";
    date += platform::mid(stored, 7, 2);
    date += "/";
    date += platform::mid(stored, 1, 4);
    date += " ";
    date += platform::mid(stored, 10, 4);
    return date;
}

std::string registrationRow(const FieldDefinitionIndex& definitions, std::string_view order,
                            std::string_view activity, xml::Node line) {
    const std::string number = xml::requireAttribute(line, "LineNumber");
    const std::vector<xml::Node> fields = xml::childElements(line);
    if (fields.size() <= kRegistrationDatePosition) throw platform::objectNotSet();

    std::string html = "<tr class=tablerows>";
    html += "<td align=center>";
    html += "&nbsp;";
    html += DetailsLink(number,
                        ShowDetailsCall({kind_code::kLaborLine, order, activity, number},
                                        DetailsPurpose::Show, "showdetailsforhra"),
                        HtmlText(number));
    html += "</td>";
    html += "<td align=center>";
    html += HtmlText(registrationDate(xml::text(fields[kRegistrationDatePosition])));
    html += "</td>";
    for (size_t position = kFirstListedPosition; position < fields.size(); ++position)
        html += BuildListCell(definitions, kLaborLines, fields[position].name(),
                              xml::text(fields[position]), "labor");
    html += "</tr>";
    return html;
}

std::string renderRegistrationList(Session& session, LineFilter admits) {
    const std::string laborTitle = GetLabelText(session, label::kLaborCostLines);
    ListCall call(session);
    if (!call.checkWorkingMode(kListAction)) return {};
    if (!call.loadDocuments(kListAction)) return {};

    std::string fragment =
        ScrollingListHead(GetLabelText(session, label::kHoursRegistrations), "divList");
    int16_t headings = 0;
    fragment += getColumnHeadingsForHRA(session, headings, std::string(kLaborLines));
    fragment += "<tr>&nbsp;&nbsp;&nbsp;&nbsp;</tr>";

    const FieldDefinitionIndex definitions(session.state.fieldMapper);
    std::string rows;
    const xml::Node groups = FindContainer(session.state.orderStore.node(), kLaborLines);
    for (xml::Node group : xml::elementChildren(groups)) {
        const std::string order = xml::requireAttribute(group, "ID");
        const std::string activity = xml::requireAttribute(group, "Activity");
        // Lines of an activity's cost are not registrations.
        if (!order.empty() || !activity.empty()) continue;
        for (xml::Node line : xml::elementChildren(group))
            if (admits(line)) rows += registrationRow(definitions, order, activity, line);
    }
    return call.finishLineList(std::move(fragment), rows, kListAction, laborTitle);
}

}  // namespace

std::string getColumnHeadingsForHRA(Session& session, int16_t& iCols, const std::string& iBoiTag) {
    std::string html = "<COL WIDTH=120> <COL WIDTH=150><COL WIDTH=150><COL WIDTH=150>";
    html += "<tr>";
    const std::vector<xml::Node> kinds = xml::selectAll(session.state.fieldMapper.node(), iBoiTag);
    if (kinds.empty()) throw platform::objectNotSet();
    for (xml::Node definition : xml::childElements(kinds.front())) {
        const std::string_view place = xml::attributeOrEmpty(definition, "UINTERFACE");
        if (place != "1" && place != "3") continue;
        const std::string_view name = definition.name();
        if (name == "ServiceOrder" || name == "Activity") continue;
        if (iCols == INT16_MAX) throw platform::overflow();
        ++iCols;
        html += "<td class=tableheader align=center nowrap>";
        html += xml::attributeOrEmpty(definition, "LABEL");
        html += "</td>";
        if (iCols == 1) {
            html += "<td class=tableheader align=center nowrap>";
            html += "Registration Date";
            html += "</td>";
        }
    }
    html += "</tr>";
    return html;
}

std::string ListHRALines(Session& session, const std::string&, const std::string&,
                         const std::string&) {
    return renderRegistrationList(session, everyLine);
}

std::string ViewHra_W(Session& session) {
    return renderRegistrationList(session, workingLine);
}

std::string ViewHra_SI(Session& session) {
    return renderRegistrationList(session, uploadedLine);
}

}  // namespace quillmere
