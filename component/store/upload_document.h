#pragma once
// The upload document: before the page sends the engineer's work, a finished order is
// completed, and a copy of the order store that keeps only what is new or changed on the
// laptop is returned as text; every record that goes into it is marked uploaded in the store
// ("N" -> "NU", "M" -> "MU"), while the copy still shows the states before marking. Hours
// registrations travel in every upload document.
//
// Failures: a store that exists but cannot be loaded, or a record or group without State,
// fails the call with the DOM's error; marks made before the failure are saved.
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "component/core/session.h"
#include "component/core/variant.h"
#include "component/store/store_index.h"
#include "platform/xml/document.h"

namespace quillmere {

// Public methods.
Variant CompleteOrder(Session& session);
std::string CreateXMLStringForUpdate(Session& session);

// The activity groups of a document by order number, indexed in one walk of the document's
// first ccsocservcactv.
class ActivityGroupIndex {
  public:
    explicit ActivityGroupIndex(platform::xml::Node documentRoot);
    // The first group with that ID, or a null node.
    platform::xml::Node firstGroup(std::string_view order) const;
    // True when some group with that ID has at least one child.
    bool hasActivities(std::string_view order) const;

  private:
    std::unordered_map<std::string, platform::xml::Node> firstGroups_;
    std::unordered_set<std::string> ordersWithActivities_;
};

// True when the indexed document has a group with that ID holding at least one activity.
bool HasActivities(std::string_view order, const ActivityGroupIndex& groups);
// True when the first field (status) of every activity in the order's first group is "20";
// also true when the order has no group.
bool ActivitiesFinished(std::string_view order, const ActivityGroupIndex& groups);

// Completes the first open order ("15") whose activities exist and are all finished: its
// status becomes "20" and a State "O" becomes "M". At most one order per call. True when an
// order was completed (the loaded store is changed; the caller saves it).
bool CompleteFinishedOrder(platform::xml::Node storeRoot);

// Appends "U" to the States of what goes into the upload, in the loaded store (not the copy).
// Look-ups go through indexes built once, and answer what the first-match walks would.
class UploadMarks {
  public:
    explicit UploadMarks(platform::xml::Node storeRoot);

    // kind: a container name. Orders: the order's record. Activities and lines: in the first
    // group of the order (and activity), with scope "1" the group and all its children, with
    // any other scope each child whose Activity / LineNumber equals the activity / line.
    void markUploaded(std::string_view kind, std::string_view order, std::string_view activity,
                      std::string_view line, std::string_view scope);
    bool changed() const { return changed_; }

  private:
    using KeyedChildren = std::unordered_map<std::string, std::vector<platform::xml::Node>>;
    const std::vector<platform::xml::Node>& childrenWithKey(platform::xml::Node group,
                                                            std::string_view keyAttribute,
                                                            std::string_view key);
    void mark(platform::xml::Node record);

    StoreIndex index_;
    std::unordered_map<platform::xml::Node, KeyedChildren, platform::xml::NodeHash> children_;
    bool changed_ = false;
};

// Leaves in the copy's orders only records that are new or changed and have activities in the
// copy, and marks those in the store.
void FilterOrders(platform::xml::Node copyRoot, UploadMarks& marks);
// The group filter of one container of the copy (nothing when the copy lacks it).
void FilterGroups(platform::xml::Node copyRoot, std::string_view container, UploadMarks& marks);

// True when any of the order, activity or cost-line containers of the document has a child;
// hours registrations alone are no upload.
bool HasUploadContent(platform::xml::Node documentRoot);

}  // namespace quillmere
