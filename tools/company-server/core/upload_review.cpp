#include "tools/company-server/core/upload_review.h"

#include <optional>
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

// The first element child whose attribute `key` equals `value` (and `key2` equals `value2`).
xml_node childWhere(xml_node parent, const char* key, std::string_view value,
                    const char* key2 = nullptr, std::string_view value2 = {}) {
    for (xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || child.attribute(key).value() != value) continue;
        if (!key2 || child.attribute(key2).value() == value2) return child;
    }
    return {};
}

// Puts a copy of the record in place of the parent's record with the same key, or at the end.
void putRecord(xml_node parent, xml_node record, const char* key) {
    const xml_node existing = childWhere(parent, key, record.attribute(key).value());
    const xml_node copy =
        existing ? parent.insert_copy_before(record, existing) : parent.append_copy(record);
    if (existing) parent.remove_child(existing);
    setState(copy, "O");
}

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
            if (decide(entry, orderProblem(entry.order, false)))
                putRecord(ensureContainer(kOrders), record, "ServiceOrder");
        });
    }

    void activities(xml_node container) {
        forEachElement(container, [this](xml_node group) {
            const std::string order = attributeOf(group, "ID");
            forEachElement(group, [&](xml_node activity) {
                ReportEntry entry = entryFor(order, attributeOf(activity, "Activity"));
                if (decide(entry, orderProblem(order, false)))
                    putRecord(groupFor(kActivities, group, false), activity, "Activity");
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
                if (decide(entry, std::move(problem)))
                    putRecord(groupFor(kind.container, group, true), line, "LineNumber");
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

    xml_node ensureContainer(const char* name) {
        xml_node container = engineer_.child(name);
        return container ? container : engineer_.append_child(name);
    }

    // The engineer's group for an uploaded group (same ID, and Activity for line groups),
    // created empty with State "O" when the document has none.
    xml_node groupFor(const char* containerName, xml_node uploaded, bool withActivity) {
        xml_node container = ensureContainer(containerName);
        const std::string id = attributeOf(uploaded, "ID");
        xml_node group = withActivity ? childWhere(container, "ID", id, "Activity",
                                                   uploaded.attribute("Activity").value())
                                      : childWhere(container, "ID", id);
        if (group) return group;
        group = container.append_child(uploaded.name());
        for (const pugi::xml_attribute& attribute : uploaded.attributes())
            group.append_copy(attribute);
        setState(group, "O");
        return group;
    }

    xml_node engineer_;
    ItemCatalog& items_;
    std::unordered_set<std::string> knownOrders_;
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
    xml_node group = report.native().append_child("UploadReport").append_child("Upload");
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
