// CreateXMLStringForUpdate, CompleteOrder and SaveHra: the upload document's content and the
// states it leaves in the store.
#include <gmock/gmock.h>

#include "tests/component/store/record_changes_fixture.h"

namespace {

using ::testing::HasSubstr;

using namespace record_changes;

const std::string kHours = "<Hra LineNumber=\"_4\"><EndDate>2</EndDate></Hra>";

class UploadDocumentTest : public RecordChangesTest {
  protected:
    std::string upload() { return callText("CreateXMLStringForUpdate"); }
};

TEST_F(UploadDocumentTest, NothingNewOrChangedGivesNoDocument) {
    const std::string original =
        store({.orders = order("1001", "O"),
               .activities = activityGroup("1001", "O", activity("10", "O")),
               .material = lineGroup("1001", "10", "O", line("1", "O")),
               .hours = kHours});
    writeStore(original);
    EXPECT_EQ(upload(), "");
    EXPECT_EQ(storeFile(), original);
}

TEST_F(UploadDocumentTest, NewOrderTravelsWithItsActivitiesAndIsMarkedAfterwards) {
    writeStore(
        store({.orders = order("_1", "N") + order("1001", "O"),
               .activities = activityGroup("_1", "N", activity("_2", "N") + activity("_3", "N")) +
                             activityGroup("1001", "O", activity("10", "O")),
               .material = lineGroup("_1", "_2", "N", line("_5", "N")),
               .hours = kHours}));
    // The document shows the states before marking, and every hours registration.
    EXPECT_EQ(
        upload(),
        store({.orders = order("_1", "N"),
               .activities = activityGroup("_1", "N", activity("_2", "N") + activity("_3", "N")),
               .material = lineGroup("_1", "_2", "N", line("_5", "N")),
               .hours = kHours}));
    EXPECT_EQ(storeFile(),
              store({.orders = order("_1", "NU") + order("1001", "O"),
                     .activities =
                         activityGroup("_1", "NU", activity("_2", "NU") + activity("_3", "NU")) +
                         activityGroup("1001", "O", activity("10", "O")),
                     .material = lineGroup("_1", "_2", "NU", line("_5", "NU")),
                     .hours = kHours}));
    // Everything is uploaded now: the next document is empty and changes nothing.
    const std::string marked = storeFile();
    EXPECT_EQ(upload(), "");
    EXPECT_EQ(storeFile(), marked);
}

TEST_F(UploadDocumentTest, ChangedRecordsOfReceivedOrders) {
    writeStore(
        store({.orders = order("1001", "O") + order("1002", "M"),
               .activities = activityGroup("1001", "O", activity("10", "M") + activity("20", "O")) +
                             activityGroup("1002", "O", ""),
               .material =
                   lineGroup("1001", "10", "O", line("1", "O") + line("2", "M") + line("3", "MU")),
               .labor = lineGroup("1001", "20", "O", line("4", "O"))}));
    // The changed activity and line go without their order; an order without activities stays out.
    EXPECT_EQ(upload(), store({.activities = activityGroup("1001", "O", activity("10", "M")),
                               .material = lineGroup("1001", "10", "O", line("2", "M"))}));
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "O") + order("1002", "M"),
                     .activities =
                         activityGroup("1001", "O", activity("10", "MU") + activity("20", "O")) +
                         activityGroup("1002", "O", ""),
                     .material = lineGroup("1001", "10", "O",
                                           line("1", "O") + line("2", "MU") + line("3", "MU")),
                     .labor = lineGroup("1001", "20", "O", line("4", "O"))}));
}

