// updatexml: state transitions, field copying, validation refusals and upload-report clearing.
#include <gmock/gmock.h>

#include "platform/xml/document.h"
#include "tests/component/store/record_changes_fixture.h"

namespace {

using namespace record_changes;

const std::string kOrderFields = "<Description>Boiler</Description><Remarks>old</Remarks>";

std::string orderRequest(const std::string& number, const std::string& fields) {
    return "<ccsocservcordr>" + order(number, "X", "15", fields) + "</ccsocservcordr>";
}

std::string activityFields(const std::string& start) {
    return "<ActivityDescription>Inspect</ActivityDescription><PlannedStartTime>" + start +
           "</PlannedStartTime><PlannedFinishTime>20240131 1000</PlannedFinishTime>";
}

// An upload report: one group per list of entries, each entry Order/Activity/CostLine/CostType.
std::string report(const std::vector<std::vector<std::string>>& groups) {
    std::string xml = "<UploadReport>";
    int file = 0;
    for (const auto& entries : groups) {
        xml += "<File File=\"f" + std::to_string(++file) + "\" Status=\"Error\">";
        int id = 0;
        for (const std::string& entry : entries)
            xml += "<Entry ID=\"" + std::to_string(++id) + "\" " + entry +
                   " Status=\"Error\" Description=\"refused\"/>";
        xml += "</File>";
    }
    return xml + "</UploadReport>";
}

std::string entry(const std::string& order, const std::string& activity = "",
                  const std::string& line = "", const std::string& costType = "") {
    return "Order=\"" + order + "\" Activity=\"" + activity + "\" CostLine=\"" + line +
           "\" CostType=\"" + costType + "\"";
}

class UpdateRecordsTest : public RecordChangesTest {};

TEST_F(UpdateRecordsTest, ReceivedOrderTakesTheNewValuesAndBecomesChanged) {
    writeStore(store({.orders = order("1001", "O", "15", kOrderFields) + order("1002", "O")}));
    const std::string result = callText(
        "updatexml",
        {orderRequest("1001", "<Description>Pump</Description><Unknown>dropped</Unknown>")});
    EXPECT_EQ(result, "");
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "M", "15",
                                     "<Description>Pump</Description><Remarks>old</Remarks>") +
                               order("1002", "O")}));
}

// A value XML cannot carry would make the store, and every upload built from it, unreadable.
TEST_F(UpdateRecordsTest, ARecordThatIsNotXmlChangesNothing) {
    const std::string before = store({.orders = order("_1", "N", "15", kOrderFields),
                                      .activities = activityGroup("_1", "N", activity("_2", "N"))});
    writeStore(before);
    for (const std::string bad : {"a\x0b", "a&#1;", "a\xC3", "a]]>b", "&nbsp;"}) {
        const auto outcome =
            invoke("updatexml", {orderRequest("_1", "<Remarks>" + bad + "</Remarks>")});
        EXPECT_TRUE(outcome.succeeded) << bad;
        EXPECT_NE(lastError(), "1") << bad;
        EXPECT_EQ(storeFile(), before) << bad;
    }
    const std::string upload = callText("CreateXMLStringForUpdate");
    EXPECT_THAT(upload, testing::HasSubstr("ServiceOrder=\"_1\""));
    EXPECT_TRUE(platform::xml::Document().parse(upload)) << upload;
}

TEST_F(UpdateRecordsTest, StateRulesOfAnEdit) {
    for (const auto& [before, after] : std::vector<std::pair<std::string, std::string>>{
             {"O", "M"}, {"M", "M"}, {"N", "N"}, {"MU", "M"}, {"NU", "N"}}) {
        writeStore(store({.orders = order("1001", before, "15", kOrderFields)}));
        EXPECT_EQ(callText("updatexml", {orderRequest("1001", "<Remarks>new</Remarks>")}), "");
        EXPECT_EQ(
            storeFile(),
            store({.orders = order("1001", after, "15",
                                   "<Description>Boiler</Description><Remarks>new</Remarks>")}))
            << before;
    }
}

TEST_F(UpdateRecordsTest, UploadedOrderLeavesTheUploadReport) {
    writeStore(store({.orders = order("1001", "MU", "15", kOrderFields)}));
    machine.writeInstallFile("UploadReport.xml",
                             report({{entry("1001")}, {entry("1001", "10"), entry("1001")}}));
    EXPECT_EQ(callText("updatexml", {orderRequest("1001", "<Remarks>new</Remarks>")}), "");
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "M", "15",
                                     "<Description>Boiler</Description><Remarks>new</Remarks>")}));
    // The first matching entry goes, and its group with it; the rest stays as it was.
    EXPECT_EQ(machine.readInstallFile("UploadReport.xml"),
              "<UploadReport><File File=\"f2\" Status=\"Error\"><Entry ID=\"1\" " +
                  entry("1001", "10") +
                  " Status=\"Error\" Description=\"refused\"/><Entry ID=\"2\" " + entry("1001") +
                  " Status=\"Error\" Description=\"refused\"/></File></UploadReport>");
}

