// deleteNode: orders, activities and cost lines leave the store with everything below them.
#include "tests/component/store/record_changes_fixture.h"

namespace {

using namespace record_changes;

// Two orders; 1001 has activities 10 and 20 with material, labor and other lines, 1002 one
// activity with a material line.
StoreContent twoOrders() {
    return {
        .orders = order("1001", "O") + order("1002", "O"),
        .activities = activityGroup("1001", "O", activity("10", "O") + activity("20", "O")) +
                      activityGroup("1002", "O", activity("10", "O")),
        .material = lineGroup("1001", "10", "O", line("1", "O") + line("2", "O")) +
                    lineGroup("1001", "20", "O", line("3", "O")) +
                    lineGroup("1002", "10", "O", line("1", "O")),
        .labor = lineGroup("1001", "10", "O", line("4", "O")),
        .other = lineGroup("1001", "20", "O", line("5", "O")),
    };
}

class DeleteRecordsTest : public RecordChangesTest {
  protected:
    void deleteNode(const std::string& order, const std::string& activity, const std::string& line,
                    const std::string& costType) {
        EXPECT_TRUE(
            machine.call("deleteNode", {text(order), text(activity), text(line), text(costType)})
                .isEmpty());
    }
};

TEST_F(DeleteRecordsTest, OrderGoesWithItsActivitiesAndLines) {
    writeStore(store(twoOrders()));
    deleteNode("1001", "", "", "");
    EXPECT_EQ(storeFile(), store({.orders = order("1002", "O"),
                                  .activities = activityGroup("1002", "O", activity("10", "O")),
                                  .material = lineGroup("1002", "10", "O", line("1", "O"))}));
}

TEST_F(DeleteRecordsTest, ActivityGoesWithItsLinesAndTheLastOneTakesTheOrder) {
    writeStore(store(twoOrders()));
    deleteNode("1001", "20", "", "");
    StoreContent expected = twoOrders();
    expected.activities = activityGroup("1001", "O", activity("10", "O")) +
                          activityGroup("1002", "O", activity("10", "O"));
    expected.material = lineGroup("1001", "10", "O", line("1", "O") + line("2", "O")) +
                        lineGroup("1002", "10", "O", line("1", "O"));
    expected.other = "";
    EXPECT_EQ(storeFile(), store(expected));

    deleteNode("1002", "10", "", "");
    expected.orders = order("1001", "O");
    expected.activities = activityGroup("1001", "O", activity("10", "O"));
    expected.material = lineGroup("1001", "10", "O", line("1", "O") + line("2", "O"));
    EXPECT_EQ(storeFile(), store(expected));
}

TEST_F(DeleteRecordsTest, LastLineTakesItsGroupButNotTheActivity) {
    writeStore(store(twoOrders()));
    deleteNode("1001", "10", "1", "material");
    deleteNode("1001", "20", "5", "other");
    deleteNode("1001", "10", "4", "hra");  // hours registrations are labor lines
    StoreContent expected = twoOrders();
    expected.material = lineGroup("1001", "10", "O", line("2", "O")) +
                        lineGroup("1001", "20", "O", line("3", "O")) +
                        lineGroup("1002", "10", "O", line("1", "O"));
    expected.labor = "";
    expected.other = "";
    EXPECT_EQ(storeFile(), store(expected));
}

TEST_F(DeleteRecordsTest, WhatIsNotThereChangesNothing) {
    // Written without the serializer's forms, so that the save shows.
    const std::string original = store(twoOrders());
    writeStore(original);
    deleteNode("9999", "", "", "");
    deleteNode("1001", "10", "1", "parts");
    deleteNode("", "10", "", "");
    deleteNode("1001", "", "1", "material");
    deleteNode("1001", "10", "9", "labor");
    EXPECT_EQ(storeFile(), original);
}

TEST_F(DeleteRecordsTest, DeletedRecordIsNotUploaded) {
    writeStore(store(
        {.orders = order("1001", "M"),
         .activities = activityGroup("1001", "O", activity("10", "M") + activity("20", "O"))}));
    deleteNode("1001", "10", "", "");
    EXPECT_EQ(callText("CreateXMLStringForUpdate"),
              store({.orders = order("1001", "M"), .activities = ""}));
}

TEST_F(DeleteRecordsTest, UnreadableStoreIsLeftAlone) {
    writeStore("<zudivevezored><ccsocservcordr>");
    const auto outcome = invoke("deleteNode", {"1001", "", "", ""});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(storeFile(), "<zudivevezored><ccsocservcordr>");
}

}  // namespace
