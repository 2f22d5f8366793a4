#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using ::testing::HasSubstr;

using quillmere::Variant;
using testing_support::ComponentMachine;
using testing_support::line;
using testing_support::lineGroup;
using testing_support::text;

std::string definition(const std::string& name, const std::string& label, const std::string& place,
                       const std::string& type = "s") {
    return "<" + name + " LABEL=\"" + label + "\" DATATYPE=\"" + type +
           "\" MODIFIABLE=\"True\" UINTERFACE=\"" + place +
           "\" ZOOM=\"False\" HYPERLINK=\"False\" NEW=\"True\"/>";
}

const std::string kFieldMapper =
    "<FieldMapper><I18N>"
    "<TEXT ID=\"SLBEU0298\" DESCRIPTION=\"Labor Cost Lines\"/><TEXT ID=\"SLBEU0301\" "
    "DESCRIPTION=\"There are no \"/>"
    "<TEXT ID=\"SLBEU0300\" DESCRIPTION=\"Bad mode.\"/><TEXT ID=\"SLBEU0332\" "
    "DESCRIPTION=\"Registrations\"/>"
    "</I18N><ccsocservclabr>" +
    definition("ServiceOrder", "Order", "1") + definition("Activity", "Activity", "3") +
    definition("Task", "Task", "3") + definition("Remarks", "Remarks", "2") +
    definition("Hours", "Hours", "1") + "</ccsocservclabr></FieldMapper>";

// Nine fields: positions 0 and 1 get no cell, 8 is the registration date.
std::string registration(const std::string& number, const std::string& state,
                         const std::string& date) {
    return line(number, state,
                "<ServiceOrder/><Activity/><Task>T1</Task><Remarks>r</Remarks><Hours>2</Hours>"
                "<F5/><F6/><F7/><StartDate>" +
                    date + "</StartDate>");
}

std::string store(const std::string& laborGroups) {
    return testing_support::store({.labor = laborGroups});
}

const std::string kHead =
    "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>"
    "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
    "<tr class=titles><td nowrap  valign=bottom width=100%> "
    "&nbsp;<strong>Registrations</strong></td>"
    "<td valign=bottom align=right><input type=submit  onclick=javascript:winclose(\"divList\") "
    "value=\" x \">"
    "</td></tr></table></td></tr>"
    "<tr><td width=100%><div style=\"height:125; overflow:auto;\"><table border=0 cellspacing=1 "
    "cellpadding=0 "
    "width=100%><COL WIDTH=120> <COL WIDTH=150><COL WIDTH=150><COL WIDTH=150><tr>"
    "<td class=tableheader align=center nowrap>Task</td>"
    "<td class=tableheader align=center nowrap>Registration Date</td>"
    "<td class=tableheader align=center nowrap>Hours</td></tr><tr>&nbsp;&nbsp;&nbsp;&nbsp;</tr>";

std::string row(const std::string& number, const std::string& shownDate) {
    return "<tr class=tablerows><td align=center>&nbsp;<span id=" + number +
           " class=links onclick=javascript:showdetailsforhra(\"4\",\"\",\"\",\"" + number +
           "\",\"2\")>" + number + "</span></td><td align=center>" + shownDate +
           "</td><td align=center>&nbsp;T1</td><td align=center>&nbsp;2</td></tr>";
}

class HraListsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
        machine.writeInstallFile(
            "ZudivevEzored.xml",
            store(
                lineGroup("", "", "O",
                          registration("_1", "N", "20260131T0930") + registration("7", "MU", "")) +
                lineGroup("1001", "10", "O", registration("8", "O", "20260101T0800"))));
    }
    ComponentMachine machine;
};

TEST_F(HraListsTest, ListsOnlyLinesWithoutOrderAndActivityByState) {
    const std::string tail = "</table></td></tr></table>";
    EXPECT_EQ(machine.callText("ListHRALines", {text("x"), text("y"), text("z")}),
              kHead + row("_1", "01/31/2026 0930") + row("7", "// ") + tail);
    EXPECT_EQ(machine.callText("ViewHra_W"), kHead + row("_1", "01/31/2026 0930") + tail);
    EXPECT_EQ(machine.callText("ViewHra_SI"), kHead + row("7", "// ") + tail);
}

TEST_F(HraListsTest, NothingToListNamesTheLaborType) {
    machine.writeInstallFile("ZudivevEzored.xml", store(""));
    EXPECT_EQ(machine.callText("ViewHra_W"), "");
    EXPECT_EQ(machine.callText("Get_Error"), "There are no Labor Cost Lines");
    EXPECT_THAT(machine.log(), HasSubstr("For User Action: List Cost Lines  ----------\r\n"
                                         "Error =   There are no Labor Cost Lines\r\n"));
}

TEST_F(HraListsTest, ALineWithoutItsDateFieldFailsTheList) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             store(lineGroup("", "", "O", line("1", "O", "<a/>"))));
    EXPECT_FALSE(machine.invoke("ListHRALines", {text(""), text(""), text("")}).succeeded);
}

TEST_F(HraListsTest, ColumnHeadingsPlaceTheDateAfterTheFirstHeadingOnly) {
    machine.call("ListHRALines", {text(""), text(""), text("")});  // loads the field definitions
    std::vector<Variant> args = {Variant::int16(0), text("ccsocservclabr")};
    auto outcome = machine.client().invoke("getColumnHeadingsForHRA", args);
    ASSERT_TRUE(outcome.succeeded);
    EXPECT_EQ(args[0].asInt16(), 2);
    EXPECT_THAT(outcome.result.asText(),
                HasSubstr("Task</td><td class=tableheader align=center nowrap>Registration Date"));

    args = {Variant::int16(5), text("ccsocservclabr")};
    outcome = machine.client().invoke("getColumnHeadingsForHRA", args);
    EXPECT_EQ(outcome.result.asText(),
              "<COL WIDTH=120> <COL WIDTH=150><COL WIDTH=150><COL WIDTH=150><tr>"
              "<td class=tableheader align=center nowrap>Task</td>"
              "<td class=tableheader align=center nowrap>Hours</td></tr>");
    EXPECT_EQ(args[0].asInt16(), 7);

    args = {Variant::int16(32767), text("ccsocservclabr")};
    EXPECT_EQ(machine.client().invoke("getColumnHeadingsForHRA", args).code,
              platform::failure::kOverflow);
    args = {Variant::int16(0), text("nosuchkind")};
    EXPECT_FALSE(machine.client().invoke("getColumnHeadingsForHRA", args).succeeded);
}

TEST_F(HraListsTest, InvalidModeStopsTheList) {
    machine.call("Set_Mode", {text("")});
    EXPECT_EQ(machine.callText("ViewHra_SI"), "");
    EXPECT_EQ(machine.callText("Get_Error"), "Bad mode.");
}

}  // namespace