TEST_F(UpdateRecordsTest, EditedNewOrderTakesItsUploadedChildrenBackToNew) {
    writeStore(store({
        .orders = order("_3", "NU", "15", kOrderFields) + order("1001", "O"),
        .activities = activityGroup("_3", "NU", activity("_7", "NU") + activity("_8", "MU")) +
                      activityGroup("1001", "O", activity("10", "NU")),
        .material = lineGroup("_3", "_7", "NU", line("_1", "NU")),
        .other = lineGroup("_3", "_8", "O", line("_2", "MU")),
    }));
    machine.writeInstallFile("UploadReport.xml", report({{entry("_3")}}));
    EXPECT_EQ(callText("updatexml", {orderRequest("_3", "<Remarks>new</Remarks>")}), "");
    EXPECT_EQ(
        storeFile(),
        store({
            .orders =
                order("_3", "N", "15", "<Description>Boiler</Description><Remarks>new</Remarks>") +
                order("1001", "O"),
            .activities = activityGroup("_3", "N", activity("_7", "N") + activity("_8", "MU")) +
                          activityGroup("1001", "O", activity("10", "NU")),
            .material = lineGroup("_3", "_7", "N", line("_1", "N")),
            .other = lineGroup("_3", "_8", "O", line("_2", "MU")),
        }));
    EXPECT_EQ(machine.readInstallFile("UploadReport.xml"), "<UploadReport/>");
}

TEST_F(UpdateRecordsTest, EditedNewActivityTakesItsUploadedLinesBackToNew) {
    const std::string fields = activityFields("20240131 0800");
    writeStore(store({.orders = order("_3", "NU"),
                      .activities = activityGroup(
                          "_3", "NU", activity("_7", "NU", "15", fields) + activity("_8", "NU")),
                      .material = lineGroup("_3", "_7", "NU", line("_1", "NU")) +
                                  lineGroup("_3", "_8", "NU", line("_2", "NU")),
                      .labor = lineGroup("_3", "_7", "NU", line("_4", "NU"))}));
    machine.writeInstallFile("UploadReport.xml", report({{entry("_3", "_7"), entry("_3")}}));
    EXPECT_EQ(callText("updatexml", {"<ccsocservcactv>" +
                                     activityGroup("_3", "NU", activity("_7", "NU", "15", fields)) +
                                     "</ccsocservcactv>"}),
              "");
    EXPECT_EQ(storeFile(),
              store({.orders = order("_3", "NU"),
                     .activities = activityGroup(
                         "_3", "NU", activity("_7", "N", "15", fields) + activity("_8", "NU")),
                     .material = lineGroup("_3", "_7", "N", line("_1", "N")) +
                                 lineGroup("_3", "_8", "NU", line("_2", "NU")),
                     .labor = lineGroup("_3", "_7", "N", line("_4", "N"))}));
    EXPECT_EQ(machine.readInstallFile("UploadReport.xml"),
              "<UploadReport><File File=\"f1\" Status=\"Error\"><Entry ID=\"2\" " + entry("_3") +
                  " Status=\"Error\" Description=\"refused\"/></File></UploadReport>");
}

TEST_F(UpdateRecordsTest, OrderIsValidatedAgainstItsOwnConfigurationAndObject) {
    openMasterData({"CREATE TABLE CONFIGURATIONS (COMP TEXT, CCFG TEXT, DSCA TEXT)",
                    "INSERT INTO CONFIGURATIONS VALUES ('100', 'CFG1', 'boiler')",
                    "CREATE TABLE OBJECTS (COMP TEXT, CCFG TEXT, CROB TEXT, OSEQ TEXT)",
                    "INSERT INTO OBJECTS VALUES ('100', 'CFG1', 'OBJ', '1')"});
    writeStore(
        store({.orders = order("1001", "O", "15", "<Configuration/><Object/><ObjectNumber/>")}));
    EXPECT_EQ(callText("updatexml",
                       {orderRequest("1001",
                                     "<Configuration>CFG1</Configuration><Object>OBJ</Object>"
                                     "<ObjectNumber>2</ObjectNumber>")}),
              labelText("SLBEU0373"));
    EXPECT_EQ(
        callText("updatexml",
                 {orderRequest("1001", "<Configuration>CFG9</Configuration><Object>OBJ</Object>")}),
        "Configuration " + labelText("SLBEU0331"));
    EXPECT_EQ(callText("updatexml",
                       {orderRequest("1001",
                                     "<Configuration>CFG1</Configuration><Object>OBJ</Object>"
                                     "<ObjectNumber>1</ObjectNumber>")}),
              "");
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "M", "15",
                                     "<Configuration>CFG1</Configuration><Object>OBJ</Object>"
                                     "<ObjectNumber>1</ObjectNumber>")}));
}

