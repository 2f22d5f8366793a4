#include "component/views/order_lists.h"

#include <string>
#include <vector>

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

// The record filter of a list: every record, or those whose State is in the set.
struct StateFilter {
    bool everyRecord = false;
    StateSet states = {};

    bool admits(xml::Node record) const {
        return everyRecord || StateIn(RecordState(record), states);
    }
};
constexpr StateFilter kEveryRecord{true};

// The three order lists differ only in the records they admit and in the user action under
// which "nothing to list" is logged (load failures are always logged as "List Orders").
struct OrderListVariant {
    StateFilter orders;
    std::string_view emptyListAction;
};
constexpr OrderListVariant kListOrders{kEveryRecord, "List Orders"};
constexpr OrderListVariant kViewOrdersWorking{{false, kWorkingStates}, "View Orders"};
constexpr OrderListVariant kViewOrdersUploaded{{false, kUploadedStates}, "View Orders"};

// The two activity lists differ only in the groups and activities they admit.
struct ActivityListVariant {
    StateFilter groups;
    StateFilter activities;
};
constexpr ActivityListVariant kViewActivitiesWorking{kEveryRecord, {false, kWorkingStates}};
constexpr ActivityListVariant kViewActivitiesUploaded{{false, kUploadedGroupStates},
                                                      {false, kUploadedStates}};

constexpr std::string_view kOrderFormName = "order";

xml::Node requireContainer(Session& session, std::string_view name) {
    return xml::requireNode(FindContainer(session.state.orderStore.node(), name));
}

// The link that opens a record's details, in a span named after the order.
std::string detailsLink(std::string_view kind, std::string_view order, std::string_view activity,
                        std::string_view shown) {
    return DetailsLink(order, ShowDetailsCall({kind, order, activity}, DetailsPurpose::Show),
                       HtmlText(shown));
}

// One list cell per field of the record, in document order.
std::string fieldCells(const FieldDefinitionIndex& definitions, std::string_view kind,
                       xml::Node record) {
    std::string html;
    for (xml::Node field : xml::elementChildren(record))
        html += BuildListCell(definitions, kind, field.name(), xml::text(field), kOrderFormName);
    return html;
}

std::string orderListHead(Session& session) {
    std::string html = ScrollingListHead(GetLabelText(session, label::kServiceOrders), "divList");
    int16_t headings = 0;
    html += BuildColumnHeadings(session, headings, kOrders);
    return html;
}

std::string orderRow(const FieldDefinitionIndex& definitions, xml::Node record) {
    const std::string order = xml::requireAttribute(record, "ServiceOrder");
    std::string html = "<tr class=tablerows>";
    html += "<td>&nbsp;";
    html += detailsLink(kind_code::kOrder, order, "", order);
    html += "</td>";
    html += fieldCells(definitions, kOrders, record);
    html += "</tr>";
    return html;
}

std::string renderOrderList(Session& session, const OrderListVariant& variant) {
    ListCall call(session);
    if (!call.loadDocuments("List Orders")) return {};

    std::string fragment = orderListHead(session);
    const FieldDefinitionIndex definitions(session.state.fieldMapper);
    std::string rows;
    const xml::Node orders = requireContainer(session, kOrders);
    for (xml::Node record : xml::elementChildren(orders)) {
        if (variant.orders.admits(record)) rows += orderRow(definitions, record);
    }
    if (rows.empty()) {
        call.reportFailure(variant.emptyListAction, GetLabelText(session, label::kNoServiceOrders));
    } else {
        fragment += rows;
        fragment += "</div></table>";
        fragment += "</td></tr></table>";
    }
    return call.failed() ? std::string() : fragment;
}

// The head of the agenda's activity panel without its two height attributes: the headings in
// a fixed table above the scrolling rows, whose table repeats the seven column widths.
std::string activityListHead(Session& session, int16_t& headings) {
    std::string html(kListPanelTable);
    html += BuildTitleBar(2, GetLabelText(session, label::kMyActivities), "divList");
    html += "<tr><td width=100%>";
    html += "<table border=0 cellspacing=2 cellpadding=0 width=100%>";
    html += BuildColumnHeadings(session, headings, kActivities);
    html += "</table>";
    html += kScrollingDivision;
    html += "<table border=0 cellspacing=2 cellpadding=0 width=100%>";
    html += "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>";
    html += "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>";
    return html;
}

std::string activityGroupRow(std::string_view order, int16_t headings) {
    std::string html = "<tr class=orderrow>";
    html += "<td colspan=";
    html += std::to_string(headings);
    html += ">&nbsp;";
    html += detailsLink(kind_code::kOrder, order, "", order);
    html += "</td>";
    html += "</tr>";
    return html;
}

std::string activityRow(const FieldDefinitionIndex& definitions, std::string_view order,
                        xml::Node activity) {
    const std::string number = xml::requireAttribute(activity, "Activity");
    std::string html = "<tr class=tablerows>";
    html += "<td>";
    html += "</td>";
    html += "<td>";
    html += "&nbsp;";
    html += detailsLink(kind_code::kActivity, order, number, number);
    html += "</td>";
    html += fieldCells(definitions, kActivities, activity);
    html += "</tr>";
    return html;
}

std::string renderActivityList(Session& session, const ActivityListVariant& variant) {
    constexpr std::string_view action = "My Activities";
    ListCall call(session);
    if (!LoadOrderStore(session)) {
        call.reportFailure(action, GetLabelText(session, label::kOrderStoreNotLoaded));
        return {};
    }
    if (!LoadFieldMapperDocument(session)) {
        call.reportFailure(action, GetLabelText(session, label::kFieldDefinitionsNotLoaded));
        return {};
    }
    int16_t headings = 0;
    std::string fragment = activityListHead(session, headings);
    const FieldDefinitionIndex definitions(session.state.fieldMapper);

    std::string rows;
    const xml::Node groups = FindContainer(session.state.orderStore.node(), kActivities);
    for (xml::Node group : xml::elementChildren(groups)) {
        if (!variant.groups.admits(group)) continue;
        const std::string order = xml::requireAttribute(group, "ID");
        std::string activityRows;
        for (xml::Node activity : xml::elementChildren(group)) {
            if (variant.activities.admits(activity))
                activityRows += activityRow(definitions, order, activity);
        }
        // Unlike the agenda, a group without admitted activities leaves no trace.
        if (activityRows.empty()) continue;
        rows += activityGroupRow(order, headings);
        rows += activityRows;
    }
    if (rows.empty()) {
        call.reportFailure(action, GetLabelText(session, label::kNoActivities));
        return {};
    }
    fragment += rows;
    fragment += "</table></div>";
    fragment += "</td></tr></table>";
    return fragment;
}

}  // namespace

std::string ListOrders(Session& session) {
    return renderOrderList(session, kListOrders);
}
std::string ViewOrders_W(Session& session) {
    return renderOrderList(session, kViewOrdersWorking);
}
std::string ViewOrders_SI(Session& session) {
    return renderOrderList(session, kViewOrdersUploaded);
}

std::string ViewActivities_W(Session& session) {
    return renderActivityList(session, kViewActivitiesWorking);
}
std::string ViewActivities_SI(Session& session) {
    return renderActivityList(session, kViewActivitiesUploaded);
}

}  // namespace quillmere
