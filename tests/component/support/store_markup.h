#pragma once
// Builders of order-store markup for tests: records, groups and the whole store, with the
// attributes the component keys them by. Tests put their own fields into the records.
#include <string>

namespace testing_support {

inline std::string element(const std::string& name, const std::string& content) {
    return content.empty() ? "<" + name + "/>" : "<" + name + ">" + content + "</" + name + ">";
}

// An order record: OrderStatus first, then the fields given as markup.
inline std::string order(const std::string& number, const std::string& state,
                         const std::string& status = "15", const std::string& fields = "") {
    return "<record ServiceOrder=\"" + number + "\" State=\"" + state + "\"><OrderStatus>" +
           status + "</OrderStatus>" + fields + "</record>";
}

// An activity: ActivityStatus first, then the fields given as markup.
inline std::string activity(const std::string& number, const std::string& state,
                            const std::string& status = "15", const std::string& fields = "") {
    return "<Activity Activity=\"" + number + "\" State=\"" + state + "\"><ActivityStatus>" +
           status + "</ActivityStatus>" + fields + "</Activity>";
}

inline std::string activityGroup(const std::string& order, const std::string& state,
                                 const std::string& activities) {
    const std::string start = "ServiceOrder ID=\"" + order + "\" State=\"" + state + "\"";
    return activities.empty() ? "<" + start + "/>"
                              : "<" + start + ">" + activities + "</ServiceOrder>";
}

// A cost line with the fields given as markup.
inline std::string line(const std::string& number, const std::string& state,
                        const std::string& fields = "<Remarks>r</Remarks>") {
    return "<Line LineNumber=\"" + number + "\" State=\"" + state + "\">" + fields + "</Line>";
}

inline std::string lineGroup(const std::string& order, const std::string& activity,
                             const std::string& state, const std::string& lines) {
    const std::string start =
        "ServiceOrder ID=\"" + order + "\" Activity=\"" + activity + "\" State=\"" + state + "\"";
    return lines.empty() ? "<" + start + "/>" : "<" + start + ">" + lines + "</ServiceOrder>";
}

// The content of each container (markup of its children); empty containers by default.
struct StoreContent {
    std::string orders = {};
    std::string activities = {};
    std::string material = {};
    std::string labor = {};
    std::string other = {};
    std::string hours = {};
};

inline std::string store(const StoreContent& c) {
    return "<zudivevezored>" + element("ccsocservcordr", c.orders) +
           element("ccsocservcactv", c.activities) + element("ccsocservcmatl", c.material) +
           element("ccsocservclabr", c.labor) + element("ccsocservcothr", c.other) +
           element("ccsocservchra", c.hours) + "</zudivevezored>";
}

}  // namespace testing_support
