#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"

namespace {

using testing_support::ComponentMachine;
using testing_support::labelText;

std::string entry(const std::string& status, const std::string& order, const std::string& activity,
                  const std::string& costType, const std::string& line,
                  const std::string& description) {
    return "<E ID=\"1\" Order=\"" + order + "\" Activity=\"" + activity + "\" CostLine=\"" + line +
           "\" CostType=\"" + costType + "\" Status=\"" + status + "\" Description=\"" +
           description + "\"/>";
}

class ErrorPoolViewsTest : public ::testing::Test {
  protected:
    void SetUp() override { machine.initializeWithFieldMapper(); }
    ComponentMachine machine;
};

const std::string kReport = "<Report><G File=\"a.xml\" Status=\"Error\">" +
                            entry("Error", "1001", "", "", "", "Order refused") +
                            entry("Completed", "1001", "10", "", "", "fine") +
                            entry("Error", "1001", "10", "", "", "Activity refused") +
                            "</G><G File=\"b.xml\" Status=\"Completed\">" +
                            entry("Error", "2002", "", "", "", "not shown") +
                            "</G><G File=\"c.xml\" Status=\"Error\">" +
                            entry("Error", "1001", "10", "Labor", "5", "Hours &lt;bad&gt;") +
                            entry("Error", "1001", "10", "Material", "6", "m") +
                            entry("Error", "1001", "10", "Other", "7", "o") + "</G></Report>";

TEST_F(ErrorPoolViewsTest, PoolLinkCountsRefusedEntriesOfRefusedGroups) {
    EXPECT_EQ(machine.callText("ShowErrorPool"), "");
    machine.writeInstallFile("UploadReport.xml", kReport);
    EXPECT_EQ(machine.callText("ShowErrorPool"),
              "<a class=cssOption href=javascript:ShowErrors()>*&nbsp" + labelText("SLBEU0290") +
                  "(5)</a>");
    machine.writeInstallFile("UploadReport.xml", "<Report><G Status=\"Completed\">" +
                                                     entry("Error", "1", "", "", "", "x") +
                                                     "</G></Report>");
    EXPECT_EQ(machine.callText("ShowErrorPool"), "");
}

TEST_F(ErrorPoolViewsTest, ListShowsOneRowPerRefusedEntry) {
    machine.writeInstallFile("UploadReport.xml", kReport);
    const std::string head =
        "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>"
        "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
        "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>" +
        labelText("SLBEU0291") +
        "</strong></td><td valign=bottom align=right>"
        "<input type=submit  onclick=javascript:winclose(\"divList\") value=\" x "
        "\"></td></tr></table></td></tr>"
        "<tr><td width=100%><div style=\"height:125; overflow:auto;\">"
        "<table border=0 cellspacing=1 cellpadding=0 width=100%><tr><td class=tableheader >" +
        labelText("SLBEU0096") + "</td><td class=tableheader >" + labelText("SLBEU0294") +
        "</td></tr>";
    const auto row = [](const std::string& description, const std::string& link) {
        return "<tr class=tablerows><td>" + description + "</td><td>&nbsp;" + link + "</td></tr>";
    };
    const std::string expected =
        head +
        row("Order refused",
            "<span id=1001 class=links "
            "onclick=javascript:showdetails(\"1\",\"1001\",\"\",\"\",\"1\")>" +
                labelText("SLBEU0000") + ": 1001</span>") +
        row("Activity refused",
            "<span id=10 class=links "
            "onclick=javascript:showdetails(\"2\",\"1001\",\"10\",\"\",\"1\")>" +
                labelText("SLBEU0279") + ":1001/ 10</span>") +
        row("Hours &lt;bad&gt;",
            "<span class=links onclick=javascript:showdetails(\"4\",\"1001\",\"10\",\"5\",\"1\")>" +
                labelText("SLBEU0296") + ": 1001/ 10/ 5</span>") +
        row("m",
            "<span class=links onclick=javascript:showdetails(\"3\",\"1001\",\"10\",\"6\",\"1\")>" +
                labelText("SLBEU0295") + ": 1001/ 10/ 6</span>") +
        row("o",
            "<span class=links onclick=javascript:showdetails(\"5\",\"1001\",\"10\",\"7\",\"1\")>" +
                labelText("SLBEU0094") + ": 1001/ 10/ 7</span>") +
        "</table></div></td></tr></table>";
    EXPECT_EQ(machine.callText("ShowErrorList"), expected);
}

TEST_F(ErrorPoolViewsTest, MissingAndUnreadableReports) {
    EXPECT_EQ(machine.callText("ShowErrorList"), "");
    EXPECT_EQ(machine.log(), "");
    machine.writeInstallFile("UploadReport.xml", "<Report><G>");
    EXPECT_EQ(machine.callText("ShowErrorList"), labelText("SLBEU0289"));
    EXPECT_EQ(machine.callText("ShowErrorPool"), labelText("SLBEU0289"));
    const std::string entryLog =
        "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: Error Pool  "
        "----------\r\nError =   " +
        labelText("SLBEU0289") + "\r\n";
    EXPECT_EQ(machine.log(), entryLog + entryLog);
}

TEST_F(ErrorPoolViewsTest, CounterOverflowsPast32767Entries) {
    std::string entries;
    for (int i = 0; i < 32768; ++i) entries += "<E Status=\"Error\"/>";
    machine.writeInstallFile("UploadReport.xml", "<R><G Status=\"Error\">" + entries + "</G></R>");
    const auto outcome = machine.invoke("ShowErrorPool");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kOverflow);
}

}  // namespace
