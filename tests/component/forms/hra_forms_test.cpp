#include <gtest/gtest.h>


#include "component/core/variant.h"
#include "tests/component/support/component_fixture.h"

namespace {

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
        return machine.callText("GetDetailsForHRA", {text("4"), text(""), text(""), text(line), text(""),
                                                     Variant::int16(error)});
    }
    static bool has(const std::string& html, const std::string& part) { return html.find(part) != std::string::npos; }
    ComponentMachine machine;
};

const std::string kSave = "<input id=save type=button value=";

TEST_F(HraFormsTest, DownloadedRegistrationIsEditableUnlessUploaded) {
    const std::string html = details("7");
    EXPECT_TRUE(has(html, "<tr><td>&nbsp;" + labelText("SLBSE9170") + "</td><td>&nbsp;</td></tr>"
                          "<tr><td>&nbsp;" + labelText("SLBSE9172") + "</td><td>&nbsp;</td></tr>"
                          "<tr><td>&nbsp;" + labelText("SLBEU0042") + "</td><td>&nbsp;7</td></tr>"));
    EXPECT_TRUE(has(html, "<tr><td align=right><a href=javascript:newobject(\"4\",\"\",\"\")>" +
                              labelText("SLBSE9163") + "</a></td></tr><tr><td width=100%><form name=hra>"));
    // Modifiable fields become controls; the line number field (position 2) is not shown.
    EXPECT_TRUE(has(html, "id=HourlyLaborType value=\"REG\""));
    EXPECT_TRUE(has(html, kSave + labelText("SLBEU0284") +
                              " onclick=javascript:saveObject(\"hra\",\"\",\"\",\"7\",\"2\")></td>"));
    EXPECT_FALSE(has(html, "deleteObject"));
    EXPECT_TRUE(html.ends_with("</tr></table></td></tr></table></td></tr></table>"));

    const std::string uploaded = details("8", 1);
    EXPECT_FALSE(has(uploaded, kSave));
    EXPECT_FALSE(has(uploaded, "newobject"));
}

TEST_F(HraFormsTest, LocalRegistrationUsesTheLaborRowsAndMayBeDeleted) {
    const std::string html = details("_3");
    EXPECT_TRUE(has(html, "<td align=right><input id=_3 type=button value=" + labelText("SLBEU0282") +
                              " onclick=javascript:deleteObject(\"hra\",\"\",\"\",\"_3\")></td>"));
    EXPECT_TRUE(has(html, kSave));
    EXPECT_FALSE(has(details("_4"), kSave));
    EXPECT_TRUE(has(details("_4", 1), kSave));
}

TEST_F(HraFormsTest, EntryFormSkipsTheThirdDefinitionAndTakesALineNumber) {
    const std::string html = machine.callText("CreateFormforHra", {text("a"), text("b"), text("c")});
    EXPECT_TRUE(has(html, "<tr><td width=100%><form name=hra><table width=100% border=0 class=details>"
                          "<tr><td>&nbsp;" + labelText("SLBEU0042") + "</td><td>&nbsp;_1</td></tr>"));
    EXPECT_FALSE(has(html, "id=LineNumber"));
    EXPECT_TRUE(has(html, "id=HourlyLaborType"));
    EXPECT_TRUE(html.ends_with("<tr><td align=right><table><tr><td><td align=right><input id=_1 type=button value=" +
                               labelText("SLBEU0284") +
                               " onclick=javascript:saveObject(\"hra\",\"\",\"\",\"_1\",\"1\")></td>"
                               "</td></tr></table></td></tr></table>"));
    EXPECT_TRUE(has(machine.callText("CreateFormforHra", {text(""), text(""), text("")}), "&nbsp;_2</td>"));
}

TEST_F(HraFormsTest, LineMissingFromItsGroupFailsTheCall) {
    EXPECT_FALSE(machine.invoke("GetDetailsForHRA", {text("4"), text(""), text(""), text("99"), text(""),
                                                     Variant::int16(0)})
                     .succeeded);
}

}  // namespace
