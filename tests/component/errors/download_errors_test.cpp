// Importing the server's upload report and applying its completed entries to the order store.
#include <gtest/gtest.h>

#include "component/store/upload_report.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"
#include "tests/support/failure_code.h"

namespace {

using testing_support::ComponentMachine;
using testing_support::labelText;
using testing_support::text;

using testing_support::activityGroup;
using testing_support::lineGroup;

std::string activity(const std::string& number, const std::string& status,
                     const std::string& state = "MU") {
    return testing_support::activity(number, state, status,
                                     "<ActivityDescription>work</ActivityDescription>");
}

std::string line(const std::string& number, const std::string& state = "MU") {
    return testing_support::line(number, state, "<ServiceItem>PUMP</ServiceItem>");
}

std::string order(const std::string& number, const std::string& status, const std::string& state) {
    return testing_support::order(number, state, status, "<Description>d</Description>");
}

// Order 100: open, from the server, activity 10 open with material lines 1 and 2.
// Order 200: completed, activities 10 and 20 finished, a material line on 10, a labor line on 20.
const std::string kOrder100 = order("100", "15", "MU");
const std::string kOrder200 = order("200", "20", "MU");
const std::string kActivities100 = activityGroup("100", "O", activity("10", "15"));
const std::string kActivities200 =
    activityGroup("200", "O", activity("10", "20") + activity("20", "20"));
const std::string kMaterial100 = lineGroup("100", "10", "O", line("1") + line("2"));
const std::string kMaterial200 = lineGroup("200", "10", "O", line("1"));
const std::string kLabor200 = lineGroup("200", "20", "O", line("1"));

std::string store(const std::string& orders, const std::string& activities,
                  const std::string& material, const std::string& labor) {
    return testing_support::store(
        {.orders = orders, .activities = activities, .material = material, .labor = labor});
}

const std::string kStore = store(kOrder100 + kOrder200, kActivities100 + kActivities200,
                                 kMaterial100 + kMaterial200, kLabor200);

std::string entry(const std::string& id, const std::string& orderNumber,
                  const std::string& activityNumber, const std::string& costLine,
                  const std::string& costType, const std::string& status) {
    return "<Entry ID=\"" + id + "\" Order=\"" + orderNumber + "\" Activity=\"" + activityNumber +
           "\" CostLine=\"" + costLine + "\" CostType=\"" + costType + "\" Status=\"" + status +
           "\" Description=\"" + (status == "Error" ? "refused" : "") + "\"/>";
}

std::string group(const std::string& file, const std::string& entries,
                  const std::string& status = "Error") {
    return "<Upload File=\"" + file + "\" Status=\"" + status + "\">" + entries + "</Upload>";
}

std::string report(const std::string& groups) {
    return "<UploadReport>" + groups + "</UploadReport>";
}

class DownloadErrors : public ::testing::Test {
  protected:
    DownloadErrors() {
        machine.initializeWithFieldMapper();
        machine.writeInstallFile("ZudivevEzored.xml", kStore);
    }
    std::string download(const std::string& xml) {
        return machine.callText("DownloadErrors", {text(xml)});
    }
    std::string storeFile() const { return machine.readInstallFile("ZudivevEzored.xml"); }
    std::string reportFile() const { return machine.readInstallFile("UploadReport.xml"); }

