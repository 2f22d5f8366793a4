#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using testing_support::activityGroup;
using testing_support::ComponentMachine;
using testing_support::text;

const std::string kFieldMapper =
    "<FieldMapper><I18N>"
    "<TEXT ID=\"SLBEU0302\" DESCRIPTION=\"Orders\"/><TEXT ID=\"SLBEU0303\" DESCRIPTION=\"No "
    "orders.\"/>"
    "<TEXT ID=\"SLBEU0232\" DESCRIPTION=\"Activities\"/><TEXT ID=\"SLBEU0262\" DESCRIPTION=\"No "
    "activities.\"/>"
    "<TEXT ID=\"SLBEU0260\" DESCRIPTION=\"No store.\"/><TEXT ID=\"SLBEU0261\" DESCRIPTION=\"No "
    "fields.\"/>"
    "</I18N><ccsocservcordr>"
    "<OrderStatus LABEL=\"Status\" DATATYPE=\"e\" MODIFIABLE=\"True\" UINTERFACE=\"3\" "
    "ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"><VALUE Id=\"15\" Value=\"Open\"/></OrderStatus>"
    "<Description LABEL=\"Description\" DATATYPE=\"s\" MODIFIABLE=\"True\" UINTERFACE=\"1\" "
    "ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"/>"
    "<Remarks LABEL=\"Remarks\" DATATYPE=\"t\" MODIFIABLE=\"True\" UINTERFACE=\"2\" ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"/>"
    "</ccsocservcordr><ccsocservcactv>"
    "<ActivityDescription LABEL=\"Description\" DATATYPE=\"s\" MODIFIABLE=\"True\" "
    "UINTERFACE=\"3\" "
    "ZOOM=\"False\" HYPERLINK=\"False\" NEW=\"True\"/>"
    "</ccsocservcactv></FieldMapper>";

std::string order(const std::string& number, const std::string& state,
                  const std::string& description) {
    return testing_support::order(
        number, state, "15",
        "<Description>" + description + "</Description><Remarks>hidden</Remarks>");
}

// The activity's status is not defined for the lists, so it gets no cell.
std::string activity(const std::string& number, const std::string& state) {
    return testing_support::activity(
        number, state, "15", "<ActivityDescription>Task " + number + "</ActivityDescription>");
}

std::string store(const std::string& orders, const std::string& activities) {
    return testing_support::store({.orders = orders, .activities = activities});
}

std::string titleBar(const std::string& title) {
    return "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
           "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>" +
           title +
           "</strong></td><td valign=bottom align=right>"
           "<input type=submit  onclick=javascript:winclose(\"divList\") value=\" x \">"
           "</td></tr></table></td></tr>";
}

const std::string kColumns =
    "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>"
    "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>";

std::string orderRow(const std::string& number, const std::string& description) {
    return "<tr class=tablerows><td>&nbsp;<span id=" + number +
           " class=links onclick=javascript:showdetails(\"1\",\"" + number +
           "\",\"\",\"\",\"2\")>" + number +
           "</span></td><td>&nbsp;Open</td><td align=center>&nbsp;" + description + "</td></tr>";
}

std::string groupRow(const std::string& order) {
    return "<tr class=orderrow><td colspan=1>&nbsp;<span id=" + order +
           " class=links onclick=javascript:showdetails(\"1\",\"" + order + "\",\"\",\"\",\"2\")>" +
           order + "</span></td></tr>";
}

std::string activityRow(const std::string& order, const std::string& number) {
    return "<tr class=tablerows><td></td><td>&nbsp;<span id=" + order +
           " class=links onclick=javascript:showdetails(\"2\",\"" + order + "\",\"" + number +
           "\",\"\",\"2\")>" + number + "</span></td><td align=center>&nbsp;Task " + number +
           "</td></tr>";
}

class OrderListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
    }
    std::string list(const std::string& method) { return machine.callText(method); }
    std::string lastError() { return machine.callText("Get_Error"); }
    ComponentMachine machine;
};

const std::string kOrderHead =
    "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>" + titleBar("Orders") +
    "<tr><td width=100%><div style=\"height:125; overflow:auto;\">"
    "<table border=0 cellspacing=1 cellpadding=0 width=100%>" +
    kColumns +
    "<tr><td class=tableheader nowrap>Status</td><td class=tableheader "
    "nowrap>Description</td></tr>";
const std::string kOrderTail = "</div></table></td></tr></table>";

TEST_F(OrderListsTest, OrderListsSelectByStateAndRenderExactly) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             store(order("1001", "O", "Pump") + order("1002", "NU", "Valve") +
                                       order("1003", "MU", "Fan") + order("1004", "N", "Belt") +
                                       order("1005", "n", "Lower case"),
                                   ""));
    EXPECT_EQ(list("ListOrders"), kOrderHead + orderRow("1001", "Pump") +
                                      orderRow("1002", "Valve") + orderRow("1003", "Fan") +
                                      orderRow("1004", "Belt") + orderRow("1005", "Lower case") +
                                      kOrderTail);
    EXPECT_EQ(list("ViewOrders_W"),
              kOrderHead + orderRow("1001", "Pump") + orderRow("1004", "Belt") + kOrderTail);
    EXPECT_EQ(list("ViewOrders_SI"),
              kOrderHead + orderRow("1002", "Valve") + orderRow("1003", "Fan") + kOrderTail);
    EXPECT_EQ(lastError(), "1");
}

