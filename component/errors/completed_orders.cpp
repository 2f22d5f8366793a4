#include "component/errors/completed_orders.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "component/core/install_paths.h"
#include "component/store/order_status.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "component/store/store_index.h"
#include "component/store/upload_report.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kLineContainers[] = {kMaterialLines, kLaborLines, kOtherLines};

std::string activityKey(std::string_view order, std::string_view activity) {
    std::string key(order);
    key += '\x1f';
    key += activity;
    return key;
}

// What the server's current document lists, parsed once and looked up by hash. The order and
// activity sets are built when first asked, so a document that lacks the activity container
// fails only when an activity is examined.
class ServerListing {
  public:
    explicit ServerListing(std::string_view text) : text_(text) {}

    bool listsOrder(std::string_view order) {
        if (!orders_) {
            orders_.emplace();
            const xml::Node container = containerOf(kOrders);
            for (xml::Node record : xml::elementChildren(container))
                if (const auto key = xml::attributeView(record, "ServiceOrder"))
                    orders_->emplace(*key);
        }
        return orders_->contains(std::string(order));
    }

    bool listsActivity(std::string_view order, std::string_view activity) {
        if (!activities_) {
            activities_.emplace();
            const xml::Node container = containerOf(kActivities);
            for (xml::Node group : xml::elementChildren(container)) {
                const auto id = xml::attributeView(group, "ID");
                if (!id) continue;
                for (xml::Node entry : xml::elementChildren(group))
                    if (const auto number = xml::attributeView(entry, "Activity"))
                        activities_->emplace(activityKey(*id, *number));
            }
        }
        return activities_->contains(activityKey(order, activity));
    }

  private:
    xml::Node containerOf(std::string_view name) {
        if (!parsed_) {
            parsed_ = true;
            if (!document_.parse(text_)) throw platform::objectNotSet();
        }
        const xml::Node container = FindContainer(document_.node(), name);
        if (!container) throw platform::objectNotSet();
        return container;
    }

    std::string_view text_;
    xml::Document document_;
    bool parsed_ = false;
    std::optional<std::unordered_set<std::string>> orders_;
    std::optional<std::unordered_set<std::string>> activities_;
};

// Removal from the loaded store through an index of its activity groups and line groups,
// built once, so that removing many orders stays linear. It removes exactly what
// RemoveActivities and RemoveLines (store_removal.h) remove for a whole order or one
// activity: the order's first activity group (or the one activity, and the group when it is
// left empty), and every line group of the order (or of that activity).
class StoreRemoval {
  public:
    explicit StoreRemoval(xml::Node storeRoot) {
        indexGroups(activityGroups_, FindContainer(storeRoot, kActivities), {});
        for (size_t i = 0; i < std::size(kLineContainers); ++i)
            indexGroups(lineGroups_[i], FindContainer(storeRoot, kLineContainers[i]), "Activity");
    }

    xml::Node activityGroup(const std::string& order) const {
        const auto found = activityGroups_.find(order);
        return found == activityGroups_.end() ? xml::Node() : found->second.front().node;
    }

    // The order record, the order's activity group and all its cost lines.
    void removeOrder(xml::Node record, const std::string& order) {
        xml::remove(record);
        const auto group = activityGroups_.find(order);
        if (group != activityGroups_.end()) {
            xml::remove(group->second.front().node);
            group->second.erase(group->second.begin());
            if (group->second.empty()) activityGroups_.erase(group);
        }
        for (GroupsByOrder& groups : lineGroups_) removeLineGroups(groups, order, std::nullopt);
    }

    // One activity with its cost lines; its group goes when it holds nothing more.
    void removeActivity(xml::Node activity, const std::string& order, const std::string& number) {
        for (GroupsByOrder& groups : lineGroups_) removeLineGroups(groups, order, number);
        const xml::Node group = activity.parent();
        xml::remove(activity);
        if (!xml::hasChildNodes(group)) {
            auto found = activityGroups_.find(order);
            xml::remove(group);
            found->second.erase(found->second.begin());
            if (found->second.empty()) activityGroups_.erase(found);
        }
    }

  private:
    struct Group {
        xml::Node node;
        std::string activity;
    };
    using GroupsByOrder = std::unordered_map<std::string, std::vector<Group>>;

    // Activity groups are indexed without an activity (`activityAttribute` empty).
    static void indexGroups(GroupsByOrder& index, xml::Node container,
                            std::string_view activityAttribute) {
        for (xml::Node group : xml::elementChildren(container)) {
            const auto id = xml::attributeView(group, "ID");
            if (!id) continue;
            Group entry{group, std::string(activityAttribute.empty()
                                               ? std::string_view()
                                               : xml::attributeOrEmpty(group, activityAttribute))};
            index[std::string(*id)].push_back(std::move(entry));
        }
    }

    // Every line group of the order; with an activity, only that activity's.
    static void removeLineGroups(GroupsByOrder& index, const std::string& order,
                                 const std::optional<std::string>& activity) {
        const auto found = index.find(order);
        if (found == index.end()) return;
        std::vector<Group>& groups = found->second;
        std::erase_if(groups, [&](const Group& group) {
            if (activity && group.activity != *activity) return false;
            xml::remove(group.node);
            return true;
        });
        if (groups.empty()) index.erase(found);
    }