TEST_F(UploadDocumentTest, FinishedOrdersAreCompletedOnePerCall) {
    const std::string activities =
        activityGroup("1001", "O", activity("10", "O", "20") + activity("20", "O", "20")) +
        activityGroup("1002", "O", activity("10", "O", "20")) +
        activityGroup("1003", "O", activity("10", "O", "15"));
    writeStore(store(
        {.orders = order("1001", "O", "15") + order("1002", "O", "15") + order("1003", "O", "15"),
         .activities = activities}));
    // The completed order goes up as changed, without its unchanged activities.
    EXPECT_EQ(upload(), store({.orders = order("1001", "M", "20"), .activities = ""}));
    EXPECT_EQ(storeFile(), store({.orders = order("1001", "MU", "20") + order("1002", "O", "15") +
                                            order("1003", "O", "15"),
                                  .activities = activities}));

    EXPECT_TRUE(machine.call("CompleteOrder").isEmpty());
    EXPECT_EQ(storeFile(), store({.orders = order("1001", "MU", "20") + order("1002", "M", "20") +
                                            order("1003", "O", "15"),
                                  .activities = activities}));
    // A new order keeps its state when completed.
    writeStore(store({.orders = order("_1", "N", "15"),
                      .activities = activityGroup("_1", "N", activity("_2", "N", "20"))}));
    machine.call("CompleteOrder");
    EXPECT_EQ(storeFile(),
              store({.orders = order("_1", "N", "20"),
                     .activities = activityGroup("_1", "N", activity("_2", "N", "20"))}));
}

TEST_F(UploadDocumentTest, HoursRegistrationsAloneAreNoUpload) {
    writeStore(store({}));
    EXPECT_EQ(callText("SaveHra", {kHours}), "");
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(callText("SaveHra", {"<?xml version=\"1.0\"?><Hra LineNumber=\"_5\"/>"}), "");
    EXPECT_EQ(storeFile(), store({.hours = kHours + "<Hra LineNumber=\"_5\"/>"}));
    EXPECT_EQ(upload(), "");
}

TEST_F(UploadDocumentTest, SaveHraReportsWhatItCannotStore) {
    EXPECT_EQ(callText("SaveHra", {""}), labelText("SLBEU0321"));
    EXPECT_EQ(lastError(), labelText("SLBEU0321"));
    EXPECT_EQ(callText("SaveHra", {"<Hra>"}), labelText("SLBEU0265"));
    writeStore("<zudivevezored>");
    EXPECT_EQ(callText("SaveHra", {kHours}), labelText("SLBEU0260"));
    EXPECT_EQ(lastError(), labelText("SLBEU0260"));
}

TEST_F(UploadDocumentTest, BrokenStoresFailTheCall) {
    writeStore("<zudivevezored>");
    EXPECT_FALSE(invoke("CreateXMLStringForUpdate").succeeded);
    EXPECT_EQ(storeFile(), "<zudivevezored>");

    // A group without State fails the call; marks made before stay saved.
    writeStore(store(
        {.orders = order("_1", "N"),
         .activities =
             activityGroup("_1", "N", activity("_2", "N")) +
             "<ServiceOrder ID=\"_9\"><Activity Activity=\"_3\" State=\"N\"/></ServiceOrder>"}));
    EXPECT_FALSE(invoke("CreateXMLStringForUpdate").succeeded);
    EXPECT_THAT(storeFile(), HasSubstr(order("_1", "NU")));

    std::filesystem::remove(machine.installPath("ZudivevEzored.xml"));
    EXPECT_EQ(upload(), "");
}

TEST_F(UploadDocumentTest, EditAfterUploadSendsTheRecordAgain) {
    writeStore(store({.orders = order("1001", "O"),
                      .activities = activityGroup("1001", "O", activity("10", "M"))}));
    EXPECT_NE(upload(), "");
    EXPECT_EQ(
        callText("updatexml",
                 {"<ccsocservcactv>" +
                  activityGroup(
                      "1001", "O",
                      activity("10", "X", "15",
                               "<ActivityDescription>x</"
                               "ActivityDescription><PlannedStartTime>20240131</PlannedStartTime>"
                               "<PlannedFinishTime>20240131</PlannedFinishTime>")) +
                  "</ccsocservcactv>"}),
        "");
    EXPECT_EQ(upload(), store({.activities = activityGroup("1001", "O", activity("10", "M"))}));
}

}  // namespace
