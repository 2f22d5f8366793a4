#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/component/support/component_fixture.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using testing_support::ComponentMachine;
using testing_support::labelText;
using testing_support::text;

const std::string kStore =
    "<zudivevezored><ccsocservcordr>"
    "<record ServiceOrder=\"1001\" State=\"O\"><OrderStatus>15</OrderStatus></record>"
    "<record ServiceOrder=\"1002\" State=\"O\"><OrderStatus>15</OrderStatus></record>"
    "</ccsocservcordr><ccsocservcactv>"
    "<ServiceOrder ID=\"1001\" State=\"O\"><a Activity=\"10\" "
    "State=\"O\"><S>15</S><D>Survey</D></a>"
    "<a Activity=\"20\" State=\"O\"><S>15</S><D/></a></ServiceOrder>"
    "<ServiceOrder ID=\"1002\" State=\"O\"><a Activity=\"30\" "
    "State=\"O\"><S>15</S><D>Other</D></a></ServiceOrder>"
    "</ccsocservcactv><ccsocservcmatl/><ccsocservclabr/><ccsocservcothr/><ccsocservchra/></"
    "zudivevezored>";

class MaterialFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.initializeWithFieldMapper();
        machine.writeInstallFile("ZudivevEzored.xml", kStore);
    }
    ComponentMachine machine;
};

TEST_F(MaterialFormTest, DropDownsListOrdersAndTheActivitiesOfOneOrder) {
    EXPECT_EQ(machine.callText("CreateOrderDropDown"),
              "<OPTION value=1001>1001</OPTION><OPTION value=1002>1002</OPTION>");
    EXPECT_EQ(machine.callText("CreateActivityDropDown", {text("")}),
              "<OPTION value=10>10 - Survey</OPTION><OPTION value=20>20 - </OPTION>");
    EXPECT_EQ(machine.callText("CreateActivityDropDown", {text("1002")}),
              "<OPTION value=30>30 - Other</OPTION>");
    EXPECT_EQ(machine.callText("CreateActivityDropDown", {text("9")}), "");
}

TEST_F(MaterialFormTest, FormUsesTheLineCounterForTheLineNumber) {
    const std::string html = machine.callText("CreateMaterialForm");
    EXPECT_TRUE(html.starts_with(
        "<table width=100% border=0 cellspacing=0 cellpadding=0 class=details>"
        "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
        "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>"
        "Create Material Cost</strong></td>"));
    EXPECT_THAT(
        html,
        HasSubstr("<tr><td>&nbsp;Service Order</td><td id=tdSelectActivity>&nbsp;&nbsp;"
                  "<select id=dropOrder onchange=getActivityDrop()><OPTION value=1001>1001</OPTION>"
                  "<OPTION value=1002>1002</OPTION></select></td></tr>"
                  "<tr><td>&nbsp;Service Activity</td><td>&nbsp;&nbsp;<select id=dropActivity>"
                  "<OPTION value=10>10 - Survey</OPTION><OPTION value=20>20 - "
                  "</OPTION></select></td></tr>"
                  "<tr><td>&nbsp;Material Line Id</td><td>&nbsp;&nbsp;_1</td></tr>"));
    EXPECT_THAT(html, Not(HasSubstr("id=LineNumber")));
    EXPECT_TRUE(html.ends_with(
        "<tr><td colspan=2><hr></td></tr><tr><td>&nbsp;<td><td align=right><input"
        " type=button value=" +
        labelText("SLBEU0284") +
        " onclick=javascript:saveObject(\"material\",\"\",\"\",\"_1\",\"1\")></td></tr>"
        "</table></form></td></tr></table>"));
    EXPECT_EQ(machine.callText("GetVariable", {text("ActivityId")}), "1");
    EXPECT_EQ(machine.callText("GetVariable", {text("LineId")}), "2");
}

// Both ways of starting a material line draw from one counter, so their numbers never repeat.
TEST_F(MaterialFormTest, MaterialFormAndCostLineFormNeverShareANumber) {
    EXPECT_THAT(machine.callText("CreateMaterialForm"), HasSubstr("&nbsp;&nbsp;_1</td>"));
    EXPECT_THAT(machine.callText("CreateForm", {text("3"), text("1001"), text("10")}),
                HasSubstr("_2"));
    EXPECT_THAT(machine.callText("CreateMaterialForm"), HasSubstr("&nbsp;&nbsp;_3</td>"));
}

TEST_F(MaterialFormTest, StoreThatDoesNotLoadEmptiesTheLists) {
    machine.writeInstallFile("ZudivevEzored.xml", "<zudivevezored>");
    EXPECT_EQ(machine.callText("CreateOrderDropDown"), "");
    EXPECT_EQ(machine.callText("Get_Error"), labelText("SLBEU0260"));
}

TEST_F(MaterialFormTest, NoActivityGroupAtAllFailsTheEmptyOrderList) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             "<zudivevezored><ccsocservcordr/><ccsocservcactv/></zudivevezored>");
    EXPECT_FALSE(machine.invoke("CreateActivityDropDown", {text("")}).succeeded);
}

}  // namespace