    GroupsByOrder activityGroups_;
    GroupsByOrder lineGroups_[std::size(kLineContainers)];
};

// Work the server has not confirmed: records new or changed on the laptop, whether or not they
// already went into an upload document. The server cannot list what it has not received, so
// an order or activity holding such work is never taken for completed.
class UnconfirmedWork {
  public:
    explicit UnconfirmedWork(xml::Node storeRoot) {
        for (xml::Node group : xml::elementChildren(FindContainer(storeRoot, kActivities))) {
            const std::string order(xml::attributeOrEmpty(group, "ID"));
            for (xml::Node activity : xml::elementChildren(group))
                if (unconfirmed(activity))
                    mark(order, std::string(xml::attributeOrEmpty(activity, "Activity")));
        }
        for (std::string_view container : kLineContainers) {
            for (xml::Node group : xml::elementChildren(FindContainer(storeRoot, container))) {
                for (xml::Node line : xml::elementChildren(group)) {
                    if (!unconfirmed(line)) continue;
                    mark(std::string(xml::attributeOrEmpty(group, "ID")),
                         std::string(xml::attributeOrEmpty(group, "Activity")));
                    break;
                }
            }
        }
    }

    bool inOrder(xml::Node record, const std::string& order) const {
        return unconfirmed(record) || orders_.contains(order);
    }
    bool inActivity(xml::Node activity, const std::string& order, const std::string& number) const {
        return unconfirmed(activity) || activities_.contains(activityKey(order, number));
    }

  private:
    static bool unconfirmed(xml::Node record) {
        const std::string_view state = xml::attributeOrEmpty(record, kStateAttribute);
        return state == kStateNew || state == kStateChanged || IsUploadedState(state);
    }
    void mark(const std::string& order, const std::string& activity) {
        orders_.insert(order);
        activities_.insert(activityKey(order, activity));
    }

    std::unordered_set<std::string> orders_;
    std::unordered_set<std::string> activities_;
};

// The order's status: the text of its first field ("" for a record without fields).
std::string statusOf(xml::Node record) {
    const xml::Node first = xml::firstChildElement(record);
    return first ? xml::text(first) : std::string();
}

}  // namespace

const std::vector<std::string>& ErrorOrders(const Session& session) {
    return session.state.errorOrders;
}

void CollectErrorOrders(Session& session) {
    std::vector<std::string>& orders = session.state.errorOrders;
    orders.clear();
    if (!platform::fileExists(session.path(paths::kUploadReport))) return;
    xml::Document report;
    if (!LoadUploadReport(session, report)) throw platform::objectNotSet();
    const auto refused = [](xml::Node node) {
        return xml::attributeEquals(node, kReportStatus, kStatusError);
    };
    for (xml::Node group : ReportGroups(report)) {
        if (!refused(group)) continue;
        for (xml::Node entry : ReportEntries(group))
            if (refused(entry)) orders.emplace_back(xml::attributeOrEmpty(entry, kEntryOrder));
    }
}

void RemoveCompletedOrders(Session& session, std::string_view serverDocument) {
    LoadOrderStore(session);
    const xml::Node orders =
        xml::requireNode(FindContainer(session.state.orderStore.node(), kOrders));
    CollectErrorOrders(session);
    const std::vector<std::string>& errorOrders = ErrorOrders(session);
    const std::unordered_set<std::string> protectedOrders(errorOrders.begin(), errorOrders.end());

    ServerListing server(serverDocument);
    StoreRemoval removal(session.state.orderStore.node());
    const UnconfirmedWork unconfirmed(session.state.orderStore.node());
    bool changed = false;
    try {
        // The records are taken first, so removing one does not skip the one after it.
        for (xml::Node record : xml::childElements(orders)) {
            if (statusOf(record) != StatusCode(OrderStatus::Open)) continue;
            const std::string order = xml::requireAttribute(record, "ServiceOrder");
            if (protectedOrders.contains(order)) continue;
            if (!server.listsOrder(order)) {
                if (unconfirmed.inOrder(record, order)) continue;
                removal.removeOrder(record, order);
                changed = true;
                continue;
            }
            const xml::Node group = removal.activityGroup(order);
            for (xml::Node activity : xml::childElements(group)) {
                const std::string number = xml::requireAttribute(activity, "Activity");
                if (server.listsActivity(order, number)) continue;
                if (unconfirmed.inActivity(activity, order, number)) continue;
                removal.removeActivity(activity, order, number);
                changed = true;
            }
        }
    } catch (...) {
        // Removals made before the failure stay removed.
        if (changed) SaveOrderStore(session);
        throw;
    }
    if (changed) SaveOrderStore(session);
}

Variant StroreErrorOrders(Session& session) {
    CollectErrorOrders(session);
    return {};
}

Variant deleteCompletedOrders(Session& session, const std::string& iXML) {
    RemoveCompletedOrders(session, iXML);
    return {};
}

}  // namespace quillmere
