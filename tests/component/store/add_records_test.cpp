// AddXml: new orders with their activity group, activities, line groups and lines; refused
// numbers and records.
#include "platform/xml/document.h"
#include "tests/component/store/record_changes_fixture.h"

namespace {

using namespace record_changes;

const std::string kOrderFields = "<Description>New boiler</Description>";
const std::string kActivityFields =
    "<ActivityDescription>Fit</ActivityDescription><PlannedStartTime>20240131 "
    "0800</PlannedStartTime>"
    "<PlannedFinishTime>20240131 1000</PlannedFinishTime>";

std::string orderRequest(const std::string& number, const std::string& fields = kOrderFields) {
    return "<ccsocservcordr>" + order(number, "X", "15", fields) + "</ccsocservcordr>";
}

std::string activityRequest(const std::string& orderNumber, const std::string& number,
                            const std::string& fields = kActivityFields) {
    return "<ccsocservcactv>" +
           activityGroup(orderNumber, "X", activity(number, "X", "15", fields)) +
           "</ccsocservcactv>";
}

std::string materialRequest(const std::string& orderNumber, const std::string& activityNumber,
                            const std::string& number,
                            const std::string& fields = "<Remarks>r</Remarks>") {
    return "<ccsocservcmatl>" +
           lineGroup(orderNumber, activityNumber, "N", line(number, "N", fields)) +
           "</ccsocservcmatl>";
}

class AddRecordsTest : public RecordChangesTest {};

TEST_F(AddRecordsTest, NewOrderIsStoredWithItsEmptyActivityGroup) {
    EXPECT_EQ(callText("AddXml", {orderRequest("_5")}), "");
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(storeFile(), store({.orders = order("_5", "N", "15", kOrderFields),
                                  .activities = "<ServiceOrder ID=\"_5\" State=\"N\"/>"}));

    // The same number again is refused and changes nothing.
    const std::string message = labelText("SLBEU0324");
    EXPECT_EQ(callText("AddXml", {orderRequest("_5")}), message);
    EXPECT_EQ(lastError(), message);
    EXPECT_EQ(storeFile(), store({.orders = order("_5", "N", "15", kOrderFields),
                                  .activities = "<ServiceOrder ID=\"_5\" State=\"N\"/>"}));
    EXPECT_EQ(machine.log(),
              logHeader("Add XML") + "Error =   " + message + "\r\n" + orderRequest("_5") + "\r\n");
}

TEST_F(AddRecordsTest, OrderNumberWithMarkupCharactersCannotBreakTheStore) {
    // The order number _9"><x/>& as the page's markup carries it.
    const std::string escaped = "_9&quot;&gt;&lt;x/&gt;&amp;";
    EXPECT_EQ(callText("AddXml", {orderRequest(escaped)}), "");
    platform::xml::Document saved;
    ASSERT_TRUE(saved.parse(storeFile()));
    const auto groups = platform::xml::selectAll(saved.node(), "ccsocservcactv/ServiceOrder");
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(platform::xml::attribute(groups[0], "ID"), "_9\"><x/>&");
    EXPECT_EQ(platform::xml::childElementCount(groups[0]), 0u);
    EXPECT_EQ(callText("AddXml", {orderRequest(escaped)}), labelText("SLBEU0324"));
}

TEST_F(AddRecordsTest, ActivitiesJoinTheirOrdersGroup) {
    writeStore(store({.orders = order("1001", "O"),
                      .activities = activityGroup("1001", "O", activity("10", "O"))}));
    EXPECT_EQ(callText("AddXml", {activityRequest("1001", "_2")}), "");
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "O"),
                     .activities = activityGroup(
                         "1001", "O",
                         activity("10", "O") + activity("_2", "N", "15", kActivityFields))}));

    EXPECT_EQ(callText("AddXml", {activityRequest("1001", "10")}), labelText("SLBEU0325"));
    EXPECT_EQ(callText("AddXml", {activityRequest("1001", "_3", "<ActivityDescription/>")}),
              "Description " + labelText("SLBEU0327"));
    EXPECT_EQ(lastError(), "Description " + labelText("SLBEU0327"));

    // An order without activity group cannot take an activity: the call fails, nothing stored.
    const std::string before = storeFile();
    EXPECT_FALSE(invoke("AddXml", {activityRequest("2002", "_4")}).succeeded);
    EXPECT_EQ(storeFile(), before);
}

TEST_F(AddRecordsTest, FirstLineBringsItsGroupLaterLinesJoinIt) {
    writeStore(store({.orders = order("1001", "O"),
                      .activities = activityGroup("1001", "O", activity("10", "O"))}));
    EXPECT_EQ(callText("AddXml", {materialRequest("1001", "10", "_1")}), "");
    // The whole group as sent, with the states it carries.
    const std::string firstGroup = lineGroup("1001", "10", "N", line("_1", "N"));
    EXPECT_EQ(storeFile(), store({.orders = order("1001", "O"),
                                  .activities = activityGroup("1001", "O", activity("10", "O")),
                                  .material = firstGroup}));

    const std::string second =
        "<ccsocservcmatl>" + lineGroup("1001", "10", "X", line("_2", "X")) + "</ccsocservcmatl>";
    EXPECT_EQ(callText("AddXml", {second}), "");
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "O"),
                     .activities = activityGroup("1001", "O", activity("10", "O")),
                     .material = lineGroup("1001", "10", "N", line("_1", "N") + line("_2", "N"))}));

    EXPECT_EQ(callText("AddXml", {materialRequest("1001", "10", "_2")}), labelText("SLBEU0326"));
}

TEST_F(AddRecordsTest, LineFailingValidationLeavesTheStoreUnchanged) {
    const std::string original =
        store({.orders = order("1001", "O"),
               .activities = activityGroup("1001", "O", activity("10", "O"))});
    writeStore(original);
    const std::string request =
        "<ccsocservclabr>" +
        lineGroup("1001", "10", "N", line("_1", "N", "<StartDate/><EndDate>8</EndDate>")) +
        "</ccsocservclabr>";
    EXPECT_EQ(callText("AddXml", {request}), "Date " + labelText("SLBEU0327"));
    EXPECT_EQ(storeFile(), original);
}

TEST_F(AddRecordsTest, EmptyOrUnreadableRequests) {
    EXPECT_EQ(callText("AddXml", {""}), labelText("SLBEU0268"));
    EXPECT_EQ(lastError(), labelText("SLBEU0268"));
    EXPECT_EQ(machine.log(), "");

    EXPECT_EQ(callText("AddXml", {"<ccsocservcordr>"}), labelText("SLBEU0269"));
    EXPECT_EQ(machine.log(), logHeader("Add XML") + "Error =   " + labelText("SLBEU0269") +
                                 "\r\n<ccsocservcordr>\r\n");

    const std::string original = storeFile();
    EXPECT_EQ(callText("AddXml", {"<other><record ServiceOrder=\"_1\" State=\"N\"/></other>"}), "");
    EXPECT_EQ(storeFile(), original);
}

}  // namespace
