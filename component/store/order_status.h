#pragma once
// The status codes of orders and activities as the order store holds them (the first field of
// a record): open "15", finished on the laptop "20", closed by the server "35".
//
// Failures: OrderStatusOf fails with the object error on a record without fields; the rest
// never fail.
#include <optional>
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

enum class OrderStatus { Open, Finished, Closed };

// The code stored for the status.
constexpr std::string_view StatusCode(OrderStatus status) {
    switch (status) {
        case OrderStatus::Open:
            return "15";
        case OrderStatus::Finished:
            return "20";
        case OrderStatus::Closed:
            return "35";
    }
    return {};
}

// The status a stored code stands for (compared exactly); nullopt for any other text.
std::optional<OrderStatus> ParseOrderStatus(std::string_view code);

// The record's status: the text of its first field.
std::string OrderStatusOf(platform::xml::Node record);

// The status of the first order record with that number under any order container of the
// loaded store (`storeDocument` is the document node); "" when there is none.
std::string OrderStatusIn(platform::xml::Node storeDocument, std::string_view order);

// The same, read from the store file on disk: what a view sees whatever the shared document
// holds. "" when the file is missing or ill-formed.
std::string GetOrderStatus(Session& session, std::string_view order);

}  // namespace quillmere
