#include "component/store/order_store.h"

#include <charconv>
#include <optional>

#include "component/core/component_key.h"
#include "component/core/install_paths.h"
#include "component/store/store_index.h"
#include "platform/failure.h"

namespace quillmere {

namespace xml = platform::xml;
using platform::PlatformError;

namespace {

std::string_view counterName(int kind) {
    switch (kind) {
        case 1:
            return "OrderId";
        case 2:
            return "ActivityId";
        case 3:
            return "LineId";
        default:
            return {};
    }
}

// The counter's data as a number; a text that is not a whole number cannot be converted.
long long counterValue(const std::string& data) {
    long long number = 0;
    const char* end = data.data() + data.size();
    const auto [stop, error] = std::from_chars(data.data(), end, number);
    if (data.empty() || stop != end)
        throw PlatformError(platform::failure::kTypeMismatch, "Type mismatch");
    if (error != std::errc()) throw PlatformError(platform::failure::kOverflow, "Overflow");
    return number;
}

bool hasAttributeValue(xml::Node node, const char* name, std::string_view value) {
    const pugi::xml_attribute found = node.attribute(name);
    return found && value == found.value();
}

// The first child element whose attribute `name` equals `value`.
xml::Node childWithAttribute(xml::Node parent, const char* name, std::string_view value) {
    for (xml::Node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && hasAttributeValue(child, name, value))
            return child;
    return {};
}

}  // namespace

bool LoadOrderStore(Session& session) {
    return session.state.orderStore.loadFile(session.path(paths::kOrderStore));
}

void SaveOrderStore(Session& session) {
    session.state.orderStore.save(session.path(paths::kOrderStore));
}

int16_t NextRecordNumber(Session& session, int kind) {
    const std::string_view name = counterName(kind);
    if (name.empty()) return 0;
    const std::optional<std::string> data = ReadComponentValue(session, name);
    if (!data) return 0;
    const long long number = counterValue(*data);
    if (number < INT16_MIN || number > INT16_MAX)
        throw PlatformError(platform::failure::kOverflow, "Overflow");
    SetExistingComponentValue(session, name, std::to_string(number + 1));
    return static_cast<int16_t>(number);
}

xml::Node FindOrder(xml::Node storeRoot, std::string_view order) {
    return childWithAttribute(FindContainer(storeRoot, kOrders), "ServiceOrder", order);
}

xml::Node FindActivityGroup(xml::Node storeRoot, std::string_view order) {
    return childWithAttribute(FindContainer(storeRoot, kActivities), "ID", order);
}

xml::Node FindActivity(xml::Node storeRoot, std::string_view order, std::string_view activity) {
    const xml::Node group = FindActivityGroup(storeRoot, order);
    return group ? childWithAttribute(group, "Activity", activity) : xml::Node();
}

xml::Node FindLineGroup(xml::Node storeRoot, std::string_view container, std::string_view order,
                        std::string_view activity) {
    const xml::Node lines = FindContainer(storeRoot, container);
    for (xml::Node group = lines.first_child(); group; group = group.next_sibling()) {
        if (group.type() == pugi::node_element && hasAttributeValue(group, "ID", order) &&
            hasAttributeValue(group, "Activity", activity))
            return group;
    }
    return {};
}

xml::Node FindLine(xml::Node storeRoot, std::string_view container, std::string_view order,
                   std::string_view activity, std::string_view line) {
    const xml::Node group = FindLineGroup(storeRoot, container, order, activity);
    return group ? childWithAttribute(group, "LineNumber", line) : xml::Node();
}

}  // namespace quillmere
