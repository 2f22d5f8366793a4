#pragma once
// Record look-up in a loaded order store through hash indexes built once per load, for the
// operations that look up many records in one call (the merge of a download, the agenda's
// order statuses). The index answers exactly what the first-match walks of order_store.h
// answer, provided that every record appended afterwards is announced with add*().
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/xml/document.h"

namespace quillmere {

// A container of the store (kOrders, kActivities, ...): the root element's first child of that
// name, else the first element of that name anywhere in document order; null when absent.
// `storeRoot` may be the document node or its root element.
platform::xml::Node FindContainer(platform::xml::Node storeRoot, std::string_view container);

class StoreIndex {
  public:
    explicit StoreIndex(platform::xml::Node storeRoot);

    platform::xml::Node container(std::string_view name) const;

    // First match in document order; null when absent.
    platform::xml::Node order(std::string_view order) const;
    platform::xml::Node activityGroup(std::string_view order) const;
    platform::xml::Node lineGroup(std::string_view container, std::string_view order,
                                  std::string_view activity) const;

    // Announce records appended to the containers after the index was built.
    void addOrder(platform::xml::Node record);
    void addActivityGroup(platform::xml::Node group);
    void addLineGroup(std::string_view container, platform::xml::Node group);

  private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    using NodeMap = std::unordered_map<std::string, platform::xml::Node, Hash, std::equal_to<>>;

    static std::string lineKey(std::string_view order, std::string_view activity);
    static platform::xml::Node lookUp(const NodeMap& map, std::string_view key);
    static void indexChildren(NodeMap& map, platform::xml::Node container,
                              std::string_view keyAttribute);
    NodeMap* lineGroupsOf(std::string_view container);
    const NodeMap* lineGroupsOf(std::string_view container) const;

    platform::xml::Node storeRoot_;
    NodeMap orders_;
    NodeMap activityGroups_;
    NodeMap materialGroups_;
    NodeMap laborGroups_;
    NodeMap otherGroups_;
};

}  // namespace quillmere
