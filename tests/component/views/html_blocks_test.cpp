#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "component/core/field_definitions.h"
#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/title_bar.h"
#include "component/store/order_status.h"
#include "component/views/field_definition_index.h"
#include "component/views/field_mapper_file.h"
#include "component/views/list_cells.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/support/failure_code.h"

namespace {

using testing_support::failureCodeOf;

using namespace quillmere;
using testing_support::ComponentMachine;
using testing_support::text;

const std::string kFieldMapper =
    "<FieldMapper><I18N><TEXT ID=\"SLBEU0232\" DESCRIPTION=\"My Activities\"/></I18N>"
    "<ccsocservcactv>"
    "<ActivityStatus LABEL=\"Status\" DATATYPE=\"e\" MODIFIABLE=\"True\" UINTERFACE=\"3\" "
    "ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"><VALUE Id=\"15\" Value=\"Open\"/><VALUE Value=\"no code\"/>"
    "<VALUE Id=\"20\" Value=\"Finished\"/><VALUE Id=\"20\" Value=\"Second\"/></ActivityStatus>"
    "<ActivityDescription LABEL=\"Description\" DATATYPE=\"s\" MODIFIABLE=\"True\" "
    "UINTERFACE=\"1\" "
    "ZOOM=\"False\" HYPERLINK=\"False\" NEW=\"True\"/>"
    "<Object LABEL=\"Object\" DATATYPE=\"s\" MODIFIABLE=\"True\" UINTERFACE=\"3\" ZOOM=\"True\" "
    "HYPERLINK=\"True\" NEW=\"True\"/>"
    "<PlannedStartTime LABEL=\"Planned Start\" DATATYPE=\"u\" MODIFIABLE=\"True\" UINTERFACE=\"3\" "
    "ZOOM=\"False\" HYPERLINK=\"False\" NEW=\"True\"/>"
    "<Remarks LABEL=\"Remarks\" DATATYPE=\"t\" MODIFIABLE=\"True\" UINTERFACE=\"2\" ZOOM=\"False\" "
    "HYPERLINK=\"False\" NEW=\"True\"/>"
    "<Broken LABEL=\"Broken\" DATATYPE=\"s\"/>"
    "</ccsocservcactv>"
    "<other><ccsocservcactv><Remarks LABEL=\"Later copy\" DATATYPE=\"s\" MODIFIABLE=\"False\" "
    "UINTERFACE=\"1\" ZOOM=\"False\" HYPERLINK=\"False\" NEW=\"False\"/></ccsocservcactv></other>"
    "</FieldMapper>";

class HtmlBlocksTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
        ASSERT_TRUE(LoadFieldMapperDocument(session()));
    }
    Session& session() { return machine.session(); }
    std::string cell(std::string_view field, std::string_view value) {
        const std::string fromDocument =
            BuildListCell(session(), kActivities, field, value, "order");
        // The indexed look-up must answer the same, byte for byte.
        EXPECT_EQ(BuildListCell(FieldDefinitionIndex(session().state.fieldMapper), "ccsocservcactv",
                                field, value, "order"),
                  fromDocument);
        return fromDocument;
    }
    static constexpr std::string_view kActivities = "ccsocservcactv";
    ComponentMachine machine;
};

TEST_F(HtmlBlocksTest, FieldDefinitionOfTheFirstMatchOrTheDefaults) {
    const FieldDefinition& remarks = GetFieldDefinition(session(), kActivities, "Remarks");
    EXPECT_EQ(remarks.label, "Remarks");
    EXPECT_EQ(remarks.dataType, "t");
    EXPECT_EQ(remarks.userInterface, "2");
    EXPECT_EQ(session().state.currentFieldDefinition.label, "Remarks");

    const FieldDefinition undefined = GetFieldDefinition(session(), kActivities, "Unknown");
    EXPECT_EQ(undefined.label, "Unknown");
    EXPECT_EQ(undefined.modifiable, "True");
    EXPECT_EQ(undefined.dataType + undefined.userInterface + undefined.zoom + undefined.hyperlink +
                  undefined.isNew,
              "");
    EXPECT_EQ(failureCodeOf([&] { GetFieldDefinition(session(), kActivities, "Broken"); }),
              platform::failure::kInvalidUseOfNull);
    EXPECT_EQ(failureCodeOf([&] {
                  FieldDefinitionIndex(session().state.fieldMapper).find(kActivities, "Broken");
              }),
              platform::failure::kInvalidUseOfNull);
}

TEST_F(HtmlBlocksTest, ColumnHeadingsCountTheListedFields) {
    int16_t counter = 0;
    EXPECT_EQ(
        BuildColumnHeadings(session(), counter, kActivities),
        "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>"
        "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>"
        "<tr><td class=tableheader nowrap>Status</td><td class=tableheader nowrap>Description</td>"
        "<td class=tableheader nowrap>Object</td><td class=tableheader nowrap>Planned "
        "Start</td></tr>");
    EXPECT_EQ(counter, 4);
    counter = 32766;
    EXPECT_EQ(failureCodeOf([&] { BuildColumnHeadings(session(), counter, kActivities); }),
              platform::failure::kOverflow);
    EXPECT_EQ(failureCodeOf([&] { BuildColumnHeadings(session(), counter, "ccsocservcmatl"); }),
              platform::failure::kObjectNotSet);
}

