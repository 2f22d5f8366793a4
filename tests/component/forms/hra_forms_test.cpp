#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/core/variant.h"
#include "tests/component/support/component_fixture.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using quillmere::Variant;
using testing_support::ComponentMachine;
using testing_support::labelText;
using testing_support::text;

// A downloaded registration and two local ones, in the group without order and activity.
const std::string kStore =
    "<zudivevezored><ccsocservcordr/><ccsocservcactv/><ccsocservcmatl/><ccsocservclabr>"
    "<ServiceOrder ID=\"\" Activity=\"\" State=\"O\">"
    "<l LineNumber=\"7\" State=\"O\"><ServiceOrder/><Activity/><LineNumber>7</LineNumber>"
    "<HourlyLaborType>REG</HourlyLaborType><TaskDescription>Work</TaskDescription></l>"
    "<l LineNumber=\"8\" State=\"MU\"><ServiceOrder/><Activity/><LineNumber>8</LineNumber>"
    "<HourlyLaborType>REG</HourlyLaborType></l>"
    "<l LineNumber=\"_3\" State=\"N\"><ServiceOrder/><Activity/><LineNumber>_3</LineNumber>"
    "<HourlyLaborType>OT</HourlyLaborType></l>"
    "<l LineNumber=\"_4\" State=\"MU\"><ServiceOrder/><Activity/><LineNumber>_4</LineNumber>"
    "<HourlyLaborType>OT</HourlyLaborType></l>"
    "</ServiceOrder></ccsocservclabr><ccsocservcothr/><ccsocservchra/></zudivevezored>";

class HraFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.initializeWithFieldMapper();
        machine.writeInstallFile("ZudivevEzored.xml", kStore);
    }
    std::string details(const std::string& line, int16_t error = 0) {
        return machine.callText("GetDetailsForHRA", {text("4"), text(""), text(""), text(line),
                                                     text(""), Variant::int16(error)});
    }
    ComponentMachine machine;
};

const std::string kSave = "<input id=save type=button value=";

TEST_F(HraFormsTest, DownloadedRegistrationIsEditableUnlessUploaded) {
    const std::string html = details("7");
    EXPECT_THAT(html, HasSubstr("<tr><td>&nbsp;" + labelText("SLBSE9170") +
                                "</td><td>&nbsp;</td></tr>"
                                "<tr><td>&nbsp;" +
                                labelText("SLBSE9172") +
                                "</td><td>&nbsp;</td></tr>"
                                "<tr><td>&nbsp;" +
                                labelText("SLBEU0042") + "</td><td>&nbsp;7</td></tr>"));
    EXPECT_THAT(
        html,
        HasSubstr("<tr><td align=right><a href=javascript:newobject(\"4\",\"\",\"\")>" +
                  labelText("SLBSE9163") + "</a></td></tr><tr><td width=100%><form name=hra>"));
    // Modifiable fields become controls; the line number field (position 2) is not shown.
    EXPECT_THAT(html, HasSubstr("id=HourlyLaborType value=\"REG\""));
    EXPECT_THAT(html,
                HasSubstr(kSave + labelText("SLBEU0284") +
                          " onclick=javascript:saveObject(\"hra\",\"\",\"\",\"7\",\"2\")></td>"));
    EXPECT_THAT(html, Not(HasSubstr("deleteObject")));
    EXPECT_TRUE(html.ends_with("</tr></table></td></tr></table></td></tr></table>"));

    const std::string uploaded = details("8", 1);
    EXPECT_THAT(uploaded, Not(HasSubstr(kSave)));
    EXPECT_THAT(uploaded, Not(HasSubstr("newobject")));
}

TEST_F(HraFormsTest, LocalRegistrationUsesTheLaborRowsAndMayBeDeleted) {
    const std::string html = details("_3");
    EXPECT_THAT(
        html, HasSubstr("<td align=right><input id=_3 type=button value=" + labelText("SLBEU0282") +
                        " onclick=javascript:deleteObject(\"hra\",\"\",\"\",\"_3\")></td>"));
    EXPECT_THAT(html, HasSubstr(kSave));
    EXPECT_THAT(details("_4"), Not(HasSubstr(kSave)));
    EXPECT_THAT(details("_4", 1), HasSubstr(kSave));
}

TEST_F(HraFormsTest, EntryFormSkipsTheThirdDefinitionAndTakesALineNumber) {
    const std::string html =
        machine.callText("CreateFormforHra", {text("a"), text("b"), text("c")});
    EXPECT_THAT(
        html,
        HasSubstr("<tr><td width=100%><form name=hra><table width=100% border=0 class=details>"
                  "<tr><td>&nbsp;" +
                  labelText("SLBEU0042") + "</td><td>&nbsp;_1</td></tr>"));
    EXPECT_THAT(html, Not(HasSubstr("id=LineNumber")));
    EXPECT_THAT(html, HasSubstr("id=HourlyLaborType"));
    EXPECT_TRUE(html.ends_with(
        "<tr><td align=right><table><tr><td><td align=right><input id=_1 type=button value=" +
        labelText("SLBEU0284") +
        " onclick=javascript:saveObject(\"hra\",\"\",\"\",\"_1\",\"1\")></td>"
        "</td></tr></table></td></tr></table>"));
    EXPECT_THAT(machine.callText("CreateFormforHra", {text(""), text(""), text("")}),
                HasSubstr("&nbsp;_2</td>"));
}

TEST_F(HraFormsTest, LineMissingFromItsGroupFailsTheCall) {
    EXPECT_FALSE(machine
                     .invoke("GetDetailsForHRA", {text("4"), text(""), text(""), text("99"),
                                                  text(""), Variant::int16(0)})
                     .succeeded);
}

}  // namespace