TEST_F(UpdateRecordsTest, UploadedCostLineIsClearedByItsCostType) {
    const std::string fields = "<Remarks>r</Remarks><Task/>";
    writeStore(store({.orders = order("1001", "O"),
                      .activities = activityGroup("1001", "O", activity("10", "O")),
                      .material = lineGroup("1001", "10", "O", line("1", "MU", fields))}));
    const std::string report1 =
        report({{entry("1001", "10", "1", "Labor"), entry("1001", "10", "1", "Material")}});
    machine.writeInstallFile("UploadReport.xml", report1);
    EXPECT_EQ(callText("updatexml",
                       {"<ccsocservcmatl>" +
                        lineGroup("1001", "10", "O", line("1", "MU", "<Remarks>s</Remarks>")) +
                        "</ccsocservcmatl>"}),
              "");
    EXPECT_EQ(storeFile(),
              store({.orders = order("1001", "O"),
                     .activities = activityGroup("1001", "O", activity("10", "O")),
                     .material = lineGroup("1001", "10", "O",
                                           line("1", "M", "<Remarks>s</Remarks><Task/>"))}));
    EXPECT_EQ(machine.readInstallFile("UploadReport.xml"),
              "<UploadReport><File File=\"f1\" Status=\"Error\"><Entry ID=\"1\" " +
                  entry("1001", "10", "1", "Labor") +
                  " Status=\"Error\" Description=\"refused\"/></File></UploadReport>");
}

TEST_F(UpdateRecordsTest, ActivityFailingValidationIsNotStored) {
    const std::string original =
        store({.orders = order("1001", "O"),
               .activities = activityGroup(
                   "1001", "O", activity("10", "O", "15", activityFields("20240131 0800")))});
    writeStore(original);
    const std::string request =
        "<ccsocservcactv>" +
        activityGroup("1001", "O", activity("10", "O", "15", activityFields(""))) +
        "</ccsocservcactv>";
    EXPECT_EQ(callText("updatexml", {request}), "Planned Start " + labelText("SLBEU0327"));
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(storeFile(), original);
    EXPECT_EQ(machine.log(), "");

    const std::string valid =
        "<ccsocservcactv>" +
        activityGroup("1001", "O", activity("10", "O", "20", activityFields("20240201 0900"))) +
        "</ccsocservcactv>";
    EXPECT_EQ(callText("updatexml", {valid}), "");
    EXPECT_EQ(
        storeFile(),
        store({.orders = order("1001", "O"),
               .activities = activityGroup(
                   "1001", "O", activity("10", "M", "20", activityFields("20240201 0900")))}));
}

TEST_F(UpdateRecordsTest, RecordsThatAreNotThere) {
    const std::string original =
        store({.orders = order("1001", "O"),
               .activities = activityGroup("1001", "O", activity("10", "O"))});
    writeStore(original);
    EXPECT_EQ(callText("updatexml", {orderRequest("9999", "")}), labelText("SLBEU0323"));
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(callText("updatexml",
                       {"<ccsocservcactv>" + activityGroup("1001", "O", activity("99", "O")) +
                        "</ccsocservcactv>"}),
              "");
    EXPECT_EQ(callText("updatexml", {"<something><record ServiceOrder=\"1001\"/></something>"}),
              "");
    EXPECT_EQ(storeFile(), original);

    // A store without orders has nothing to say about a missing one.
    writeStore(store({}));
    EXPECT_EQ(callText("updatexml", {orderRequest("9999", "")}), "");
}

TEST_F(UpdateRecordsTest, UnreadableRequestStoreOrFieldDefinitions) {
    const std::string notXml = "<ccsocservcordr><record>";
    EXPECT_EQ(callText("updatexml", {notXml}), labelText("SLBEU0267"));
    EXPECT_EQ(lastError(), labelText("SLBEU0267"));
    EXPECT_EQ(machine.log(), logHeader("Update XML") + "Error =   " + labelText("SLBEU0267") +
                                 "\r\n" + notXml + "\r\n");

    writeStore("<zudivevezored>");
    EXPECT_EQ(callText("updatexml", {orderRequest("1001", "")}), labelText("SLBEU0260"));
    EXPECT_EQ(lastError(), labelText("SLBEU0260"));

    writeStore(store({.orders = order("1001", "O")}));
    machine.writeInstallFile("FieldMapper.xml", "<broken");
    EXPECT_EQ(callText("updatexml", {orderRequest("1001", "")}), "");
    EXPECT_EQ(storeFile(), store({.orders = order("1001", "O")}));
}

}  // namespace