TEST_F(HtmlBlocksTest, ListCellsByKindOfField) {
    EXPECT_EQ(cell("Remarks", "seen only in details"), "");
    EXPECT_EQ(cell("Unknown", "x"), "");
    EXPECT_EQ(cell("ActivityDescription", "Replace pump"),
              "<td align=center>&nbsp;Replace pump</td>");
    EXPECT_EQ(cell("ActivityStatus", "20"), "<td>&nbsp;Finished</td>");
    EXPECT_EQ(cell("ActivityStatus", "99"), "<td>&nbsp;</td>");
    EXPECT_EQ(cell("PlannedStartTime", "20270131 0930"),
              "<td align=center>&nbsp;01/31/2027 0930</td>");
    EXPECT_EQ(cell("PlannedStartTime", ""), "<td align=center>&nbsp;</td>");
    EXPECT_EQ(cell("PlannedStartTime", "2027"), "<td align=center>&nbsp;//2027 </td>");
    EXPECT_EQ(cell("Object", " PUMP 7 "),
              "<td align=center>&nbsp;<a "
              "href=javascript:hyperlink(\"Object\",\"PUMP&nbsp;7\",\"order\")> PUMP 7 </a></td>");
}

TEST_F(HtmlBlocksTest, ValuesCannotInjectMarkup) {
    EXPECT_EQ(cell("ActivityDescription", "<b>A&B</b>"),
              "<td align=center>&nbsp;&lt;b&gt;A&amp;B&lt;/b&gt;</td>");
    EXPECT_EQ(cell("Object", "a<\"b\">&c"),
              "<td align=center>&nbsp;<a "
              "href=javascript:hyperlink(\"Object\",\"a&lt;\"\"b\"\"&gt;&amp;c\",\"order\")>"
              "a&lt;\"b\"&gt;&amp;c</a></td>");
}

TEST_F(HtmlBlocksTest, EnumCellTakesTheFirstEntryWithTheCode) {
    EXPECT_EQ(BuildEnumCell(session(), kActivities, "ActivityStatus", "15"), "<td>&nbsp;Open</td>");
    EXPECT_EQ(BuildEnumCell(session(), kActivities, "ActivityStatus", "20"),
              "<td>&nbsp;Finished</td>");
    EXPECT_EQ(BuildEnumCell(session(), kActivities, "ActivityStatus", ""), "<td>&nbsp;</td>");
    EXPECT_EQ(failureCodeOf([&] { BuildEnumCell(session(), kActivities, "Nothing", "1"); }),
              platform::failure::kObjectNotSet);
}

TEST(HtmlBlocks, TitleBarWithAndWithoutMinimize) {
    EXPECT_EQ(BuildTitleBar(1, "My Activities", "divList"),
              "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
              "<tr class=titles><td nowrap valign=bottom width=100%>&nbsp;<strong>My "
              "Activities</strong></td>"
              "<td valign=bottom align=right>"
              "<input type=submit  onclick=javascript:minimize(\"divList\") value=\" _ \">"
              "<input type=submit  onclick=javascript:winclose(\"divList\") value=\" x \">"
              "</td></tr></table></td></tr>");
    EXPECT_EQ(
        BuildTitleBar(2, "Details", "divDetails"),
        "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
        "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>Details</strong></td>"
        "<td valign=bottom align=right>"
        "<input type=submit  onclick=javascript:winclose(\"divDetails\") value=\" x \">"
        "</td></tr></table></td></tr>");
}

TEST(HtmlBlocks, EscapeHtmlValue) {
    EXPECT_EQ(EscapeHtmlValue("  two words  "), "two&nbsp;words");
    EXPECT_EQ(EscapeHtmlValue("say \"hi\""), "say&nbsp;\"\"hi\"\"");
    EXPECT_EQ(EscapeHtmlValue("<a>&amp;"), "&lt;a&gt;&amp;amp;");
    EXPECT_EQ(EscapeHtmlValue("   "), "");
    // The value lands in an unquoted href: what would end it becomes a character reference.
    EXPECT_EQ(EscapeHtmlValue("\tTAB\r\n'`="), "&#9;TAB&#13;&#10;&#39;&#96;&#61;");
}

// A page-function argument is a script string, which the browser reaches after decoding the
// attribute (and, in an href=javascript: address, its percent escapes): no value may close it.
TEST(HtmlBlocks, PageFunctionArgumentsStayInsideTheirScriptString) {
    EXPECT_EQ(ScriptStringContent("a\\\"b%22c\r\nd"), "a\\x5c\\x22b\\x2522c\\x0d\\x0ad");
    EXPECT_EQ(QuotedValue("SO-9\");alert(7);//"), "\"SO-9\\x22);alert(7);//\"");
    EXPECT_EQ(EscapeHtmlValue("\\\"+alert(7)//%0a"), "\\x5c\"\"+alert(7)//\\x250a");
    for (const std::string plain : {"SO-9", "a b'c", "\xC3\xA9t\xC3\xA9"})
        EXPECT_EQ(ScriptStringContent(plain), plain);
}

