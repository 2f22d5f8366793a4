#include "component/store/order_store.h"

#include <charconv>
#include <optional>

#include "component/core/component_key.h"
#include "component/core/install_paths.h"
#include "component/core/kept_documents.h"
#include "component/store/store_index.h"
#include "platform/failure.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

std::string_view counterName(RecordCounter counter) {
    switch (counter) {
        case RecordCounter::Order:
            return "OrderId";
        case RecordCounter::Activity:
            return "ActivityId";
        case RecordCounter::Line:
            return "LineId";
    }
    return {};
}

// The counter's data as a number; a text that is not a whole number cannot be converted.
long long counterValue(const std::string& data) {
    long long number = 0;
    const char* end = data.data() + data.size();
    const auto [stop, error] = std::from_chars(data.data(), end, number);
    if (data.empty() || stop != end) throw platform::typeMismatch();
    if (error != std::errc()) throw platform::overflow();
    return number;
}

}  // namespace

bool LoadOrderStore(Session& session) {
    ModuleState& state = session.state;
    return LoadKeptDocument(state, state.orderStoreFile, state.orderStore,
                            session.path(paths::kOrderStore));
}

void SaveOrderStore(Session& session) {
    ModuleState& state = session.state;
    SaveKeptDocument(state, state.orderStoreFile, state.orderStore,
                     session.path(paths::kOrderStore));
}

int16_t NextRecordNumber(Session& session, RecordCounter counter) {
    // Read and advanced in one step under the registry's lock, so that two processes never
    // hand out the same number.
    int16_t handedOut = 0;
    const auto advance = [&](const platform::RegistryValue& current) {
        const long long number = counterValue(current.dataAsText());
        if (number < INT16_MIN || number > INT16_MAX) throw platform::overflow();
        handedOut = static_cast<int16_t>(number);
        platform::RegistryValue next = current;
        if (next.type == platform::ValueType::DWord) {
            if (number < 0 || number + 1 > UINT32_MAX) throw platform::typeMismatch();
            next.number = static_cast<uint32_t>(number + 1);
        } else {
            next.text = std::to_string(number + 1);
        }
        return std::optional(next);
    };
    const auto before = session.registry.updateValue(
        platform::Hive::LocalMachine, paths::kComponentKey, counterName(counter), advance);
    return before ? handedOut : 0;
}

xml::Node StoreContainer(xml::Node storeDocument, std::string_view container) {
    std::string path(kStoreRoot);
    path += '/';
    path += container;
    return xml::selectFirst(storeDocument, path);
}

xml::Node FindOrder(xml::Node storeRoot, std::string_view order) {
    return xml::childWithAttribute(FindContainer(storeRoot, kOrders), "ServiceOrder", order);
}

xml::Node FindActivityGroup(xml::Node storeRoot, std::string_view order) {
    return xml::childWithAttribute(FindContainer(storeRoot, kActivities), "ID", order);
}

xml::Node FindActivity(xml::Node storeRoot, std::string_view order, std::string_view activity) {
    const xml::Node group = FindActivityGroup(storeRoot, order);
    return xml::childWithAttribute(group, "Activity", activity);
}

xml::Node FindLineGroup(xml::Node storeRoot, std::string_view container, std::string_view order,
                        std::string_view activity) {
    for (xml::Node group : xml::elementChildren(FindContainer(storeRoot, container))) {
        if (xml::attributeEquals(group, "ID", order) &&
            xml::attributeEquals(group, "Activity", activity))
            return group;
    }
    return {};
}

xml::Node FindLine(xml::Node storeRoot, std::string_view container, std::string_view order,
                   std::string_view activity, std::string_view line) {
    const xml::Node group = FindLineGroup(storeRoot, container, order, activity);
    return xml::childWithAttribute(group, "LineNumber", line);
}

namespace {

template <typename IsGroup>
RecordLookup lookUpInGroups(xml::Node container, IsGroup isGroup, std::string_view keyAttribute,
                            std::string_view key) {
    RecordLookup found;
    for (xml::Node group : xml::elementChildren(container)) {
        if (!isGroup(group)) continue;
        found.groupFound = true;
        found.record = xml::childWithAttribute(group, keyAttribute, key);
        if (found.record) break;
    }
    return found;
}

}  // namespace

RecordLookup LookUpActivity(xml::Node storeRoot, std::string_view order,
                            std::string_view activity) {
    const auto ofOrder = [&](xml::Node group) { return xml::attributeEquals(group, "ID", order); };
    return lookUpInGroups(FindContainer(storeRoot, kActivities), ofOrder, "Activity", activity);
}

RecordLookup LookUpLine(xml::Node storeRoot, std::string_view container, std::string_view order,
                        std::string_view activity, std::string_view line) {
    const auto ofActivity = [&](xml::Node group) {
        return xml::attributeEquals(group, "ID", order) &&
               xml::attributeEquals(group, "Activity", activity);
    };
    return lookUpInGroups(FindContainer(storeRoot, container), ofActivity, "LineNumber", line);
}

}  // namespace quillmere
