#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/component/masterdata/masterdata_machine.h"
#include "tests/support/html_attributes.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using quillmere::Variant;
using testing_support::AttributeNames;
using testing_support::labelText;
using testing_support::MasterDataMachine;
using testing_support::text;

const std::string kOpen = "<table width=100% border=0 cellspacing=0 cellpadding=0>";

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

const std::string kDetailsOpen =
    "<tr><td width=100%><table width=100% border=0 cellspacing=0 cellpadding=0 class=details>";
const std::string kClose = "</table></td></tr></table>";

class ZoomLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.execute(
            "INSERT INTO UNITS VALUES ('100','kg','kilogram',' 3 ');"
            "INSERT INTO UNITS VALUES ('100','a\"b',NULL,'1');"
            "INSERT INTO OBJECTS (COMP,CCFG,CROB,OSEQ,DSCA) VALUES ('100','CFG1','PUMP',' 7 "
            "','Pump');"
            "INSERT INTO OBJECTS (COMP,CCFG,CROB,OSEQ,DSCA) VALUES "
            "('100','CFG2','FAN','1','Fan');");
        machine.call("OpenDataBase");
    }
    std::string lookup(int16_t mode, const std::string& kind, const std::string& value,
                       const std::string& form) {
        return machine.callText("HyperLinkAndZoom",
                                {Variant::int16(mode), text(kind), text(value), text(form)});
    }
    MasterDataMachine machine;
};

TEST_F(ZoomLookupTest, ZoomListsEveryCodeAsAFillValuesLink) {
    EXPECT_EQ(
        lookup(0, "Unit", "", "other"),
        kOpen + titleBar(labelText("SLBEU0305") + "Unit", "divZoomHype") + kDetailsOpen +
            "<tr class=tableheader><td align=left nowrap>&nbsp;Unit</td>"
            "<td align=left nowrap>&nbsp;Description</td>"
            "<td align=left nowrap>&nbsp;Physical Quantity</td></tr>"
            "<tr><td nowrap><a "
            "href=javascript:FillValues(\"kg\",\"dummy\",\"other\",\"Unit\")>kg</a></td>"
            "<td>kilogram</td><td>3</td></tr>"
            // The code reaches FillValues escaped; the visible text keeps its quote.
            "<tr><td nowrap><a "
            "href=javascript:FillValues(\"a\"\"b\",\"dummy\",\"other\",\"Unit\")>a\"b</a></td>"
            "<td></td><td>1</td></tr>" +
            kClose);
}

// The codes sit in an unquoted href: whatever they hold, an HTML parser sees no other attribute.
TEST_F(ZoomLookupTest, CodesAndFormNamesAddNoAttributeToTheZoomList) {
    const std::string plain = lookup(0, "Unit", "", "other");
    machine.execute(
        "DELETE FROM UNITS;"
        "INSERT INTO UNITS VALUES ('100','kg onmouseover=alert(7) x','kilogram',' 3 ');"
        "INSERT INTO UNITS VALUES ('100','a\tb''=c`d\r\nonclick=alert(7)','x','1');");
    const std::string hostile = lookup(0, "Unit", "", "other onfocus=alert(7)");
    EXPECT_EQ(AttributeNames(hostile), AttributeNames(plain)) << hostile;
    EXPECT_THAT(hostile, HasSubstr("FillValues(\"kg&nbsp;onmouseover&#61;alert(7)&nbsp;x\""));
}

TEST_F(ZoomLookupTest, ObjectZoomListsTheConfigurationsObjectsWithTheirSequence) {
    const std::string html = lookup(2, "Object", "CFG1", "activity");
    EXPECT_THAT(html, HasSubstr("FillValues(\"PUMP\",\"7\",\"activity\",\"Object\")>PUMP</a>"));
    EXPECT_THAT(html, Not(HasSubstr("FAN")));
}

TEST_F(ZoomLookupTest, HyperlinkShowsTheRecordWithEveryColumn) {
    EXPECT_EQ(lookup(1, "SalesQuantityUnit", "a\"b", "material"),
              kOpen + titleBar(labelText("SLBEU0304") + "Unit", "divZoomHype") + kDetailsOpen +
                  "<tr><td nowrap>&nbsp;Company</td><td>100</td></tr>"
                  "<tr><td nowrap>&nbsp;Unit</td><td>a\"b</td></tr>"
                  "<tr><td nowrap>&nbsp;Description</td><td></td></tr>"
                  "<tr><td nowrap>&nbsp;Physical Quantity</td><td>1</td></tr>" +
                  kClose);
}

TEST_F(ZoomLookupTest, NoMatchShowsTheNotFoundText) {
    EXPECT_EQ(lookup(1, "Unit", "x' OR '1'='1", "elsewhere"),
              kOpen + titleBar(labelText("SLBEU0304") + "Unit", "") + kDetailsOpen + "<tr><td>" +
                  labelText("SLBEU0306") + "</td></tr>" + kClose);
}

TEST_F(ZoomLookupTest, UnknownKindOrMissingDatabaseGiveTheOpeningTagOnly) {
    EXPECT_EQ(lookup(0, "Nothing", "", "order"), kOpen);
    machine.call("SetCurrentmdb", {text("missing")});
    EXPECT_EQ(lookup(0, "Unit", "", "order"), kOpen);
}

TEST_F(ZoomLookupTest, ClosedConnectionFailsTheCall) {
    machine.call("CloseDataBase");
    EXPECT_FALSE(
        machine
            .invoke("HyperLinkAndZoom", {Variant::int16(0), text("Unit"), text(""), text("order")})
            .succeeded);
}

}  // namespace
