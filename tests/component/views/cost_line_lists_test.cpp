#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using ::testing::HasSubstr;

using testing_support::ComponentMachine;
using testing_support::text;

const std::string kFieldMapper =
    "<FieldMapper><I18N>"
    "<TEXT ID=\"SLBEU0297\" DESCRIPTION=\"Material Cost Lines\"/><TEXT ID=\"SLBEU0298\" "
    "DESCRIPTION=\"Labor Cost Lines\"/>"
    "<TEXT ID=\"SLBEU0299\" DESCRIPTION=\"Other Cost Lines\"/><TEXT ID=\"SLBEU0300\" "
    "DESCRIPTION=\"Bad mode.\"/>"
    "<TEXT ID=\"SLBEU0301\" DESCRIPTION=\"There are no \"/><TEXT ID=\"SLBEU0314\" "
    "DESCRIPTION=\"Add Line\"/>"
    "<TEXT ID=\"SLBEU0315\" DESCRIPTION=\"No lines.\"/><TEXT ID=\"SLBEU0316\" DESCRIPTION=\"Cost "
    "Lines\"/>"
    "<TEXT ID=\"SLBEU0000\" DESCRIPTION=\"Order\"/><TEXT ID=\"SLBEU0279\" "
    "DESCRIPTION=\"Activity\"/>"
    "<TEXT ID=\"SLBEU0093\" DESCRIPTION=\"Cost Type\"/><TEXT ID=\"SLBEU0317\" "
    "DESCRIPTION=\"Choose\"/>"
    "<TEXT ID=\"SLBEU0318\" DESCRIPTION=\"Material\"/><TEXT ID=\"SLBEU0319\" "
    "DESCRIPTION=\"Labor\"/>"
    "<TEXT ID=\"SLBEU0320\" DESCRIPTION=\"Other\"/><TEXT ID=\"SLBEU0260\" DESCRIPTION=\"No "
    "store.\"/>"
    "</I18N><ccsocservcmatl>"
    "<LineNumber LABEL=\"Line\" DATATYPE=\"s\" MODIFIABLE=\"False\" UINTERFACE=\"1\" "
    "ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"False\"/>"
    "<ServiceItem LABEL=\"Item\" DATATYPE=\"s\" MODIFIABLE=\"True\" UINTERFACE=\"3\" "
    "ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"/>"
    "<Unit LABEL=\"Unit\" DATATYPE=\"s\" MODIFIABLE=\"True\" UINTERFACE=\"3\" ZOOM=\"True\" "
    "HYPERLINK=\"True\" NEW=\"True\"/>"
    "</ccsocservcmatl><ccsocservclabr/><ccsocservcothr/></FieldMapper>";

std::string line(const std::string& number, const std::string& state, const std::string& item) {
    return testing_support::line(number, state,
                                 "<LineNumber>" + number + "</LineNumber><ServiceItem>" + item +
                                     "</ServiceItem><Unit>pc</Unit>");
}

std::string group(const std::string& order, const std::string& activity, const std::string& state,
                  const std::string& lines) {
    return testing_support::lineGroup(order, activity, state, lines);
}

std::string store(const std::string& materialGroups) {
    return testing_support::store({.material = materialGroups});
}

std::string titleBar(const std::string& title, const std::string& panel) {
    return "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
           "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>" +
           title +
           "</strong></td><td valign=bottom align=right>"
           "<input type=submit  onclick=javascript:winclose(\"" +
           panel +
           "\") value=\" x \">"
           "</td></tr></table></td></tr>";
}

const std::string kHeadings =
    "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>"
    "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>"
    "<tr><td class=tableheader nowrap>Line</td><td class=tableheader nowrap>Item</td>"
    "<td class=tableheader nowrap>Unit</td></tr>";

