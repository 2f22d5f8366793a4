#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/component/support/component_fixture.h"

namespace {

using ::testing::HasSubstr;

using testing_support::ComponentMachine;
using testing_support::text;

std::string definition(const std::string& name, const std::string& label, const std::string& type,
                       const std::string& isNew, const std::string& zoom = "False",
                       const std::string& values = "") {
    return "<" + name + " LABEL=\"" + label + "\" DATATYPE=\"" + type +
           "\" MODIFIABLE=\"True\" UINTERFACE=\"3\" "
           "ZOOM=\"" +
           zoom + "\" HYPERLINK=\"False\" NEW=\"" + isNew + "\">" + values + "</" + name + ">";
}

const std::string kFieldMapper =
    "<FieldMapper><I18N>"
    "<TEXT ID=\"SLBEU0000\" DESCRIPTION=\"Order\"/><TEXT ID=\"SLBEU0041\" "
    "DESCRIPTION=\"Activity\"/>"
    "<TEXT ID=\"SLBEU0006\" DESCRIPTION=\"Activity Description\"/><TEXT ID=\"SLBEU0042\" "
    "DESCRIPTION=\"Line\"/>"
    "<TEXT ID=\"SLBEU0285\" DESCRIPTION=\"New\"/><TEXT ID=\"SLBEU0284\" DESCRIPTION=\"Save\"/>"
    "<TEXT ID=\"SLBEU0286\" DESCRIPTION=\"New Order\"/><TEXT ID=\"SLBEU0287\" DESCRIPTION=\"New "
    "Activity\"/>"
    "<TEXT ID=\"SLBEU0270\" DESCRIPTION=\"New Material\"/><TEXT ID=\"SLBEU0261\" DESCRIPTION=\"No "
    "fields.\"/>"
    "</I18N><ccsocservcordr>" +
    definition("OrderStatus", "Status", "e", "True", "False",
               "<VALUE Id=\"15\" Value=\"Open\"/><VALUE Id=\"20\" Value=\"Done\"/>") +
    definition("Description", "Description", "s", "True", "True") +
    definition("Remarks", "Remarks", "t", "False") + "</ccsocservcordr><ccsocservcactv>" +
    definition("ServiceOrder", "Order", "s", "False") +
    definition("Configuration", "Configuration", "s", "True") +
    definition("ObjectNumber", "Object Sequence", "s", "True") +
    definition("PlannedStartTime", "Planned Start", "u", "True") +
    "</ccsocservcactv><ccsocservcmatl>" + definition("ServiceOrder", "Order", "s", "False") +
    definition("Activity", "Activity", "s", "False") +
    definition("LineNumber", "Line", "s", "False") +
    definition("ServiceItem", "Item", "s", "True") + definition("Notes", "Notes", "t", "True") +
    "</ccsocservcmatl></FieldMapper>";

const std::string kStore =
    "<zudivevezored><ccsocservcordr>"
    "<record ServiceOrder=\"1001\" "
    "State=\"O\"><OrderStatus>15</OrderStatus><Configuration>CFG&amp;1"
    "</Configuration></record><record ServiceOrder=\"1002\" "
    "State=\"O\"><OrderStatus>15</OrderStatus></record>"
    "</ccsocservcordr><ccsocservcactv><ServiceOrder ID=\"1001\" State=\"O\"><a Activity=\"10\" "
    "State=\"O\">"
    "<ActivityStatus>15</ActivityStatus><ActivityDescription>Check pump</ActivityDescription></a>"
    "</ServiceOrder></ccsocservcactv><ccsocservcmatl/><ccsocservclabr/><ccsocservcothr/"
    "><ccsocservchra/>"
    "</zudivevezored>";

std::string titleBar(const std::string& title) {
    return "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
           "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>" +
           title +
           "</strong></td><td valign=bottom align=right>"
           "<input type=submit  onclick=javascript:winclose(\"divDetails\") value=\" x \">"
           "</td></tr></table></td></tr>";
}

const std::string kOpen = "<table width=100% border=0 cellspacing=0 cellpadding=0 class=details>";

class EntryFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
        machine.writeInstallFile("ZudivevEzored.xml", kStore);
    }
    std::string form(const std::string& method, const std::string& kind, const std::string& order,
                     const std::string& activity) {
        return machine.callText(method, {text(kind), text(order), text(activity)});
    }
    ComponentMachine machine;
};

TEST_F(EntryFormsTest, OrderFormRendersEveryDefinitionAndTakesAnOrderNumber) {
    EXPECT_EQ(
        form("CreateForm", "1", "", ""),
        kOpen + titleBar("New Order") +
            "<tr><td width=100%><form name=order><table width=100% border=0 class=details>"
            "<tr><td>&nbsp;Order</td><td>&nbsp;_1</td></tr>"
            "<tr><td nowrap>&nbsp;Status</td><td>&nbsp;<SELECT disabled=true name=OrderStatus "
            "id=OrderStatus><OPTION value=15 selected>Open</SELECT></td></td></tr>"
            "<tr><td nowrap>&nbsp;Description</td><td>&nbsp;<input type=text size=20 "
            "id=Description "
            "value=\"\"><span class=links onclick=javascript:zoom(\"Description\",\"order\")>"
            "<small><strong>...</strong></small></span></td></tr>"
            "<tr style=\"display:none\"> <td nowrap>&nbsp;Remarks</td> <td>&nbsp;<input type=text "
            "size=10 "
            "id=Remarks value=\"\"></td></tr>"
            "<tr><td colspan=2><hr></td></tr></table></form></td></tr>"
            "<tr><td align=right><table><tr><td>"
            "<td align=right><input type=button value=New "
            "onclick=javascript:newObject(\"1\",\"\",\"\")></td>"
            "<td align=right><input id=_1 type=button value=Save "
            "onclick=javascript:saveObject(\"order\","
            "\"_1\",\"\",\"\",\"1\")></td>"
            "</td></tr></table></td></tr></table>");
    // Every form takes a number, saved or not.
    EXPECT_THAT(form("CreateForm", "1", "", ""), HasSubstr("<td>&nbsp;_2</td>"));
}

