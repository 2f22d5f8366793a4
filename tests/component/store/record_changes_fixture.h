#pragma once
// Shared by the tests of record changes (update, add, delete, upload): a component on a fresh
// machine with the delivered field definitions, builders for order-store markup, and a local
// master-data database in a real SQLite file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/database.h"
#include "tests/component/support/component_fixture.h"

namespace record_changes {

using testing_support::labelText;
using testing_support::text;

inline std::string element(const std::string& name, const std::string& content) {
    return content.empty() ? "<" + name + "/>" : "<" + name + ">" + content + "</" + name + ">";
}

// An order record: OrderStatus first, then the fields given as markup.
inline std::string order(const std::string& number, const std::string& state,
                         const std::string& status = "15", const std::string& fields = "") {
    return "<record ServiceOrder=\"" + number + "\" State=\"" + state + "\"><OrderStatus>" +
           status + "</OrderStatus>" + fields + "</record>";
}

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

class RecordChangesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.initializeWithFieldMapper();
        resetModuleState();
    }
    void TearDown() override { resetModuleState(); }

    // The module state outlives a component object: give every test a fresh one.
    void resetModuleState() {
        machine.session().state.validation = {};
        machine.session().state.masterData.reset();
    }

    void writeStore(const std::string& xml) { machine.writeInstallFile("ZudivevEzored.xml", xml); }
    std::string storeFile() const { return machine.readInstallFile("ZudivevEzored.xml"); }
    std::string lastError() { return machine.callText("Get_Error"); }

    std::string callText(const std::string& method, const std::vector<std::string>& args = {}) {
        std::vector<quillmere::Variant> values;
        for (const std::string& a : args) values.push_back(text(a));
        return machine.callText(method, values);
    }
    quillmere::CallOutcome invoke(const std::string& method,
                                  const std::vector<std::string>& args = {}) {
        std::vector<quillmere::Variant> values;
        for (const std::string& a : args) values.push_back(text(a));
        return machine.invoke(method, values);
    }

    // Creates a master-data file with the statements and makes it the shared connection.
    void openMasterData(const std::vector<std::string>& statements) {
        const std::string path = (machine.temp().dir() / "Service.mdb").string();
        testing_support::writeFile(path, "");  // an empty file is an empty SQLite database
        {
            auto setup = platform::db::connect("sqlite:" + path, machine.root());
            for (const std::string& sql : statements) setup->execute(sql);
        }
        machine.session().state.masterData =
            platform::db::connect("sqlite:" + path, machine.root());
    }

    // The log header of a user action at the fixed clock.
    static std::string logHeader(const std::string& action) {
        return "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: " + action +
               "  ----------\r\n";
    }

    testing_support::ComponentMachine machine;
};

}  // namespace record_changes
