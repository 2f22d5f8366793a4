#include "component/store/download_merge.h"

#include <array>
#include <optional>
#include <string_view>

#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/store_index.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

// The order fields that the server's closing overwrites.
constexpr size_t kClosingFirstField = 21;
constexpr size_t kClosingSecondField = 22;

xml::Node field(xml::Node record, size_t position) {
    return xml::requireNode(xml::childElementAt(record, position));
}

std::string fieldText(xml::Node record, size_t position) {
    return xml::text(field(record, position));
}

std::optional<OrderStatus> statusOf(xml::Node record) {
    return ParseOrderStatus(fieldText(record, 0));
}

// The steps of the merge, on the loaded store and its index.
class StoreMerge {
  public:
    explicit StoreMerge(xml::Document& store) : index_(store.node()) {}

    bool changed() const { return changed_; }

    bool orderExists(std::string_view order) const {
        return static_cast<bool>(index_.order(order));
    }

    enum class RecordList { Orders, ActivityGroups };

    // A known order or group stays as it is, except that the server's closing of an order is
    // applied; an unknown group is added, an unknown order only when it is open.
    bool importOrderOrGroup(std::string_view key, xml::Node incoming, RecordList list) {
        if (list == RecordList::Orders) {
            if (index_.order(key)) {
                if (statusOf(incoming) == OrderStatus::Closed)
                    closeOrder(key, fieldText(incoming, kClosingFirstField),
                               fieldText(incoming, kClosingSecondField));
                return false;
            }
            if (!xml::isElementNamed(incoming, "record") || statusOf(incoming) != OrderStatus::Open)
                return false;
            index_.addOrder(append(kOrders, incoming));
            return true;
        }
        if (index_.activityGroup(key)) return false;
        index_.addActivityGroup(append(kActivities, incoming));
        return true;
    }

    // A group that holds no activities receives none: an empty group is left as it is.
    bool importActivity(std::string_view order, std::string_view activity, xml::Node incoming) {
        const xml::Node group = index_.activityGroup(order);
        if (!xml::firstChildElement(group) || xml::childWithAttribute(group, "Activity", activity))
            return false;
        xml::appendCopy(group, incoming);
        changed_ = true;
        return true;
    }

    bool importLineGroup(std::string_view container, std::string_view order,
                         std::string_view activity, xml::Node incoming) {
        if (index_.lineGroup(container, order, activity)) return false;
        index_.addLineGroup(container, append(container, incoming));
        return true;
    }

    // A known line takes the server's value of every field that both carry; its state stays.
    bool importLine(std::string_view container, std::string_view order, std::string_view activity,
                    std::string_view line, xml::Node incoming) {
        const xml::Node group = index_.lineGroup(container, order, activity);
        const xml::Node local = xml::childWithAttribute(group, "LineNumber", line);
        if (!local) {
            xml::appendCopy(xml::requireNode(group), incoming);
            changed_ = true;
            return true;
        }
        for (xml::Node localField : xml::elementChildren(local)) {
            if (const xml::Node incomingField = xml::childNamed(incoming, localField.name())) {
                xml::setText(localField, xml::text(incomingField));
                changed_ = true;
            }
        }
        return false;
    }

    // All three fields are checked before any changes, so a record too short for them is left
    // untouched.
    void closeOrder(std::string_view order, std::string_view firstValue,
                    std::string_view secondValue) {
        const xml::Node record = xml::requireNode(index_.order(order));
        const xml::Node status = field(record, 0);
        const xml::Node first = field(record, kClosingFirstField);
        const xml::Node second = field(record, kClosingSecondField);
        xml::setText(status, StatusCode(OrderStatus::Closed));
        xml::setText(first, firstValue);
        xml::setText(second, secondValue);
        changed_ = true;
    }

    void reopenOrder(std::string_view order) {
        const xml::Node record = index_.order(order);
        if (!record || statusOf(record) != OrderStatus::Finished) return;
        xml::setText(field(record, 0), StatusCode(OrderStatus::Open));
        changed_ = true;
    }

  private:
    xml::Node append(std::string_view container, xml::Node incoming) {
        const xml::Node copy = xml::appendCopy(index_.container(container), incoming);
        changed_ = true;
        return copy;
    }

    StoreIndex index_;
    bool changed_ = false;
};

struct MergeFlags {
    bool ordersAdded = false;
    bool activitiesChanged = false;
    std::array<bool, 3> linesChanged{};  // material, labor, other

    bool any() const {
        return ordersAdded || activitiesChanged || linesChanged[0] || linesChanged[1] ||
               linesChanged[2];
    }
};

constexpr std::array<std::string_view, 3> kLineContainers = {kMaterialLines, kLaborLines,
                                                             kOtherLines};

std::string groupPath(std::string_view container) {
    return std::string(container) + "/ServiceOrder";
}

void mergeOrders(StoreMerge& merge, const xml::Document& incoming, MergeFlags& flags) {
    // The first child of the incoming root holds the orders, whatever its name.
    const xml::Node orders = incoming.root().first_child();
    for (xml::Node record : xml::elementChildren(orders)) {
        if (merge.importOrderOrGroup(xml::requireAttribute(record, "ServiceOrder"), record,
                                     StoreMerge::RecordList::Orders))
            flags.ordersAdded = true;
    }
}

// Only the order whose group brought something new is reopened.
void mergeActivities(StoreMerge& merge, const xml::Document& incoming, MergeFlags& flags) {
    for (xml::Node group : xml::selectAll(incoming.node(), groupPath(kActivities))) {
        const std::string order = xml::requireAttribute(group, "ID");
        bool groupChanged = false;
        if (merge.orderExists(order)) {
            if (merge.importOrderOrGroup(order, group, StoreMerge::RecordList::ActivityGroups)) {
                groupChanged = true;
            } else {
                for (xml::Node activity : xml::elementChildren(group)) {
                    if (merge.importActivity(order, xml::requireAttribute(activity, "Activity"),
                                             activity))
                        groupChanged = true;
                }
            }
        }
        if (groupChanged) {
            flags.activitiesChanged = true;
            merge.reopenOrder(order);
        }
    }
}

void mergeLines(StoreMerge& merge, const xml::Document& incoming, MergeFlags& flags) {
    for (size_t type = 0; type < kLineContainers.size(); ++type) {
        const std::string_view container = kLineContainers[type];
        for (xml::Node group : xml::selectAll(incoming.node(), groupPath(container))) {
            const std::string order = xml::requireAttribute(group, "ID");
            const std::string activity = xml::requireAttribute(group, "Activity");
            if (!merge.orderExists(order)) continue;
            if (merge.importLineGroup(container, order, activity, group)) {
                flags.linesChanged[type] = true;
                continue;
            }
            for (xml::Node line : xml::elementChildren(group)) {
                if (merge.importLine(container, order, activity,
                                     xml::requireAttribute(line, "LineNumber"), line))
                    flags.linesChanged[type] = true;
            }
        }
    }
}

}  // namespace

MergeResult MergeDownload(Session& session, const xml::Document& incoming) {
    StoreMerge merge(session.state.orderStore);
    MergeFlags flags;
    try {
        mergeOrders(merge, incoming, flags);
        mergeActivities(merge, incoming, flags);
        mergeLines(merge, incoming, flags);
    } catch (...) {
        if (merge.changed()) SaveOrderStore(session);
        throw;
    }
    if (merge.changed()) SaveOrderStore(session);
    return flags.any() ? MergeResult::Added : MergeResult::NothingNew;
}

}  // namespace quillmere
