#include "tools/company-server/core/upload_review.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace company_server {

namespace {

using pugi::xml_node;

constexpr const char* kOrders = "ccsocservcordr";
constexpr const char* kActivities = "ccsocservcactv";

struct LineKind {
    const char* container;
    const char* costType;
};
constexpr LineKind kLineKinds[] = {
    {"ccsocservcmatl", "Material"}, {"ccsocservclabr", "Labor"}, {"ccsocservcothr", "Other"}};

std::string attributeOf(xml_node node, const char* name) {
    return node.attribute(name).value();
}

void setState(xml_node node, const char* state) {
    pugi::xml_attribute attribute = node.attribute("State");
    if (!attribute) attribute = node.append_attribute("State");
    attribute.set_value(state);
}

template <typename Visit>
void forEachElement(xml_node parent, Visit visit) {
    for (xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) visit(child);
}

ReportEntry entryFor(std::string order, std::string activity = {}, std::string line = {},
                     std::string costType = {}) {
    ReportEntry entry;
    entry.order = std::move(order);
    entry.activity = std::move(activity);
    entry.costLine = std::move(line);
    entry.costType = std::move(costType);
    return entry;
}

bool blank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// The first element child whose attribute `key` equals `value` (the records of one group).
xml_node childWhere(xml_node parent, const char* key, std::string_view value) {
    for (xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && child.attribute(key).value() == value)
            return child;
    return {};
}

// Puts a copy of the record in place of `existing` (when there is one) or at the end of the
// parent; answers the copy.
xml_node putRecord(xml_node parent, xml_node existing, xml_node record) {
    const xml_node copy =
        existing ? parent.insert_copy_before(record, existing) : parent.append_copy(record);
    if (existing) parent.remove_child(existing);
    setState(copy, "O");
    return copy;
}

// The children of a container by their key (one attribute, or two), built once per review, so
// that taking over many records does not walk the container for each. The first child with a
// key wins, as in every look-up of the store.
class ChildIndex {
  public:
    ChildIndex(xml_node container, const char* key, const char* key2)
        : container_(container), key_(key), key2_(key2) {
        forEachElement(container, [this](xml_node child) { nodes_.emplace(keyOf(child), child); });
    }
    xml_node container() const { return container_; }
    xml_node find(xml_node like) const {
        const auto found = nodes_.find(keyOf(like));
        return found == nodes_.end() ? xml_node() : found->second;
    }
    void remember(xml_node child) { nodes_[keyOf(child)] = child; }

  private:
    std::string keyOf(xml_node node) const {
        std::string key = node.attribute(key_).value();
        if (key2_) key.append(1, '\0').append(node.attribute(key2_).value());
        return key;
    }

    xml_node container_;
    const char* key_;
    const char* key2_;
    std::unordered_map<std::string, xml_node> nodes_;
};

class Review {
  public:
    Review(platform::xml::Document& engineer, ItemCatalog& items)
        : engineer_(engineer.root()), items_(items) {
        forEachElement(engineer_.child(kOrders), [this](xml_node record) {
            knownOrders_.insert(attributeOf(record, "ServiceOrder"));
        });
    }

    void orders(xml_node container) {
        forEachElement(container, [this](xml_node record) {
            ReportEntry entry = entryFor(attributeOf(record, "ServiceOrder"));
            if (!decide(entry, orderProblem(entry.order, false))) return;
            ChildIndex& orders = indexOf(kOrders, "ServiceOrder", nullptr);
            orders.remember(putRecord(orders.container(), orders.find(record), record));
        });
    }

    void activities(xml_node container) {
        forEachElement(container, [this](xml_node group) {
            const std::string order = attributeOf(group, "ID");
            forEachElement(group, [&](xml_node activity) {
                ReportEntry entry = entryFor(order, attributeOf(activity, "Activity"));
                if (!decide(entry, orderProblem(order, false))) return;
                const xml_node target = groupFor(kActivities, group, nullptr);
                putRecord(target, childWhere(target, "Activity", entry.activity), activity);
            });
        });
    }

