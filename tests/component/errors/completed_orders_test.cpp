#include "component/errors/completed_orders.h"

#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"

namespace {

using testing_support::ComponentMachine;
using testing_support::text;

std::string order(const std::string& number, const std::string& status) {
    return "<record ServiceOrder=\"" + number + "\" State=\"O\"><OrderStatus>" + status + "</OrderStatus></record>";
}

std::string activities(const std::string& order, const std::vector<std::string>& numbers) {
    std::string group = "<ServiceOrder ID=\"" + order + "\" State=\"O\">";
    for (const std::string& number : numbers)
        group += "<a Activity=\"" + number + "\" State=\"O\"><ActivityStatus>15</ActivityStatus></a>";
    return group + "</ServiceOrder>";
}

std::string lines(const std::string& order, const std::string& activity) {
    return "<ServiceOrder ID=\"" + order + "\" Activity=\"" + activity +
           "\" State=\"O\"><l LineNumber=\"1\" State=\"O\"><x>1</x></l></ServiceOrder>";
}

std::string document(const std::string& orders, const std::string& activityGroups, const std::string& lineGroups) {
    return "<zudivevezored><ccsocservcordr>" + orders + "</ccsocservcordr><ccsocservcactv>" + activityGroups +
           "</ccsocservcactv><ccsocservcmatl>" + lineGroups + "</ccsocservcmatl><ccsocservclabr>" + lineGroups +
           "</ccsocservclabr><ccsocservcothr/><ccsocservchra/></zudivevezored>";
}

std::string refusedReport(const std::vector<std::string>& orders) {
    std::string report = "<R><G File=\"f\" Status=\"Error\">";
    for (const std::string& number : orders)
        report += "<E ID=\"1\" Order=\"" + number + "\" Status=\"Error\"/>";
    return report + "</G><G File=\"g\" Status=\"Completed\"><E Order=\"ignored\" Status=\"Error\"/></G></R>";
}

class CompletedOrdersTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.writeInstallFile(
            "ZudivevEzored.xml",
            document(order("1", "15") + order("2", "15") + order("3", "15") + order("4", "20") + order("5", "35") +
                         order("6", "15"),
                     activities("1", {"10", "20"}) + activities("2", {"10"}) + activities("3", {"10"}) +
                         activities("4", {"10"}) + activities("6", {"10"}),
                     lines("1", "10") + lines("1", "20") + lines("2", "10") + lines("3", "10") + lines("6", "10")));
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
    EXPECT_NE(result.find("ServiceOrder=\"2\""), std::string::npos);
    EXPECT_NE(result.find("<ServiceOrder ID=\"1\" State=\"O\"><a Activity=\"10\" State=\"O\"><ActivityStatus>15"
                          "</ActivityStatus></a><a Activity=\"20\""),
              std::string::npos);
    EXPECT_EQ(result.find("ServiceOrder=\"3\""), std::string::npos);
}

TEST_F(CompletedOrdersTest, AnyNumberOfRefusedEntriesIsKept) {
    std::vector<std::string> many(5000, "x");
    many.push_back("3");
    machine.writeInstallFile("UploadReport.xml", refusedReport(many));
    machine.call("deleteCompletedOrders", {text(kServer)});
    EXPECT_EQ(quillmere::ErrorOrders(machine.session()).size(), 5001u);
    EXPECT_NE(machine.readInstallFile("ZudivevEzored.xml").find("ServiceOrder=\"3\""), std::string::npos);
}

TEST_F(CompletedOrdersTest, WithoutReportNothingIsProtected) {
    machine.writeInstallFile("UploadReport.xml", refusedReport({"2"}));
    machine.call("StroreErrorOrders");
    std::filesystem::remove(machine.installPath("UploadReport.xml"));
    machine.call("deleteCompletedOrders", {text(kServer)});
    EXPECT_TRUE(quillmere::ErrorOrders(machine.session()).empty());
    EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml").find("ServiceOrder=\"2\""), std::string::npos);
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
    const std::string server = "<zudivevezored><ccsocservcordr>" + order("2", "15") + "</ccsocservcordr></zudivevezored>";
    const auto outcome = machine.invoke("deleteCompletedOrders", {text(server)});
    EXPECT_FALSE(outcome.succeeded);
    const std::string result = machine.readInstallFile("ZudivevEzored.xml");
    EXPECT_EQ(result.find("ServiceOrder=\"1\""), std::string::npos);
    EXPECT_NE(result.find("ServiceOrder=\"2\""), std::string::npos);
}

TEST_F(CompletedOrdersTest, UnreadableReportFailsTheCollection) {
    machine.writeInstallFile("UploadReport.xml", "<R>");
    EXPECT_FALSE(machine.invoke("StroreErrorOrders").succeeded);
}

}  // namespace