TEST(HtmlBlocks, AttributeEscaping) {
    const std::string everything = "a b\tc\rd\ne'f`g=h<i>j&k\"l";
    EXPECT_EQ(HtmlAttribute(everything),
              "a&#32;b&#9;c&#13;d&#10;e&#39;f&#96;g&#61;h&lt;i&gt;j&amp;k&quot;l");
    EXPECT_EQ(QuotedValue(everything),
              "\"" + HtmlAttribute(ScriptStringContent(everything)) + "\"");
    // Inside double quotes only the quote can end the value; text keeps its three entities.
    EXPECT_EQ(QuotedAttributeValue(everything), "\"a b\tc\rd\ne'f`g=h&lt;i&gt;j&amp;k&quot;l\"");
    EXPECT_EQ(HtmlText(everything), "a b\tc\rd\ne'f`g=h&lt;i&gt;j&amp;k\"l");
    // Values without those characters come out as they are.
    for (const std::string plain : {"SO-9", "_12", "\xC3\xA9t\xC3\xA9", "a.b/c:d;e(f)"}) {
        EXPECT_EQ(HtmlAttribute(plain), plain);
        EXPECT_EQ(EscapeHtmlValue(plain), plain);
    }
}

TEST_F(HtmlBlocksTest, OrderStatusComesFromTheFileOnDisk) {
    machine.writeInstallFile(
        "ZudivevEzored.xml",
        "<zudivevezored><ccsocservcordr>"
        "<record ServiceOrder=\"7\" State=\"O\"><OrderStatus>20</OrderStatus></record>"
        "<record ServiceOrder=\"7\" State=\"O\"><OrderStatus>15</OrderStatus></record>"
        "<record ServiceOrder=\"8\" State=\"O\"><OrderStatus><b>3</b>5</OrderStatus></record>"
        "</ccsocservcordr></zudivevezored>");
    session().state.orderStore.parse("<zudivevezored/>");
    EXPECT_EQ(GetOrderStatus(session(), "7"), "20");
    EXPECT_EQ(GetOrderStatus(session(), "8"), "35");
    EXPECT_EQ(GetOrderStatus(session(), "9"), "");
    machine.writeInstallFile("ZudivevEzored.xml", "not xml");
    EXPECT_EQ(GetOrderStatus(session(), "7"), "");
}

TEST(FieldMapperFile, InstallsOnlyWhenMissingOrOverwriteIsYes) {
    ComponentMachine machine;
    machine.call("Initialize");
    EXPECT_EQ(machine.call("FMapperXMLExists"), Variant::boolean(false));
    EXPECT_TRUE(machine.call("getFMapper", {text("<a><b/></a>"), text("no")}).isEmpty());
    EXPECT_EQ(machine.readInstallFile("FieldMapper.xml"), "<a><b/></a>");
    EXPECT_EQ(machine.call("FMapperXMLExists"), Variant::boolean(true));
    machine.call("getFMapper", {text("<c/>"), text("yes")});
    EXPECT_EQ(machine.readInstallFile("FieldMapper.xml"), "<a><b/></a>");
    machine.call("getFMapper", {text("<c  x='1'>\n <d/>\n</c>"), text("Yes")});
    EXPECT_EQ(machine.readInstallFile("FieldMapper.xml"), "<c x=\"1\"><d/></c>");
}

TEST(FieldMapperFile, TextThatIsNotXmlLeavesTheInstalledFile) {
    ComponentMachine machine;
    machine.call("Initialize");
    machine.call("getFMapper", {text("<a/>"), text("Yes")});
    const CallOutcome outcome = machine.invoke("getFMapper", {text("<a><b></a>"), text("Yes")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kXml);
    EXPECT_EQ(machine.readInstallFile("FieldMapper.xml"), "<a/>");
}

// Every field of the delivered document: the index answers what the document walk answers.
TEST(FieldDefinitionIndexOnDeliveredData, AgreesWithTheDocumentWalk) {
    ComponentMachine machine;
    machine.initializeWithFieldMapper();
    Session& session = machine.session();
    ASSERT_TRUE(LoadFieldMapperDocument(session));
    const FieldDefinitionIndex index(session.state.fieldMapper);
    pugi::xml_document data;
    ASSERT_TRUE(data.load_file((std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml").c_str()));
    for (const char* kind : {"ccsocservcordr", "ccsocservcactv", "ccsocservcmatl", "ccsocservclabr",
                             "ccsocservcothr"}) {
        for (pugi::xml_node field : data.child("FieldMapper").child(kind).children()) {
            for (const char* value : {"15", "20", "20270131 0930", ""})
                EXPECT_EQ(BuildListCell(index, kind, field.name(), value, "order"),
                          BuildListCell(session, kind, field.name(), value, "order"))
                    << kind << "/" << field.name();
        }
    }
}

}  // namespace
