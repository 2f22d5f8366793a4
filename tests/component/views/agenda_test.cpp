#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/core/variant.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using quillmere::Variant;
using testing_support::ComponentMachine;
using testing_support::text;

const std::string kFieldMapper =
    "<FieldMapper><I18N>"
    "<TEXT ID=\"SLBEU0232\" DESCRIPTION=\"Open work\"/><TEXT ID=\"SLBEU0237\" "
    "DESCRIPTION=\"Done\"/>"
    "<TEXT ID=\"SLBEU0238\" DESCRIPTION=\"Closed\"/><TEXT ID=\"SLBEU0260\" DESCRIPTION=\"No "
    "store.\"/>"
    "<TEXT ID=\"SLBEU0261\" DESCRIPTION=\"No fields.\"/><TEXT ID=\"SLBEU0262\" DESCRIPTION=\"No "
    "activities.\"/>"
    "<TEXT ID=\"SLBEU0263\" DESCRIPTION=\"No orders.\"/>"
    "</I18N><ccsocservcactv>"
    "<ActivityStatus LABEL=\"Status\" DATATYPE=\"e\" MODIFIABLE=\"True\" UINTERFACE=\"3\" "
    "ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"><VALUE Id=\"15\" Value=\"Open\"/><VALUE Id=\"20\" "
    "Value=\"Finished\"/></ActivityStatus>"
    "<ActivityDescription LABEL=\"Description\" DATATYPE=\"s\" MODIFIABLE=\"True\" "
    "UINTERFACE=\"1\" "
    "ZOOM=\"False\" HYPERLINK=\"False\" NEW=\"True\"/>"
    "<Remarks LABEL=\"Remarks\" DATATYPE=\"t\" MODIFIABLE=\"True\" UINTERFACE=\"2\" ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"/>"
    "</ccsocservcactv></FieldMapper>";

std::string order(const std::string& number, const std::string& status) {
    return testing_support::order(number, "O", status);
}

std::string activity(const std::string& number, const std::string& status,
                     const std::string& description) {
    return testing_support::activity(number, "O", status,
                                     "<ActivityDescription>" + description +
                                         "</ActivityDescription><Remarks>not listed</Remarks>"
                                         "<Unknown>x</Unknown>");
}

std::string group(const std::string& order, const std::string& activities) {
    return testing_support::activityGroup(order, "O", activities);
}

// Orders in every status, a group without an order record, a status with a trailing blank and
// an open order without activities.
const std::string kStore = testing_support::store(
    {.orders = order("100", "15") + order("200", "20") + order("300", "35") + order("500", "15 ") +
               order("600", "15"),
     .activities = group("100", activity("10", "15", "Inspect") + activity("20", "20", "Repair")) +
                   group("200", activity("10", "20", "Done")) +
                   group("300", activity("10", "35", "Gone")) +
                   group("400", activity("10", "15", "Orphan")) +
                   group("500", activity("10", "15", "Blank")) +
                   testing_support::activityGroup("600", "N", "")});

const std::string kTitleBar =
    "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
    "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>TITLE</strong></td>"
    "<td valign=bottom align=right>"
    "<input type=submit  onclick=javascript:winclose(\"divList\") value=\" x \">"
    "</td></tr></table></td></tr>";

const std::string kHeadings =
    "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>"
    "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>"
    "<tr><td class=tableheader nowrap>Status</td><td class=tableheader "
    "nowrap>Description</td></tr>";

std::string titleBar(const std::string& title) {
    std::string bar = kTitleBar;
    return bar.replace(bar.find("TITLE"), 5, title);
}

std::string groupRow(const std::string& order) {
    return "<tr class=orderrow><td colspan=2>&nbsp;<span id=" + order +
           " class=links onclick=javascript:showdetails(\"1\",\"" + order + "\",\"\",\"\",\"2\")>" +
           order + "</span></td></tr>";
}

std::string activityRow(const std::string& mark, const std::string& order,
                        const std::string& activity, const std::string& status,
                        const std::string& description) {
    return "<tr class=tablerows><td>" + mark + "</td><td>&nbsp;<span id=" + order +
           " class=links onclick=javascript:showdetails(\"2\",\"" + order + "\",\"" + activity +
           "\",\"\",\"2\")>" + activity + "</span></td><td>&nbsp;" + status +
           "</td><td align=center>&nbsp;" + description + "</td></tr>";
}

class AgendaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
        machine.writeInstallFile("ZudivevEzored.xml", kStore);
    }
    std::string lastError() { return machine.callText("Get_Error"); }
    ComponentMachine machine;
};

