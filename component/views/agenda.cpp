#include "component/views/agenda.h"

#include <string_view>
#include <unordered_map>

#include "component/core/details_link.h"
#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "component/core/record_kind.h"
#include "component/core/title_bar.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/store_index.h"
#include "component/views/field_definition_index.h"
#include "component/views/list_cells.h"
#include "component/views/list_panel.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kAgendaAction = "My Activities";
constexpr std::string_view kPanelId = "divList";
constexpr std::string_view kFormName = "order";

struct AgendaVariant {
    OrderStatus status;
    std::string_view rowMark;
    std::string_view titleKey;
    std::string_view emptyKey;
    bool headingsAboveScrollingArea;  // MyActivities keeps its headings fixed above the rows
};

constexpr AgendaVariant kOpenOrders{OrderStatus::Open, "", label::kMyActivities,
                                    label::kNoActivities, true};
constexpr AgendaVariant kCompletedOrders{OrderStatus::Finished, "", label::kCompletedOrders,
                                         label::kNoOrders, false};
constexpr AgendaVariant kClosedOrders{OrderStatus::Closed, " X ", label::kClosedOrders,
                                      label::kNoOrders, false};

// The statuses of the store's orders, looked up once per group. Within one view the store is
// not changed, so the loaded document answers what a reload of the file per group would.
class OrderStatuses {
  public:
    explicit OrderStatuses(const xml::Document& store) {
        for (xml::Node record : xml::selectAll(store.node(), "ccsocservcordr/record"))
            if (const auto key = xml::attributeView(record, "ServiceOrder"))
                records_.try_emplace(std::string(*key), record);
    }
    std::string of(const std::string& order) const {
        const auto found = records_.find(order);
        return found == records_.end() ? std::string() : OrderStatusOf(found->second);
    }

  private:
    std::unordered_map<std::string, xml::Node> records_;
};

std::string reportFailure(ListCall& call, std::string_view key) {
    call.reportFailure(kAgendaAction, GetLabelText(call.session(), key));
    return {};
}

// The link that opens a record's details, in a span named after the order.
std::string detailsLink(std::string_view kind, std::string_view order, std::string_view activity,
                        std::string_view shown) {
    return DetailsLink(order, ShowDetailsCall({kind, order, activity}, DetailsPurpose::Show),
                       HtmlText(shown));
}

void appendGroupRow(std::string& html, int16_t columns, const std::string& order) {
    html += "<tr class=orderrow>";
    html += "<td colspan=";
    html += std::to_string(columns);
    html += ">&nbsp;";
    html += detailsLink(kind_code::kOrder, order, "", order);
    html += "</td>";
    html += "</tr>";
}

void appendActivityRow(std::string& html, const AgendaVariant& variant,
                       const FieldDefinitionIndex& definitions, const std::string& order,
                       xml::Node activity) {
    const std::string number = xml::requireAttribute(activity, "Activity");
    html += "<tr class=tablerows>";
    html += "<td>";
    html += variant.rowMark;
    html += "</td>";
    html += "<td>";
    html += "&nbsp;";
    html += detailsLink(kind_code::kActivity, order, number, number);
    html += "</td>";
    for (xml::Node field : xml::elementChildren(activity))
        html += BuildListCell(definitions, kActivities, field.name(), xml::text(field), kFormName);
    html += "</tr>";
}

std::string head(Session& session, const AgendaVariant& variant, const std::string& title,
                 int16_t& columns) {
    std::string html;
    if (variant.headingsAboveScrollingArea) {
        html += kListPanelTable;
        html += BuildTitleBar(2, title, kPanelId);
        html += "<tr><td width=100%>";
        html += "<table border=0 cellspacing=2 cellpadding=0 width=100%  height=25>";
        html += BuildColumnHeadings(session, columns, kActivities);
        html += "</table>";
        html += kScrollingDivision;
        html += "<table border=0 cellspacing=2 cellpadding=0 width=100%  height=300>";
        html += "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>";
        html += "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>";
    } else {
        html += "<table width=100% border=0 cellspacing=0 cellpadding=0>";
        html += BuildTitleBar(2, title, kPanelId);
        html += "<tr><td width=100%>";
        html += kScrollingDivision;
        html += "<table border=0 cellspacing=1 cellpadding=0 width=100%>";
        html += BuildColumnHeadings(session, columns, kActivities);
    }
    return html;
}

std::string tail(const AgendaVariant& variant) {
    std::string html = variant.headingsAboveScrollingArea ? "</table></div>" : "</div></table>";
    html += "</td></tr></table>";
    return html;
}

std::string RenderAgenda(Session& session, const AgendaVariant& variant) {
    ListCall call(session);
    if (!LoadOrderStore(session)) return reportFailure(call, label::kOrderStoreNotLoaded);
    if (!LoadFieldMapperDocument(session))
        return reportFailure(call, label::kFieldDefinitionsNotLoaded);
    const std::string title = GetLabelText(session, variant.titleKey);
    // Indexed after the label look-up, which reloads the document if the file changed.
    const FieldDefinitionIndex definitions(session.state.fieldMapper);

    int16_t columns = 0;
    const std::string html = head(session, variant, title, columns);

    const xml::Document& store = session.state.orderStore;
    const OrderStatuses statuses(store);
    std::string list;
    const xml::Node groups = FindContainer(store.node(), kActivities);
    for (xml::Node group : xml::elementChildren(groups)) {
        const std::string order = xml::requireAttribute(group, "ID");
        if (statuses.of(order) != StatusCode(variant.status)) continue;
        appendGroupRow(list, columns, order);
        for (xml::Node activity : xml::elementChildren(group))
            appendActivityRow(list, variant, definitions, order, activity);
    }
    if (list.empty()) return reportFailure(call, variant.emptyKey);
    return html + list + tail(variant);
}

}  // namespace

std::string MyActivities(Session& session, const std::string&) {
    return RenderAgenda(session, kOpenOrders);
}

std::string completedAgenda(Session& session) {
    return RenderAgenda(session, kCompletedOrders);
}

std::string canceledAgenda(Session& session) {
    return RenderAgenda(session, kClosedOrders);
}

}  // namespace quillmere
