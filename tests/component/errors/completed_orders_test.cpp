#include "component/errors/completed_orders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using ::testing::Not;

using ::testing::HasSubstr;
using testing_support::ComponentMachine;
using testing_support::text;

std::string order(const std::string& number, const std::string& status) {
    return testing_support::order(number, "O", status);
}

// The order's group with an open activity of each number.
std::string activities(const std::string& order, const std::vector<std::string>& numbers) {
    std::string group;
    for (const std::string& number : numbers) group += testing_support::activity(number, "O");
    return testing_support::activityGroup(order, "O", group);
}

std::string lines(const std::string& order, const std::string& activity) {
    return testing_support::lineGroup(order, activity, "O",
                                      testing_support::line("1", "O", "<x>1</x>"));
}

// The same line groups go into the material and the labor container.
std::string document(const std::string& orders, const std::string& activityGroups,
                     const std::string& lineGroups) {
    return testing_support::store({.orders = orders,
                                   .activities = activityGroups,
                                   .material = lineGroups,
                                   .labor = lineGroups});
}

std::string refusedReport(const std::vector<std::string>& orders) {
    std::string report = "<R><G File=\"f\" Status=\"Error\">";
    for (const std::string& number : orders)
        report += "<E ID=\"1\" Order=\"" + number + "\" Status=\"Error\"/>";
    return report +
           "</G><G File=\"g\" Status=\"Completed\"><E Order=\"ignored\" Status=\"Error\"/></G></R>";
}

class CompletedOrdersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.writeInstallFile(
            "ZudivevEzored.xml",
            document(order("1", "15") + order("2", "15") + order("3", "15") + order("4", "20") +
                         order("5", "35") + order("6", "15"),
                     activities("1", {"10", "20"}) + activities("2", {"10"}) +
                         activities("3", {"10"}) + activities("4", {"10"}) +
                         activities("6", {"10"}),
                     lines("1", "10") + lines("1", "20") + lines("2", "10") + lines("3", "10") +
                         lines("6", "10")));
    }
    ComponentMachine machine;
};

// The server still lists order 1 with activity 10 only, and order 6; orders 2 and 3 (two
// open orders in a row) and the closed ones are gone from it.
const std::string kServer = document(order("1", "15") + order("6", "15"),
                                     activities("1", {"10"}) + activities("6", {"10"}), "");

TEST_F(CompletedOrdersTest, RemovesWhatTheServerNoLongerLists) {
    machine.call("deleteCompletedOrders", {text(kServer)});
    EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml"),
              document(order("1", "15") + order("4", "20") + order("5", "35") + order("6", "15"),
                       activities("1", {"10"}) + activities("4", {"10"}) + activities("6", {"10"}),
                       lines("1", "10") + lines("6", "10")));
}

TEST_F(CompletedOrdersTest, RefusedEntriesProtectTheirOrders) {
    machine.writeInstallFile("UploadReport.xml", refusedReport({"2", "2", "1"}));
    machine.call("StroreErrorOrders");
    EXPECT_EQ(quillmere::ErrorOrders(machine.session()), (std::vector<std::string>{"2", "2", "1"}));
    machine.call("deleteCompletedOrders", {text(kServer)});
    const std::string result = machine.readInstallFile("ZudivevEzored.xml");
    EXPECT_THAT(result, HasSubstr("ServiceOrder=\"2\""));
    EXPECT_THAT(result, HasSubstr(activities("1", {"10", "20"})));
    EXPECT_THAT(result, Not(HasSubstr("ServiceOrder=\"3\"")));
}

