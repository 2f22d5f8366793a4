#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using testing_support::ComponentMachine;
using testing_support::labelText;
using testing_support::text;

// An order record with 24 fields: the status, then f1..f23 (fields 21 and 22 are the closing
// fields).
// An order record with 24 fields: the status, then f1..f23 (fields 21 and 22 are the closing
// fields).
std::string order(const std::string& number, const std::string& status,
                  const std::string& state = "O", const std::string& closing = "") {
    std::string fields;
    for (int i = 1; i < 24; ++i) {
        const std::string name = "f" + std::to_string(i);
        std::string value = "v" + std::to_string(i);
        if ((i == 21 || i == 22) && !closing.empty()) value = closing + std::to_string(i);
        fields += testing_support::element(name, value);
    }
    return testing_support::order(number, state, status, fields);
}

std::string activity(const std::string& number, const std::string& state = "O") {
    return testing_support::activity(number, state);
}

std::string group(const std::string& order, const std::string& activities) {
    return testing_support::activityGroup(order, "O", activities);
}

std::string line(const std::string& number, const std::string& item, const std::string& quantity,
                 const std::string& state = "O") {
    return testing_support::line(number, state,
                                 "<ServiceItem>" + item + "</ServiceItem><Quantity>" + quantity +
                                     "</Quantity><Local>kept</Local>");
}

std::string lineGroup(const std::string& order, const std::string& activity,
                      const std::string& lines) {
    return testing_support::lineGroup(order, activity, "O", lines);
}

std::string store(const std::string& orders, const std::string& activities,
                  const std::string& material = "", const std::string& labor = "") {
    return testing_support::store(
        {.orders = orders, .activities = activities, .material = material, .labor = labor});
}

const std::string kLogHeader =
    "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: Download XML  ----------\r\n";

class DownloadXmlTest : public ::testing::Test {
  protected:
    void SetUp() override { machine.initializeWithFieldMapper(); }
    std::string download(const std::string& xml) {
        return machine.callText("DownloadXml", {text(xml)});
    }
    std::string storeFile() { return machine.readInstallFile("ZudivevEzored.xml"); }
    std::string lastError() { return machine.callText("Get_Error"); }
    ComponentMachine machine;
};

TEST_F(DownloadXmlTest, EmptyOrIllFormedInputIsRefusedAndLogged) {
    const std::string before = storeFile();
    EXPECT_EQ(download(""), labelText("SLBEU0264"));
    EXPECT_EQ(lastError(), labelText("SLBEU0264"));
    EXPECT_EQ(download("<zudivevezored><x></zudivevezored>"), labelText("SLBEU0265"));
    EXPECT_EQ(lastError(), labelText("SLBEU0265"));
    EXPECT_EQ(machine.log(), kLogHeader + "Error =   " + labelText("SLBEU0264") +
                                 "\r\niXml =   \r\n" + kLogHeader +
                                 "Error =   " + labelText("SLBEU0265") +
                                 "\r\niXml =   <zudivevezored><x></zudivevezored>\r\n");
    EXPECT_EQ(storeFile(), before);
}

// What an XML 1.0 parser refuses is refused as any malformed text is, and changes nothing.
TEST_F(DownloadXmlTest, TextThatIsNotXmlIsRefusedLikeMalformedText) {
    const std::string before = storeFile();
    // Order number (an attribute) and field text of the one order downloaded.
    for (const auto& [number, text] :
         std::vector<std::pair<std::string, std::string>>{{"9",
                                                           "a\x01"
                                                           "b"},
                                                          {"9", "\xE9t\xE9"},
                                                          {"9<", "x"},
                                                          {"9", "]]>"},
                                                          {"9", "&undefined;"},
                                                          {"9", "&#1;"},
                                                          {"9", "&#xD800;"}}) {
        const std::string input =
            store(testing_support::order(number, "O", "15", "<f1>" + text + "</f1>"), "");
        EXPECT_EQ(download(input), labelText("SLBEU0265")) << input;
        EXPECT_EQ(storeFile(), before) << input;
    }
}

TEST_F(DownloadXmlTest, WithoutAStoreTheDownloadBecomesTheStoreUnchanged) {
    std::filesystem::remove(machine.installPath("ZudivevEzored.xml"));
    const std::string input = "<zudivevezored>\r\n  <ccsocservcordr>" + order("1", "15") +
                              "</ccsocservcordr>\n</zudivevezored>";
    EXPECT_EQ(download(input), "New Data has been downloaded.");
    EXPECT_EQ(storeFile(), input);
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(machine.log(), kLogHeader + "iXml =   " + input + "\r\n");
}

TEST_F(DownloadXmlTest, AStoreThatDoesNotLoadIsReportedWithTheInput) {
    machine.writeInstallFile("ZudivevEzored.xml", "<zudivevezored>");
    const std::string input = store(order("1", "15"), "");
    EXPECT_EQ(download(input), labelText("SLBEU0260"));
    EXPECT_EQ(lastError(), labelText("SLBEU0260"));
    EXPECT_EQ(machine.log(),
              kLogHeader + "Error =   " + labelText("SLBEU0260") + "\r\n" + input + "\r\n");
    EXPECT_EQ(storeFile(), "<zudivevezored>");
}

