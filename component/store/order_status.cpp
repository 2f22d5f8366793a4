#include "component/store/order_status.h"

#include "component/core/install_paths.h"

namespace quillmere {

namespace xml = platform::xml;

std::optional<OrderStatus> ParseOrderStatus(std::string_view code) {
    for (OrderStatus status : {OrderStatus::Open, OrderStatus::Finished, OrderStatus::Closed}) {
        if (code == StatusCode(status)) return status;
    }
    return std::nullopt;
}

std::string OrderStatusOf(xml::Node record) {
    return xml::text(xml::requireNode(xml::firstChildElement(record)));
}

std::string OrderStatusIn(xml::Node storeDocument, std::string_view order) {
    for (xml::Node record : xml::selectAll(storeDocument, "ccsocservcordr/record")) {
        if (xml::attributeEquals(record, "ServiceOrder", order)) return OrderStatusOf(record);
    }
    return {};
}

std::string GetOrderStatus(Session& session, std::string_view order) {
    xml::Document store;
    store.loadFile(session.path(paths::kOrderStore));
    return OrderStatusIn(store.node(), order);
}

}  // namespace quillmere