std::string groupRows(const std::string& order, const std::string& activity) {
    return "<tr class=orderrow><td colspan=3>&nbsp;<span id=" + order +
           " class=links onclick=javascript:showdetails(\"1\",\"" + order + "\",\"\",\"\",\"2\")>" +
           order +
           "</span></td></tr>"
           "<tr class=orderrow><td>&nbsp;</td><td colspan=2>&nbsp;<span id=" +
           order + " class=links onclick=javascript:showdetails(\"2\",\"" + order + "\",\"" +
           activity + "\",\"\",\"2\")>" + activity + "</span></td></tr>";
}

// The line's first field (LineNumber) gets no cell although it has a heading.
std::string lineRow(const std::string& order, const std::string& activity,
                    const std::string& number, const std::string& item) {
    return "<tr class=tablerows><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;<span id=" + order +
           " class=links onclick=javascript:showdetails(\"3\",\"" + order + "\",\"" + activity +
           "\",\"" + number + "\",\"2\")>" + number + "</span></td><td align=center>&nbsp;" + item +
           "</td><td align=center>&nbsp;<a "
           "href=javascript:hyperlink(\"Unit\",\"pc\",\"material\")>pc</a></td></tr>";
}

std::string listHead(const std::string& panel) {
    return "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>" +
           titleBar("Material Cost Lines", panel) +
           "<tr><td width=100%><div style=\"height:125; overflow:auto;\">"
           "<table border=0 cellspacing=1 cellpadding=0 width=100%>" +
           kHeadings;
}
const std::string kListTail = "</table></td></tr></table>";

class CostLineListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
        machine.writeInstallFile(
            "ZudivevEzored.xml",
            store(group("1001", "10", "O", line("1", "O", "Pump") + line("2", "MU", "Seal")) +
                  group("1001", "20", "M", line("3", "MU", "Valve")) +
                  group("1002", "10", "NU", line("4", "NU", "Belt") + line("5", "N", "Fan")) +
                  group("1001", "10", "O", "")));
    }
    std::string call(const std::string& method, std::vector<quillmere::Variant> args) {
        return machine.callText(method, std::move(args));
    }
    ComponentMachine machine;
};

TEST_F(CostLineListsTest, HeaderPanelOffersTheCostTypes) {
    EXPECT_EQ(
        call("CostLinesHeader", {text("1001"), text("10")}),
        "<table width=100% border=0 cellspacing=0 cellpadding=0>"
        "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
        "<tr class=titles><td nowrap valign=bottom width=100%>&nbsp;<strong>Cost "
        "Lines</strong></td>"
        "<td valign=bottom align=right>"
        "<input type=submit  onclick=javascript:minimize(\"divCostHeader\") value=\" _ \">"
        "<input type=submit  onclick=javascript:winclose(\"divCostHeader\") value=\" x \">"
        "</td></tr></table></td></tr>"
        "<tr><td width=100%><table border=0 class=tablerows cellspacing=1 cellpadding=0 width=100%>"
        "<tr><td nowrap>Order</td><td>&nbsp;&nbsp;1001</td></tr>"
        "<tr><td>Activity</td><td>&nbsp;&nbsp;10</td></tr>"
        "<tr><td>Cost Type</td><td>&nbsp;&nbsp;<SELECT name=costtype onchange=javascript:showlines("
        "costtype.options[costtype.selectedIndex].value,\"1001\",\"10\")>"
        "<option value=0 selected>Choose<option value=1>Material<option value=2> Labor"
        "<option value=3>Other</SELECT></td></tr></table></td></tr></table>");
}

TEST_F(CostLineListsTest, BuildCostLinesShowsEveryLineOfTheFirstMatchingGroup) {
    EXPECT_EQ(call("BuildCostLines", {text("1"), text("1001"), text("10")}),
              "<table width=100% border=0 cellspacing=0 cellpadding=0>" +
                  titleBar("Material Cost Lines", "divCostLines") +
                  "<tr><td width=100%><table border=0 cellspacing=1 cellpadding=0 Width = 100%>" +
                  kHeadings + groupRows("1001", "10") + lineRow("1001", "10", "1", "Pump") +
                  lineRow("1001", "10", "2", "Seal") + "</table>");
}

