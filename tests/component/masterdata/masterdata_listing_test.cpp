// The listing of one master-data table, byte for byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/component/masterdata/masterdata_machine.h"

namespace {

using ::testing::HasSubstr;

using testing_support::labelText;
using testing_support::MasterDataMachine;
using testing_support::text;

std::string frameStart(const std::string& title) {
    return "<table width=100% border=0 cellspacing=0 cellpadding=0>"
           "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
           "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>" +
           title +
           "</strong></td><td valign=bottom align=right>"
           "<input type=submit  onclick=javascript:winclose(\"divList\") value=\" x \">"
           "</td></tr></table></td></tr>"
           "<tr><td width=100%><table width=100% border=0 cellspacing=0 cellpadding=0 "
           "class=details>";
}

const std::string kFrameEnd = "</table></td></tr></table>";

class MasterDataListing : public ::testing::Test {
  protected:
    MasterDataListing() { machine.call("OpenDataBase"); }
    std::string list(const std::string& code) {
        return machine.callText("MasterData", {text(code)});
    }
    MasterDataMachine machine;
};

TEST_F(MasterDataListing, ListsEveryRowWithoutTheCompany) {
    machine.execute("INSERT INTO UNITS VALUES ('500','kg','kilogram','Mass')");
    machine.execute("INSERT INTO UNITS VALUES ('500','m','meter',NULL)");
    EXPECT_EQ(
        list("UNIT"),
        frameStart(labelText("SLBUE9171")) +
            "<tr class=tableheader><td align=left nowrap>&nbsp;Unit</td>"
            "<td align=left nowrap>&nbsp;Description</td>"
            "<td align=left nowrap>&nbsp;Physical Quantity</td></tr>"
            "<tr><td nowrap>&nbsp;kg</td><td nowrap>&nbsp;kilogram</td>"
            "<td nowrap>&nbsp;Mass</td></tr>"
            "<tr><td nowrap>&nbsp;m</td><td nowrap>&nbsp;meter</td><td nowrap>&nbsp;</td></tr>" +
            kFrameEnd);
}

TEST_F(MasterDataListing, EmptyTableGivesTheFrameOnly) {
    EXPECT_EQ(list("CROB"), frameStart(labelText("SLBUE9191")) + kFrameEnd);
    EXPECT_EQ(list("ITEM"), frameStart(labelText("SLBEU0195")) + kFrameEnd);
}

TEST_F(MasterDataListing, ValuesCannotAddMarkup) {
    machine.execute("INSERT INTO PROBLEMS VALUES ('500','P<1>','Leak & <b>drip</b>')");
    const std::string html = list("PROB");
    EXPECT_THAT(html, HasSubstr("<td nowrap>&nbsp;P&lt;1&gt;</td><td nowrap>&nbsp;Leak &amp; "
                                "&lt;b&gt;drip&lt;/b&gt;</td>"))
        << html;
}

TEST_F(MasterDataListing, UnknownCodeFails) {
    EXPECT_FALSE(machine.invoke("MasterData", {text("NONE")}).succeeded);
}

TEST_F(MasterDataListing, MissingDatabaseShowsAMessageAndGivesNothing) {
    machine.call("SetCurrentmdb", {text("SC9")});
    EXPECT_EQ(list("UNIT"), "");
    ASSERT_EQ(machine.messages().shown.size(), 1u);
    const auto& message = machine.messages().shown[0];
    EXPECT_EQ(message.title, labelText("SLBUE9150"));
    EXPECT_EQ(message.text, labelText("SLBEU0308") + ", " + "\r\n" + labelText("SLBEU0309"));
    EXPECT_EQ(message.icon, platform::MessageIcon::None);
}

TEST_F(MasterDataListing, CurrentNameIsTrimmedForTheExistenceCheck) {
    machine.call("SetCurrentmdb", {text("  SC1 ")});
    EXPECT_EQ(list("UNIT"), frameStart(labelText("SLBUE9171")) + kFrameEnd);
    EXPECT_TRUE(machine.messages().shown.empty());
}

}  // namespace
