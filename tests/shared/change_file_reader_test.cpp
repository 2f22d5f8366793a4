#include "shared/masterdata_file/change_file_reader.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace {

using masterdata_file::ChangeRow;
using masterdata_file::findChangeSets;
using masterdata_file::findTableElement;
using masterdata_file::readRow;
using masterdata_file::RowAction;
namespace xml = platform::xml;

class Parsed {
  public:
    explicit Parsed(std::string_view text) { EXPECT_TRUE(document_.parse(text)) << text; }
    xml::Node node() const { return document_.node(); }
    xml::Node root() const { return document_.root(); }

  private:
    xml::Document document_;
};

std::vector<std::string> namesAndValues(const std::vector<masterdata_file::ColumnValue>& columns) {
    std::vector<std::string> out;
    for (const auto& column : columns) out.push_back(column.name + "=" + column.value);
    return out;
}

TEST(ChangeFileReader, FindsEveryChangeSetInDocumentOrder) {
    const Parsed single(
        R"(<VOMasterData COMP="500" TIME="20020315090512"><UNITS/></VOMasterData>)");
    ASSERT_EQ(findChangeSets(single.node()).size(), 1u);
    EXPECT_EQ(findChangeSets(single.node())[0], single.root());

    const Parsed two(
        R"(<Files><VOMasterData COMP="500"/><x><VOMasterData COMP="600"/></x></Files>)");
    const auto sets = findChangeSets(two.node());
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(masterdata_file::companyOf(sets[0]), "500");
    EXPECT_EQ(masterdata_file::companyOf(sets[1]), "600");

    const Parsed none("<Other><UNITS/></Other>");
    EXPECT_TRUE(findChangeSets(none.node()).empty());
}

TEST(ChangeFileReader, OnlyTheFirstElementOfATableCounts) {
    const Parsed set(
        R"(<VOMasterData COMP="500"><UNITS n="1"/><PROBLEMS/><UNITS n="2"/></VOMasterData>)");
    const xml::Node units = findTableElement(set.root(), "UNITS", "SC1");
    ASSERT_TRUE(units);
    EXPECT_EQ(xml::attribute(units, "n"), "1");
    EXPECT_FALSE(findTableElement(set.root(), "SOLUTIONS", "SC1"));
}

TEST(ChangeFileReader, ServiceCenterElementsMatchExactlyForConfigurationsTrimmedForObjects) {
    const Parsed set(R"(<VOMasterData COMP="500">)"
                     R"(<CONFIGURATIONS SERVICECENTER=" SC1" n="blank"/>)"
                     R"(<OBJECTS SERVICECENTER=" SC1 " n="blank"/>)"
                     R"(<CONFIGURATIONS SERVICECENTER="SC2" n="other"/>)"
                     R"(<CONFIGURATIONS n="none"/>)"
                     R"(<CONFIGURATIONS SERVICECENTER="SC1" n="exact"/>)"
                     R"(</VOMasterData>)");
    EXPECT_EQ(xml::attribute(findTableElement(set.root(), "CONFIGURATIONS", "SC1"), "n"), "exact");
    EXPECT_EQ(xml::attribute(findTableElement(set.root(), "OBJECTS", "SC1"), "n"), "blank");
    EXPECT_EQ(xml::attribute(findTableElement(set.root(), "CONFIGURATIONS", "SC2"), "n"), "other");
    EXPECT_FALSE(findTableElement(set.root(), "OBJECTS", "SC2"));
    EXPECT_FALSE(findTableElement(set.root(), "CONFIGURATIONS", "SC3"));
}

TEST(ChangeFileReader, ReadsKeyAsWrittenColumnsUpperCasedAndTextsUnchanged) {
    const Parsed row(R"(<cuni ID="kg" STATUS="I"><dsca>Tom &amp; Jerry's &lt;kilo&gt;</dsca>)"
                     R"(<Tccu><![CDATA[Mass]]></Tccu><EMPTY/></cuni>)");
    const ChangeRow read = readRow(row.root(), "UNITS");
    EXPECT_EQ(read.action, RowAction::Insert);
    EXPECT_EQ(namesAndValues(read.keys), std::vector<std::string>{"cuni=kg"});
    EXPECT_EQ(namesAndValues(read.columns),
              (std::vector<std::string>{"DSCA=Tom & Jerry's <kilo>", "TCCU=Mass", "EMPTY="}));
}

TEST(ChangeFileReader, ItemCodesKeepTheirLeadingBlanks) {
    const Parsed row(R"(<ITEM ID="         PUMP-100" STATUS="M"><DSCA>Pump</DSCA></ITEM>)");
    const ChangeRow read = readRow(row.root(), "SERVICEITEMS");
    EXPECT_EQ(read.action, RowAction::Modify);
    EXPECT_EQ(read.keys.at(0).value, "         PUMP-100");
}

TEST(ChangeFileReader, ObjectRowsAreKeyedByConfigurationObjectAndSequence) {
    const Parsed row(
        R"(<CROB CCFG="CFG0001" CROB="PUMP" OSEQ="1" STATUS="D"><DSCA/><EMNO/></CROB>)");
    const ChangeRow read = readRow(row.root(), "OBJECTS");
    EXPECT_EQ(read.action, RowAction::Delete);
    EXPECT_EQ(namesAndValues(read.keys),
              (std::vector<std::string>{"CCFG=CFG0001", "CROB=PUMP", "OSEQ=1"}));
}

TEST(ChangeFileReader, OtherStatusesAreSkippedButKeysAreStillRequired) {
    const Parsed skipped(R"(<CUNI ID="kg" STATUS="X"><DSCA>kilogram</DSCA></CUNI>)");
    const ChangeRow read = readRow(skipped.root(), "UNITS");
    EXPECT_EQ(read.action, RowAction::Skip);
    EXPECT_TRUE(read.columns.empty());

    for (const char* text : {R"(<CUNI STATUS="X"/>)", R"(<CUNI ID="kg"/>)",
                             R"(<CROB CCFG="C" OSEQ="1" STATUS="I"/>)"}) {
        const Parsed row(text);
        const char* table = std::string_view(text).starts_with("<CROB") ? "OBJECTS" : "UNITS";
        EXPECT_THROW(readRow(row.root(), table), platform::PlatformError) << text;
    }
}

TEST(ChangeFileReader, ReusedRowBuffersHoldOnlyTheCurrentRow) {
    const Parsed table(R"(<UNITS><CUNI ID="a" STATUS="I"><DSCA>1</DSCA><TCCU>2</TCCU></CUNI>)"
                       R"(<CUNI ID="b" STATUS="M"><DSCA>3</DSCA></CUNI></UNITS>)");
    ChangeRow row;
    readRow(xml::childElementAt(table.root(), 0), "UNITS", row);
    readRow(xml::childElementAt(table.root(), 1), "UNITS", row);
    EXPECT_EQ(namesAndValues(row.keys), std::vector<std::string>{"CUNI=b"});
    EXPECT_EQ(namesAndValues(row.columns), std::vector<std::string>{"DSCA=3"});
}

}  // namespace