TEST_F(CostLineListsTest, BuildCostLinesWithoutLinesDependsOnTheMode) {
    const std::string online =
        "<table border=0 cellspacing=1 cellpadding=0 width=100%><tr class=tablerows><td "
        "colspan=0>No lines.</td>"
        "</tr></table>";
    EXPECT_EQ(call("BuildCostLines", {text("1"), text("1001"), text("99")}), online);
    machine.call("Set_Mode", {text("offline")});
    EXPECT_EQ(call("BuildCostLines", {text("1"), text("1001"), text("99")}), online);

    machine.call("Set_Mode", {text("Offline")});
    EXPECT_EQ(call("BuildCostLines", {text("1"), text("1001"), text("99")}),
              "<table border=0 cellspacing=1 cellpadding=0 width=100%><tr class=tablerows>"
              "<td colspan=0>There are no cost lines found. <input type=button value=\"Add Line\""
              " onclick=javascript:newObject(\"3\",\"1001\",\"99\")></td></tr></table>");
    // No container at all (here: a type that selects none): the label replaces the sentence.
    EXPECT_EQ(call("BuildCostLines", {text("7"), text("1001"), text("10")}),
              "<table border=0 cellspacing=1 cellpadding=0 width=100%><tr class=tablerows>"
              "<td colspan=0>No lines.<input type=button value=\"Add Line\""
              " onclick=javascript:newObject(\"\",\"1001\",\"10\")></td></tr></table>");
}

TEST_F(CostLineListsTest, ListCostLinesTakesEveryGroupOfTheActivityEvenWithoutLines) {
    EXPECT_EQ(call("ListCostLines", {text("Material"), text("1001"), text("10")}),
              listHead("divCosts") + groupRows("1001", "10") + lineRow("1001", "10", "1", "Pump") +
                  lineRow("1001", "10", "2", "Seal") + groupRows("1001", "10") + kListTail);
}

TEST_F(CostLineListsTest, ViewsFilterByState) {
    EXPECT_EQ(call("ViewCostLines_W", {text("Material")}),
              listHead("divList") + groupRows("1001", "10") + lineRow("1001", "10", "1", "Pump") +
                  groupRows("1002", "10") + lineRow("1002", "10", "5", "Fan") + kListTail);
    // The group in state "M" is skipped although its line is uploaded.
    EXPECT_EQ(call("ViewCostLines_SI", {text("Material")}),
              listHead("divList") + groupRows("1001", "10") + lineRow("1001", "10", "2", "Seal") +
                  groupRows("1002", "10") + lineRow("1002", "10", "4", "Belt") + kListTail);
}

TEST_F(CostLineListsTest, NothingFoundNamesTheType) {
    EXPECT_EQ(call("ListCostLines", {text("Material"), text("9"), text("9")}), "");
    EXPECT_EQ(machine.callText("Get_Error"), "There are no Material Cost Lines");
    EXPECT_THAT(machine.log(), HasSubstr("For User Action: List Cost Lines  ----------\r\n"
                                         "Error =   There are no Material Cost Lines\r\n"));
}

TEST_F(CostLineListsTest, InvalidModeIsReportedWithTheMode) {
    machine.call("Set_Mode", {text("offline")});
    EXPECT_EQ(call("ViewCostLines_W", {text("Material")}), "");
    EXPECT_EQ(machine.callText("Get_Error"), "Bad mode.");
    EXPECT_THAT(machine.log(),
                HasSubstr("For User Action: List Cost Lines  ----------\r\nError =   Bad mode.\r\n"
                          " Mode =   offline\r\n"));
}

TEST_F(CostLineListsTest, UnknownCostTypeFailsTheLists) {
    const auto outcome =
        machine.invoke("ListCostLines", {text("material"), text("1001"), text("10")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kObjectNotSet);
}

}  // namespace