TEST_F(EntryFormsTest, MaterialFormShowsTheActivityAndTakesALineNumber) {
    const std::string html = form("CreateForm", "3", "1001", "10");
    EXPECT_THAT(
        html,
        HasSubstr(
            "<tr><td>&nbsp;Order</td><td>&nbsp;1001</td></tr>"
            "<tr><td>&nbsp;Activity</td><td>&nbsp;10</td></tr>"
            "<tr><td>&nbsp;Activity Description</td><td>&nbsp;Check pump</td></tr>"
            "<tr><td>&nbsp;Line</td><td>&nbsp;_1</td></tr>"
            "<tr><td nowrap>&nbsp;Item</td><td>&nbsp;<input type=text size=30 id=ServiceItem "
            "value=\"\"></td></tr>"
            "<tr><td nowrap>&nbsp;Notes</td><td>&nbsp;<textarea rows=4 cols=30 id=Notes></textarea>"
            "</td></tr><tr><td colspan=2><hr></td></tr>"));
    EXPECT_THAT(
        html,
        HasSubstr(
            "newObject(\"3\",\"1001\",\"10\")></td><td align=right><input id=1001 type=button "
            "value=Save "
            "onclick=javascript:saveObject(\"material\",\"1001\",\"10\",\"_1\",\"1\")>"));
    EXPECT_EQ(machine.callText("GetVariable", {text("LineId")}), "2");
}

TEST_F(EntryFormsTest, NewActivityTakesItsOrdersConfigurationAndListsEveryDefinition) {
    EXPECT_EQ(
        form("NewObject", "2", "1001", ""),
        kOpen + titleBar("New Activity") +
            "<tr><td width=100%><form name=activity><table width=100% border=0 class=details>"
            "<tr><td>&nbsp;Order</td><td><SELECT name=ServiceOrder><OPTION value=1001>1001"
            "<OPTION value=1002>1002</SELECT></td></tr>"
            "<tr><td>&nbsp;Activity</td><td>&nbsp;_1</td></tr>"
            "<tr style=\"display:none\"> <td nowrap>&nbsp;Order</td> <td>&nbsp;<input type=text "
            "size=10 "
            "id=ServiceOrder value=\"\"></td></tr>"
            "<tr> <td nowrap>&nbsp;Configuration</td> <td>&nbsp;<input disabled=true type=text "
            "size=10 "
            "id=Configuration value=\"CFG&amp;1\"></td></tr>"
            "<tr> <td nowrap>&nbsp;Object Sequence</td> <td>&nbsp;<input disabled=true type=text "
            "size=10 "
            "id=ObjectNumber value=\"\"></td></tr>"
            "<tr><td nowrap>&nbsp;Planned Start</td><td>&nbsp;<input type=text size=10 "
            "id=PlannedStartTime "
            "value=\"\"><small><i>mm/dd/yyyy</i></small><input type=text size=4 "
            "id=PlannedStartTime "
            "value=\"\"><small><i>hhmm</i></small></td></tr>"
            "<tr><td colspan=2><hr></td></tr></table></form></td></tr>"
            "<tr><td align=right><input  type=button value=Save onclick=javascript:CreateActivity("
            "\"activity\",\"_1\")></td></tr></table>");
}

TEST_F(EntryFormsTest, NewObjectForAnotherKindIsTheButtonRowAlone) {
    EXPECT_EQ(
        form("NewObject", "3", "1001", "10"),
        kOpen +
            "<tr><td align=right><input  type=button value=Save onclick=javascript:CreateActivity("
            "\"\",\"10\")></td></tr></table>");
}

TEST_F(EntryFormsTest, UnknownKindGivesTheSaveButtonAlone) {
    EXPECT_EQ(
        form("CreateForm", "9", "1", "2"),
        kOpen +
            "<tr><td align=right><table><tr><td><td align=right><input id=1 type=button value=Save "
            "onclick=javascript:saveObject(\"\",\"1\",\"2\",\"\",\"1\")></td></td></tr></table></"
            "td></tr>"
            "</table>");
}

TEST_F(EntryFormsTest, MissingFieldDefinitionsGiveNoFormAndTakeNoNumber) {
    std::filesystem::remove(machine.installPath("FieldMapper.xml"));
    EXPECT_EQ(form("CreateForm", "1", "", ""), "");
    EXPECT_EQ(form("NewObject", "2", "1001", ""), "");
    EXPECT_NE(machine.callText("Get_Error"), "1");
    EXPECT_EQ(machine.callText("GetVariable", {text("OrderId")}), "1");
}

TEST_F(EntryFormsTest, OrderDropDownNeedsTheStore) {
    std::filesystem::remove(machine.installPath("ZudivevEzored.xml"));
    EXPECT_EQ(form("NewObject", "2", "1001", ""), "");
    EXPECT_EQ(machine.callText("Get_Error"), "");  // SLBEU0260 is not among this test's labels
}

}  // namespace