    ComponentMachine machine;
};

TEST_F(DownloadErrors, FirstReportIsKeptAsSentWhenNothingIsCompleted) {
    const std::string sent = "<?xml version=\"1.0\"?>\n" +
                             report(group("up1.xml", entry("1", "100", "", "", "", "Error")));
    EXPECT_EQ(download(sent), "");
    EXPECT_EQ(reportFile(), sent);
    EXPECT_EQ(storeFile(), kStore);
}

TEST_F(DownloadErrors, ErrorEntriesGrowTheStoredReportAndChangeNothingElse) {
    const std::string first = report(group("up1.xml", entry("1", "100", "", "", "", "Error")));
    download(first);
    const std::string second = group("up2.xml", entry("1", "200", "10", "", "", "Error")) +
                               group("up2.xml", entry("2", "200", "20", "", "", "Error"));
    EXPECT_EQ(download(report(second)), "");
    EXPECT_EQ(reportFile(),
              report(group("up1.xml", entry("1", "100", "", "", "", "Error")) + second));
    EXPECT_EQ(storeFile(), kStore);
}

TEST_F(DownloadErrors, AllCompletedLeavesTheRootWithoutGroups) {
    download(report(group(
        "up1.xml",
        entry("1", "100", "", "", "", "Completed") + entry("2", "100", "10", "", "", "Completed"),
        "Completed")));
    EXPECT_EQ(reportFile(), "<UploadReport/>");
}

TEST_F(DownloadErrors, ConfirmedServerOrderReturnsToO) {
    download(report(group("up1.xml", entry("1", "100", "", "", "", "Completed"))));
    EXPECT_EQ(storeFile(),
              store(order("100", "15", "O") + kOrder200, kActivities100 + kActivities200,
                    kMaterial100 + kMaterial200, kLabor200));
}

TEST_F(DownloadErrors, ConfirmedLineOfAnOpenActivityLeavesTheStore) {
    download(report(group("up1.xml", entry("1", "100", "10", "2", "Material", "Completed"))));
    const std::string material100 =
        "<ServiceOrder ID=\"100\" Activity=\"10\" State=\"O\">" + line("1") + "</ServiceOrder>";
    EXPECT_EQ(storeFile(), store(kOrder100 + kOrder200, kActivities100 + kActivities200,
                                 material100 + kMaterial200, kLabor200));
}

TEST_F(DownloadErrors, CompletedOrderWithConfirmedActivitiesLeavesWithEverything) {
    download(report(group("up1.xml", entry("1", "200", "", "", "", "Completed"))));
    EXPECT_EQ(storeFile(), store(kOrder100, kActivities100, kMaterial100, ""));
}

TEST_F(DownloadErrors, RefusedLineKeepsItsActivityAndOrder) {
    download(report(group("up1.xml", entry("1", "200", "", "", "", "Completed") +
                                         entry("2", "200", "10", "", "", "Completed") +
                                         entry("3", "200", "10", "1", "Material", "Error"))));
    // The order is not confirmed while a line of one of its activities is refused.
    EXPECT_EQ(storeFile(),
              store(kOrder100 + order("200", "20", "O"), kActivities100 + kActivities200,
                    kMaterial100 + kMaterial200, kLabor200));
    EXPECT_EQ(reportFile(),
              report(group("up1.xml", entry("3", "200", "10", "1", "Material", "Error"))));
}

TEST_F(DownloadErrors, OrdersCreatedOnTheLaptopLeaveWhenOpenOrFinished) {
    const std::string laptopStore =
        store(order("_1", "15", "NU"),
              "<ServiceOrder ID=\"_1\" State=\"NU\">" + activity("_1", "35", "NU") +
                  activity("_2", "15", "NU") + "</ServiceOrder>",
              "", "");
    machine.writeInstallFile("ZudivevEzored.xml", laptopStore);
    download(report(group("up1.xml", entry("1", "_1", "", "", "", "Completed"))));
    EXPECT_EQ(storeFile(), store("", "", "", ""));
}

TEST_F(DownloadErrors, SameFileNameInTwoUploadsKeepsTheOtherUploadsEntries) {
    download(report(group("up.xml", entry("1", "100", "", "", "", "Error"))));
    download(report(group("up.xml", entry("1", "100", "", "", "", "Completed"))));
    EXPECT_EQ(reportFile(), report(group("up.xml", entry("1", "100", "", "", "", "Error"))));
}

TEST_F(DownloadErrors, IllFormedReportIsRefusedAndLogged) {
    const std::string broken = "<UploadReport><Upload File=\"a\">";
    EXPECT_EQ(download(broken), labelText("SLBEU0288"));
    EXPECT_FALSE(std::filesystem::exists(machine.installPath("UploadReport.xml")));
    const std::string expectedLog =
        "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: Download Errors  "
        "----------\r\n"
        "Error =   " +
        labelText("SLBEU0288") + "\r\n" + broken + "\r\n";
    EXPECT_EQ(machine.log(), expectedLog);

    const std::string stored = report(group("up1.xml", entry("1", "100", "", "", "", "Error")));
    download(stored);
    EXPECT_EQ(download(broken), labelText("SLBEU0288"));
    EXPECT_EQ(reportFile(), stored);
}

TEST_F(DownloadErrors, UnreadableStoredReportIsReported) {
    machine.writeInstallFile("UploadReport.xml", "<UploadReport>");
    EXPECT_EQ(download(report(group("up1.xml", entry("1", "100", "", "", "", "Completed")))),
              labelText("SLBEU0289"));
    EXPECT_EQ(machine.log(),
              "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: Download Errors  "
              "----------\r\n"
              "Error =   " +
                  labelText("SLBEU0289") + "\r\n");
    EXPECT_EQ(reportFile(), "<UploadReport>");
    EXPECT_EQ(storeFile(), kStore);
}

TEST_F(DownloadErrors, BadEntryNumberStopsWithEarlierEntriesSaved) {
    const auto outcome = machine.invoke(
        "DownloadErrors", {text(report(group("up1.xml", entry("1", "100", "", "", "", "Completed") +
                                                            entry("x", "100", "10", "2", "Material",
                                                                  "Completed"))))});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kTypeMismatch);
    EXPECT_EQ(storeFile(),
              store(order("100", "15", "O") + kOrder200, kActivities100 + kActivities200,
                    kMaterial100 + kMaterial200, kLabor200));
    EXPECT_EQ(reportFile(),
              report(group("up1.xml", entry("x", "100", "10", "2", "Material", "Completed"))));
}

TEST_F(DownloadErrors, UnreadableStoreKeepsTheCompletedEntries) {
    machine.writeInstallFile("ZudivevEzored.xml", "<zudivevezored>");
    const std::string sent = report(group("up1.xml", entry("1", "100", "", "", "", "Completed")));
    EXPECT_FALSE(machine.invoke("DownloadErrors", {text(sent)}).succeeded);
    EXPECT_EQ(reportFile(), sent);
    EXPECT_EQ(storeFile(), "<zudivevezored>");
}

TEST(ReportEntryId, ConvertsAsTheRuntimeDoes) {
    using quillmere::ReportEntryId;
    EXPECT_EQ(ReportEntryId("7"), 7);
    EXPECT_EQ(ReportEntryId(" 12 "), 12);
    EXPECT_EQ(ReportEntryId("-32768"), -32768);
    EXPECT_EQ(ReportEntryId("2.5"), 2);
    EXPECT_EQ(ReportEntryId("3.5"), 4);
    for (const char* bad : {"", "x", "1x", "."})
        EXPECT_THROW(ReportEntryId(bad), platform::PlatformError) << bad;
    EXPECT_EQ(testing_support::failureCodeOf([] { ReportEntryId("32768"); }),
              platform::failure::kOverflow);
}

}  // namespace
