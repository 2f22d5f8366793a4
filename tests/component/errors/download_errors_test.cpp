// Importing the server's upload report and applying its completed entries to the order store.
#include <gtest/gtest.h>

#include "component/store/upload_report.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"

namespace {

using testing_support::ComponentMachine;
using testing_support::labelText;
using testing_support::text;

std::string activity(const std::string& number, const std::string& status,
                     const std::string& state = "MU") {
    return "<Activity Activity=\"" + number + "\" State=\"" + state + "\"><ActivityStatus>" +
           status + "</ActivityStatus><ActivityDescription>work</ActivityDescription></Activity>";
}

std::string line(const std::string& number, const std::string& state = "MU") {
    return "<Line LineNumber=\"" + number + "\" State=\"" + state +
           "\"><ServiceItem>PUMP</ServiceItem></Line>";
}

std::string order(const std::string& number, const std::string& status, const std::string& state) {
    return "<record ServiceOrder=\"" + number + "\" State=\"" + state + "\"><OrderStatus>" +
           status + "</OrderStatus><Description>d</Description></record>";
}

// Order 100: open, from the server, activity 10 open with material lines 1 and 2.
// Order 200: completed, activities 10 and 20 finished, a material line on 10, a labor line on 20.
const std::string kOrder100 = order("100", "15", "MU");
const std::string kOrder200 = order("200", "20", "MU");
const std::string kActivities100 =
    "<ServiceOrder ID=\"100\" State=\"O\">" + activity("10", "15") + "</ServiceOrder>";
const std::string kActivities200 = "<ServiceOrder ID=\"200\" State=\"O\">" + activity("10", "20") +
                                   activity("20", "20") + "</ServiceOrder>";
const std::string kMaterial100 = "<ServiceOrder ID=\"100\" Activity=\"10\" State=\"O\">" +
                                 line("1") + line("2") + "</ServiceOrder>";
const std::string kMaterial200 =
    "<ServiceOrder ID=\"200\" Activity=\"10\" State=\"O\">" + line("1") + "</ServiceOrder>";
const std::string kLabor200 =
    "<ServiceOrder ID=\"200\" Activity=\"20\" State=\"O\">" + line("1") + "</ServiceOrder>";

// An empty container is written as an empty element.
std::string container(const std::string& name, const std::string& content) {
    return content.empty() ? "<" + name + "/>" : "<" + name + ">" + content + "</" + name + ">";
}

std::string store(const std::string& orders, const std::string& activities,
                  const std::string& material, const std::string& labor) {
    return "<zudivevezored>" + container("ccsocservcordr", orders) +
           container("ccsocservcactv", activities) + container("ccsocservcmatl", material) +
           container("ccsocservclabr", labor) + "<ccsocservcothr/><ccsocservchra/></zudivevezored>";
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
    try {
        ReportEntryId("32768");
        FAIL();
    } catch (const platform::PlatformError& error) {
        EXPECT_EQ(error.code(), platform::failure::kOverflow);
    }
}

}  // namespace