TEST_F(OrderListsTest, WithoutALastErrorValueTheListsStopAsThePageWouldReadIt) {
    machine.writeInstallFile("ZudivevEzored.xml", store(order("1001", "O", "Pump"), ""));
    machine.registry().deleteValue(platform::Hive::LocalMachine,
                                   "SOFTWARE\\Taviro\\Taviro Quillmere", "Error");
    EXPECT_EQ(list("ListOrders"), "");
    EXPECT_EQ(machine.callText("ViewCostLines_W", {testing_support::text("Material")}), "");
    EXPECT_EQ(machine.log(), "");
}

TEST_F(OrderListsTest, NothingToListIsReportedUnderTheVariantsAction) {
    machine.writeInstallFile("ZudivevEzored.xml", store(order("1001", "O", "Pump"), ""));
    EXPECT_EQ(list("ViewOrders_SI"), "");
    EXPECT_EQ(lastError(), "No orders.");
    EXPECT_THAT(machine.log(),
                HasSubstr("For User Action: View Orders  ----------\r\nError =   No orders.\r\n"));

    machine.writeInstallFile("ZudivevEzored.xml", store("", ""));
    EXPECT_EQ(list("ListOrders"), "");
    EXPECT_THAT(machine.log(),
                HasSubstr("For User Action: List Orders  ----------\r\nError =   No orders.\r\n"));
}

TEST_F(OrderListsTest, LoadFailuresAreReported) {
    machine.writeInstallFile("ZudivevEzored.xml", "<broken");
    EXPECT_EQ(list("ViewOrders_W"), "");
    EXPECT_EQ(lastError(), "No store.");
    EXPECT_THAT(machine.log(),
                HasSubstr("For User Action: List Orders  ----------\r\nError =   No store.\r\n"));
    EXPECT_EQ(list("ViewActivities_W"), "");
    EXPECT_THAT(machine.log(),
                HasSubstr("For User Action: My Activities  ----------\r\nError =   No store.\r\n"));

    machine.writeInstallFile("ZudivevEzored.xml", store(order("1001", "O", "Pump"), ""));
    machine.writeInstallFile("FieldMapper.xml", "<FieldMapper>");
    EXPECT_EQ(list("ListOrders"), "");
    // Without the field definitions the label itself cannot be read.
    EXPECT_EQ(lastError(), "");
}

TEST_F(OrderListsTest, RecordWithoutStateFailsTheFilteringListsOnly) {
    machine.writeInstallFile(
        "ZudivevEzored.xml",
        store("<record ServiceOrder=\"1\"><OrderStatus>15</OrderStatus></record>", ""));
    EXPECT_TRUE(machine.invoke("ListOrders").succeeded);
    const auto outcome = machine.invoke("ViewOrders_W");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kInvalidUseOfNull);
}

const std::string kActivityHead =
    "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>" +
    titleBar("Activities") +
    "<tr><td width=100%><table border=0 cellspacing=2 cellpadding=0 width=100%>" + kColumns +
    "<tr><td class=tableheader nowrap>Description</td></tr></table>"
    "<div style=\"height:125; overflow:auto;\"><table border=0 cellspacing=2 cellpadding=0 "
    "width=100%>" +
    kColumns;
const std::string kActivityTail = "</table></div></td></tr></table>";

TEST_F(OrderListsTest, ActivityListsFilterGroupsAndActivities) {
    machine.writeInstallFile(
        "ZudivevEzored.xml",
        store("", activityGroup("1001", "O", activity("10", "O") + activity("20", "MU")) +
                      activityGroup("1002", "M", activity("10", "MU")) +
                      activityGroup("1003", "NU", activity("10", "NU") + activity("20", "N")) +
                      activityGroup("1004", "O", "")));
    EXPECT_EQ(list("ViewActivities_W"), kActivityHead + groupRow("1001") +
                                            activityRow("1001", "10") + groupRow("1003") +
                                            activityRow("1003", "20") + kActivityTail);
    // The group in state "M" is skipped although it holds an uploaded activity.
    EXPECT_EQ(list("ViewActivities_SI"), kActivityHead + groupRow("1001") +
                                             activityRow("1001", "20") + groupRow("1003") +
                                             activityRow("1003", "10") + kActivityTail);
}

TEST_F(OrderListsTest, ActivityListWithNothingAdmittedReportsNoActivities) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             store("", activityGroup("1", "O", activity("10", "MU"))));
    EXPECT_EQ(list("ViewActivities_W"), "");
    EXPECT_EQ(lastError(), "No activities.");
    EXPECT_THAT(
        machine.log(),
        HasSubstr("For User Action: My Activities  ----------\r\nError =   No activities.\r\n"));
}

TEST_F(OrderListsTest, ValuesCannotInjectMarkup) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             store(order("1&lt;b&gt;&quot;", "O", "&lt;script&gt;"), ""));
    const std::string html = list("ListOrders");
    EXPECT_THAT(html, HasSubstr("<span id=1&lt;b&gt;&quot; class=links "
                                "onclick=javascript:showdetails(\"1\",\"1&lt;b&gt;\\x22\""));
    EXPECT_THAT(html, HasSubstr(">1&lt;b&gt;\"</span>"));
    EXPECT_THAT(html, HasSubstr("&nbsp;&lt;script&gt;</td>"));
    EXPECT_THAT(html, Not(HasSubstr("<script>")));
}

}  // namespace