    void lines(xml_node container, const LineKind& kind) {
        forEachElement(container, [&](xml_node group) {
            const std::string order = attributeOf(group, "ID");
            const std::string activity = attributeOf(group, "Activity");
            const bool hoursRegistration =
                std::string_view(kind.costType) == "Labor" && order.empty() && activity.empty();
            forEachElement(group, [&](xml_node line) {
                ReportEntry entry =
                    entryFor(order, activity, attributeOf(line, "LineNumber"), kind.costType);
                std::optional<std::string> problem = orderProblem(order, hoursRegistration);
                if (!problem && std::string_view(kind.costType) == "Material")
                    problem = itemProblem(line);
                if (!decide(entry, std::move(problem))) return;
                const xml_node target = groupFor(kind.container, group, "Activity");
                putRecord(target, childWhere(target, "LineNumber", entry.costLine), line);
            });
        });
    }

    std::vector<ReportEntry> entries;

  private:
    // Records the entry; true when the record was accepted.
    bool decide(ReportEntry& entry, std::optional<std::string> problem) {
        entry.completed = !problem;
        if (problem) entry.description = std::move(*problem);
        entries.push_back(entry);
        return entry.completed;
    }

    std::optional<std::string> orderProblem(const std::string& order,
                                            bool hoursRegistration) const {
        if (order.empty())
            return hoursRegistration
                       ? std::nullopt
                       : std::optional<std::string>("The record names no service order.");
        // Numbers made on the laptop start with "_"; the server takes them over as they are.
        if (order.front() == '_' || knownOrders_.contains(order)) return std::nullopt;
        return "Service order " + order + " is not known to the server.";
    }

    std::optional<std::string> itemProblem(xml_node line) {
        const std::string item = line.child("ServiceItem").child_value();
        if (blank(item)) return "The material line names no item.";
        if (!items_.contains(item))
            return "Item " + item + " is not in the server's item master data.";
        return std::nullopt;
    }

    // The index of one of the engineer's containers, made (with the container) at first use.
    ChildIndex& indexOf(const char* containerName, const char* key, const char* key2) {
        auto found = indexes_.find(containerName);
        if (found != indexes_.end()) return found->second;
        xml_node container = engineer_.child(containerName);
        if (!container) container = engineer_.append_child(containerName);
        return indexes_.emplace(containerName, ChildIndex(container, key, key2)).first->second;
    }

    // The engineer's group for an uploaded group (same ID, and Activity for line groups),
    // created empty with State "O" when the document has none.
    xml_node groupFor(const char* containerName, xml_node uploaded, const char* secondKey) {
        ChildIndex& groups = indexOf(containerName, "ID", secondKey);
        if (const xml_node group = groups.find(uploaded)) return group;
        xml_node group = groups.container().append_child(uploaded.name());
        for (const pugi::xml_attribute& attribute : uploaded.attributes())
            group.append_copy(attribute);
        setState(group, "O");
        groups.remember(group);
        return group;
    }

    xml_node engineer_;
    ItemCatalog& items_;
    std::unordered_set<std::string> knownOrders_;
    std::unordered_map<std::string, ChildIndex> indexes_;
};

}  // namespace

std::vector<ReportEntry> reviewUpload(xml_node upload, platform::xml::Document& engineer,
                                      ItemCatalog& items) {
    Review review(engineer, items);
    review.orders(upload.child(kOrders));
    review.activities(upload.child(kActivities));
    for (const LineKind& kind : kLineKinds) review.lines(upload.child(kind.container), kind);
    return std::move(review.entries);
}

std::string reportText(std::string_view uploadName, const std::vector<ReportEntry>& entries) {
    platform::xml::Document report;
    xml_node group = report.node().append_child("UploadReport").append_child("Upload");
    group.append_attribute("File").set_value(std::string(uploadName).c_str());
    bool refused = false;
    for (const ReportEntry& entry : entries) refused = refused || !entry.completed;
    group.append_attribute("Status").set_value(refused ? "Error" : "Completed");
    int id = 0;
    for (const ReportEntry& entry : entries) {
        xml_node element = group.append_child("Entry");
        element.append_attribute("ID").set_value(++id);
        element.append_attribute("Order").set_value(entry.order.c_str());
        element.append_attribute("Activity").set_value(entry.activity.c_str());
        element.append_attribute("CostLine").set_value(entry.costLine.c_str());
        element.append_attribute("CostType").set_value(entry.costType.c_str());
        element.append_attribute("Status").set_value(entry.completed ? "Completed" : "Error");
        element.append_attribute("Description").set_value(entry.description.c_str());
    }
    return report.serialize();
}

}  // namespace company_server