TEST_F(DownloadXmlTest, NewOpenOrdersAreAddedWithTheirActivitiesAndLines) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             store(order("1", "15", "M"), group("1", activity("10", "N"))));
    const std::string input = store(
        order("2", "15") + order("3", "20") + order("4", "35") + order("1", "15"),
        group("2", activity("10")) + group("3", activity("10")) + group("9", activity("10")),
        lineGroup("2", "10", line("1", "PUMP", "2")) + lineGroup("9", "10", line("1", "X", "1")));
    EXPECT_EQ(download(input), labelText("SLBEU0266"));
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(machine.log(), "");
    EXPECT_EQ(storeFile(), store(order("1", "15", "M") + order("2", "15"),
                                 group("1", activity("10", "N")) + group("2", activity("10")),
                                 lineGroup("2", "10", line("1", "PUMP", "2"))));
}

TEST_F(DownloadXmlTest, KnownRecordsAreNotReplacedButClosingAndLineValuesApply) {
    const std::string local = store(order("1", "15", "M") + order("2", "15", "O"),
                                    group("1", activity("10", "M")) + group("2", activity("10")),
                                    lineGroup("1", "10", line("1", "LOCAL", "5", "M")));
    machine.writeInstallFile("ZudivevEzored.xml", local);
    const std::string serverLine =
        "<l LineNumber=\"1\" "
        "State=\"O\"><Quantity>7</Quantity><ServiceItem>SERVER</ServiceItem><Extra>e</Extra></l>";
    const std::string input =
        store(order("1", "35", "O", "closed") + order("2", "20"),
              group("1", "<a Activity=\"10\" State=\"O\"><ActivityStatus>35</ActivityStatus></a>"),
              lineGroup("1", "10", serverLine));
    // Nothing was added, so the download reports that nothing is new, but what it changed stays.
    EXPECT_EQ(download(input), labelText("SLBEU0322"));
    EXPECT_EQ(lastError(), labelText("SLBEU0322"));
    EXPECT_EQ(machine.log(), kLogHeader + "iXml =   " + input + "\r\n");
    std::string closed = order("1", "35", "M", "closed");
    EXPECT_EQ(storeFile(), store(closed + order("2", "15", "O"),
                                 group("1", activity("10", "M")) + group("2", activity("10")),
                                 lineGroup("1", "10", line("1", "SERVER", "7", "M"))));
}

TEST_F(DownloadXmlTest, NewActivitiesReopenTheirCompletedOrderOnly) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             store(order("1", "20") + order("2", "20") + order("3", "20"),
                                   group("1", activity("10")) + group("2", activity("10"))));
    const std::string input =
        store("", group("1", activity("10") + activity("20")) + group("2", activity("10")) +
                      group("3", activity("10")));
    EXPECT_EQ(download(input), labelText("SLBEU0266"));
    EXPECT_EQ(storeFile(), store(order("1", "15") + order("2", "20") + order("3", "15"),
                                 group("1", activity("10") + activity("20")) +
                                     group("2", activity("10")) + group("3", activity("10"))));
}

TEST_F(DownloadXmlTest, AnEmptyLocalGroupReceivesNoActivities) {
    machine.writeInstallFile("ZudivevEzored.xml", store(order("1", "15"), group("1", "")));
    EXPECT_EQ(download(store("", group("1", activity("10")))), labelText("SLBEU0322"));
    EXPECT_EQ(storeFile(), store(order("1", "15"), group("1", "")));
}

TEST_F(DownloadXmlTest, RecordsRepeatedInOneDownloadAreAddedOnce) {
    const std::string input =
        store(order("5", "15") + order("5", "15"),
              group("5", activity("1")) + group("5", activity("1") + activity("2")),
              lineGroup("5", "1", line("1", "A", "1")) +
                  lineGroup("5", "1", line("1", "B", "2") + line("2", "C", "3")));
    EXPECT_EQ(download(input), labelText("SLBEU0266"));
    EXPECT_EQ(storeFile(), store(order("5", "15"), group("5", activity("1") + activity("2")),
                                 lineGroup("5", "1", line("1", "B", "2") + line("2", "C", "3"))));
}

TEST_F(DownloadXmlTest, AFailingStepKeepsWhatTheStepsBeforeItChanged) {
    const std::string input =
        store(order("7", "15"), group("7", activity("1")) + group("7", "<a State=\"O\"/>"));
    const auto outcome = machine.invoke("DownloadXml", {text(input)});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kInvalidUseOfNull);
    EXPECT_EQ(storeFile(), store(order("7", "15"), group("7", activity("1"))));
}

TEST_F(DownloadXmlTest, AClosingOrderTooShortForTheClosingFieldsChangesNothing) {
    const std::string shortOrder =
        "<record ServiceOrder=\"1\" State=\"O\"><OrderStatus>15</OrderStatus></record>";
    machine.writeInstallFile("ZudivevEzored.xml", store(shortOrder, group("1", activity("1"))));
    EXPECT_FALSE(machine.invoke("DownloadXml", {text(store(order("1", "35"), ""))}).succeeded);
    EXPECT_EQ(storeFile(), store(shortOrder, group("1", activity("1"))));
}

}  // namespace