TEST_F(AgendaTest, MyActivitiesListsTheOpenOrdersWithFixedHeadings) {
    EXPECT_EQ(machine.callText("MyActivities", {text("ignored")}),
              "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>" +
                  titleBar("Open work") +
                  "<tr><td width=100%><table border=0 cellspacing=2 cellpadding=0 width=100%  "
                  "height=25>" +
                  kHeadings +
                  "</table><div style=\"height:125; overflow:auto;\">"
                  "<table border=0 cellspacing=2 cellpadding=0 width=100%  height=300>"
                  "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>"
                  "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>" +
                  groupRow("100") + activityRow("", "100", "10", "Open", "Inspect") +
                  activityRow("", "100", "20", "Finished", "Repair") + groupRow("600") +
                  "</table></div></td></tr></table>");
    EXPECT_EQ(lastError(), "1");
    EXPECT_EQ(machine.log(), "");
}

TEST_F(AgendaTest, CompletedAndClosedAgendasScrollTheirHeadings) {
    const std::string head = "<table width=100% border=0 cellspacing=0 cellpadding=0>";
    const std::string scroll =
        "<tr><td width=100%><div style=\"height:125; overflow:auto;\">"
        "<table border=0 cellspacing=1 cellpadding=0 width=100%>";
    const std::string tail = "</div></table></td></tr></table>";
    EXPECT_EQ(machine.callText("completedAgenda"),
              head + titleBar("Done") + scroll + kHeadings + groupRow("200") +
                  activityRow("", "200", "10", "Finished", "Done") + tail);
    EXPECT_EQ(machine.callText("canceledAgenda"),
              head + titleBar("Closed") + scroll + kHeadings + groupRow("300") +
                  activityRow(" X ", "300", "10", "", "Gone") + tail);
}

TEST_F(AgendaTest, NothingToListIsReportedAndLogged) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             "<zudivevezored><ccsocservcordr>" + order("1", "20") +
                                 "</ccsocservcordr><ccsocservcactv><ServiceOrder "
                                 "ID=\"1\"/></ccsocservcactv></zudivevezored>");
    EXPECT_EQ(machine.callText("MyActivities", {text("")}), "");
    EXPECT_EQ(lastError(), "No activities.");
    EXPECT_EQ(machine.callText("canceledAgenda"), "");
    EXPECT_EQ(lastError(), "No orders.");
    const std::string header =
        "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: My Activities  "
        "----------\r\n";
    EXPECT_EQ(machine.log(),
              header + "Error =   No activities.\r\n" + header + "Error =   No orders.\r\n");
    EXPECT_FALSE(machine.callText("completedAgenda").empty());
    EXPECT_EQ(lastError(), "1");
}

TEST_F(AgendaTest, MissingDocumentsAreReported) {
    machine.writeInstallFile("FieldMapper.xml", "<broken>");
    EXPECT_EQ(machine.callText("completedAgenda"), "");
    EXPECT_EQ(lastError(), "");  // the label itself cannot be read without the document
    machine.installFieldMapper(kFieldMapper);
    machine.writeInstallFile("ZudivevEzored.xml", "<zudivevezored>");
    EXPECT_EQ(machine.callText("MyActivities", {text("")}), "");
    EXPECT_EQ(lastError(), "No store.");
    EXPECT_THAT(machine.log(), HasSubstr("Error =   No store.\r\n"));
}

TEST_F(AgendaTest, AGroupWithoutOrderNumberFailsTheCall) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             "<zudivevezored><ccsocservcordr/><ccsocservcactv><ServiceOrder/></"
                             "ccsocservcactv></zudivevezored>");
    const auto outcome = machine.invoke("MyActivities", {text("")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kInvalidUseOfNull);
}

TEST_F(AgendaTest, NumbersAndValuesCannotInjectMarkup) {
    machine.writeInstallFile(
        "ZudivevEzored.xml",
        "<zudivevezored><ccsocservcordr>" + order("&lt;b&gt;", "15") +
            "</ccsocservcordr><ccsocservcactv><ServiceOrder ID=\"&lt;b&gt;\">" +
            activity("&amp;1", "15", "&lt;i&gt;") +
            "</ServiceOrder></ccsocservcactv></zudivevezored>");
    const std::string html = machine.callText("MyActivities", {text("")});
    EXPECT_THAT(html, Not(HasSubstr("<b>")));
    EXPECT_THAT(html, Not(HasSubstr("<i>")));
    EXPECT_THAT(
        html, HasSubstr("<span id=&lt;b&gt; class=links "
                        "onclick=javascript:showdetails(\"2\",\"&lt;b&gt;\",\"&amp;1\",\"\",\"2\")>"
                        "&amp;1</span>"));
    EXPECT_THAT(html, HasSubstr("<td align=center>&nbsp;&lt;i&gt;</td>"));
}

}  // namespace