// The server cannot list work it has not received: a new or changed order, activity or cost
// line keeps its order (and an activity keeps itself), uploaded or not.
TEST_F(CompletedOrdersTest, UnconfirmedWorkIsKept) {
    using testing_support::activity;
    using testing_support::activityGroup;
    using testing_support::line;
    using testing_support::lineGroup;
    for (const std::string state : {"N", "M", "NU", "MU"}) {
        SCOPED_TRACE(state);
        const std::string orders = testing_support::order("_1", state, "15") + order("2", "15") +
                                   order("3", "15") + order("4", "15") + order("5", "15");
        const std::string activityGroups =
            activities("_1", {"10"}) +
            activityGroup("2", "O", activity("10", state) + activity("20", "O")) +
            activities("3", {"10", "20"}) + activities("4", {"10"}) + activities("5", {"10"});
        const std::string material = lineGroup("3", "20", "O", line("1", "O") + line("2", state)) +
                                     lineGroup("4", "10", "O", line("1", "O"));
        machine.writeInstallFile(
            "ZudivevEzored.xml",
            testing_support::store(
                {.orders = orders, .activities = activityGroups, .material = material}));
        // Orders 2 and 3 are listed without their activities; _1, 4 and 5 are not listed.
        machine.call("deleteCompletedOrders",
                     {text(document(order("2", "15") + order("3", "15"),
                                    activities("2", {}) + activities("3", {}), ""))});
        const std::string kept = testing_support::store(
            {.orders =
                 testing_support::order("_1", state, "15") + order("2", "15") + order("3", "15"),
             .activities = activities("_1", {"10"}) +
                           activityGroup("2", "O", activity("10", state)) + activities("3", {"20"}),
             .material = lineGroup("3", "20", "O", line("1", "O") + line("2", state))});
        EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml"), kept);
    }
}

TEST_F(CompletedOrdersTest, AnyNumberOfRefusedEntriesIsKept) {
    std::vector<std::string> many(5000, "x");
    many.push_back("3");
    machine.writeInstallFile("UploadReport.xml", refusedReport(many));
    machine.call("deleteCompletedOrders", {text(kServer)});
    EXPECT_EQ(quillmere::ErrorOrders(machine.session()).size(), 5001u);
    EXPECT_THAT(machine.readInstallFile("ZudivevEzored.xml"), HasSubstr("ServiceOrder=\"3\""));
}

TEST_F(CompletedOrdersTest, WithoutReportNothingIsProtected) {
    machine.writeInstallFile("UploadReport.xml", refusedReport({"2"}));
    machine.call("StroreErrorOrders");
    std::filesystem::remove(machine.installPath("UploadReport.xml"));
    machine.call("deleteCompletedOrders", {text(kServer)});
    EXPECT_TRUE(quillmere::ErrorOrders(machine.session()).empty());
    EXPECT_THAT(machine.readInstallFile("ZudivevEzored.xml"), Not(HasSubstr("ServiceOrder=\"2\"")));
}

TEST_F(CompletedOrdersTest, IllFormedServerDocumentFailsAtTheFirstOpenOrder) {
    const std::string before = machine.readInstallFile("ZudivevEzored.xml");
    const auto outcome = machine.invoke("deleteCompletedOrders", {text("<zudivevezored>")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kObjectNotSet);
    EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml"), before);
}

TEST_F(CompletedOrdersTest, RemovalsBeforeAFailureStaySaved) {
    // Order 1 is not listed (removed); order 2 is, but the activity container is missing.
    const std::string server =
        "<zudivevezored><ccsocservcordr>" + order("2", "15") + "</ccsocservcordr></zudivevezored>";
    const auto outcome = machine.invoke("deleteCompletedOrders", {text(server)});
    EXPECT_FALSE(outcome.succeeded);
    const std::string result = machine.readInstallFile("ZudivevEzored.xml");
    EXPECT_THAT(result, Not(HasSubstr("ServiceOrder=\"1\"")));
    EXPECT_THAT(result, HasSubstr("ServiceOrder=\"2\""));
}

TEST_F(CompletedOrdersTest, UnreadableReportFailsTheCollection) {
    machine.writeInstallFile("UploadReport.xml", "<R>");
    EXPECT_FALSE(machine.invoke("StroreErrorOrders").succeeded);
}

}  // namespace
