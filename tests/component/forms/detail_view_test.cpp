#include "component/forms/detail_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/core/field_mapper_document.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using testing_support::activityGroup;
using testing_support::ComponentMachine;
using testing_support::lineGroup;
using testing_support::text;

std::string def(const std::string& name, const std::string& label, const std::string& type,
                const std::string& mod, const std::string& ui, const std::string& zoom,
                const std::string& link, const std::string& isNew, const std::string& values = "") {
    const std::string attributes = " LABEL=\"" + label + "\" DATATYPE=\"" + type +
                                   "\" MODIFIABLE=\"" + mod + "\" UINTERFACE=\"" + ui +
                                   "\" ZOOM=\"" + zoom + "\" HYPERLINK=\"" + link + "\" NEW=\"" +
                                   isNew + "\"";
    return values.empty() ? "<" + name + attributes + "/>"
                          : "<" + name + attributes + ">" + values + "</" + name + ">";
}

const std::string kStatusValues =
    "<V Id=\"15\" Value=\"Open\"/><V Id=\"20\" Value=\"Done\"/><V Id=\"35\" Value=\"Closed\"/>";

const std::string kFieldMapper =
    "<FieldMapper><I18N>"
    "<T ID=\"SLBEU0000\" DESCRIPTION=\"Order\"/><T ID=\"SLBEU0279\" DESCRIPTION=\"Activity\"/>"
    "<T ID=\"SLBEU0006\" DESCRIPTION=\"Activity Description\"/><T ID=\"SLBEU0042\" "
    "DESCRIPTION=\"Line\"/>"
    "<T ID=\"SLBEU0270\" DESCRIPTION=\"NewMat\"/><T ID=\"SLBEU0271\" DESCRIPTION=\"NewLab\"/>"
    "<T ID=\"SLBEU0272\" DESCRIPTION=\"NewOth\"/><T ID=\"SLBEU0273\" DESCRIPTION=\"NewAct\"/>"
    "<T ID=\"SLBEU0274\" DESCRIPTION=\"Mats\"/><T ID=\"SLBEU0275\" DESCRIPTION=\"Labs\"/>"
    "<T ID=\"SLBEU0276\" DESCRIPTION=\"Oths\"/><T ID=\"SLBEU0277\" DESCRIPTION=\"Order Details\"/>"
    "<T ID=\"SLBEU0278\" DESCRIPTION=\"Activity Details\"/><T ID=\"SLBEU0280\" "
    "DESCRIPTION=\"Material Details\"/>"
    "<T ID=\"SLBEU0281\" DESCRIPTION=\"Labor Details\"/><T ID=\"SLBEU0283\" DESCRIPTION=\"Other "
    "Details\"/>"
    "<T ID=\"SLBEU0282\" DESCRIPTION=\"Delete\"/><T ID=\"SLBEU0284\" DESCRIPTION=\"Save\"/>"
    "</I18N><ccsocservcordr>" +
    def("OrderStatus", "Status", "e", "True", "3", "False", "False", "True", kStatusValues) +
    def("Description", "Description", "s", "True", "3", "False", "False", "True") +
    def("Address", "Address", "s", "False", "2", "True", "True", "True") +
    def("ProblemPriority", "Priority", "s", "True", "2", "True", "False", "True") +
    def("OrderDate", "Order Date", "u", "False", "3", "False", "False", "False") +
    def("PlannedStartTime", "Start", "u", "True", "2", "False", "False", "True") +
    def("Remarks", "Remarks", "t", "True", "2", "False", "False", "False") +
    def("ListOnly", "List Only", "s", "True", "1", "False", "False", "True") +
    "</ccsocservcordr><ccsocservcactv>" +
    def("ActivityStatus", "Status", "e", "True", "3", "False", "False", "True", kStatusValues) +
    def("ActivityDescription", "Description", "s", "True", "3", "False", "False", "True") +
    def("Configuration", "Configuration", "s", "False", "2", "False", "False", "True") +
    def("ObjectNumber", "Object Seq", "s", "False", "2", "False", "False", "True") +
    def("Object", "Object", "s", "True", "2", "True", "True", "True") +
    "</ccsocservcactv><ccsocservcmatl>" +
    def("ServiceOrder", "Order", "s", "False", "0", "False", "False", "False") +
    def("ServiceItem", "Item", "s", "True", "3", "False", "False", "True") +
    def("DeliveryType", "Delivery", "e", "True", "3", "False", "False", "True",
        "<V Id=\"11\" Value=\"Kit\"/><V Id=\"12\" Value=\"Warehouse\"/>") +
    "</ccsocservcmatl><ccsocservclabr>" +
    def("ServiceOrder", "Order", "s", "False", "2", "False", "False", "False") +
    def("Activity", "Activity", "s", "False", "0", "False", "False", "False") +
    def("LineNumber", "Line", "s", "False", "0", "False", "False", "False") +
    def("Task", "Task", "s", "True", "3", "True", "True", "True") +
    def("Employee", "Employee", "s", "False", "3", "False", "False", "False") +
    def("StartDate", "Date", "u", "True", "2", "False", "False", "True") +
    "</ccsocservclabr><ccsocservcothr>" +
    def("ServiceOrder", "Order", "s", "False", "2", "False", "False", "False") +
    def("CostComponent", "Cost", "s", "True", "3", "True", "True", "True") +
    "</ccsocservcothr></FieldMapper>";

// An order with 23 fields: the seven defined ones, then undefined ones up to position 22;
// position 19 locks the activities.
std::string order(const std::string& number, const std::string& state, const std::string& status,
                  const std::string& locked = "0") {
    std::string fields =
        "<Description>Pump &amp; valve</Description><Address>ADR 1</Address>"
        "<ProblemPriority>0</ProblemPriority><OrderDate>20270131 0930</OrderDate>"
        "<PlannedStartTime></PlannedStartTime><Remarks>a&lt;b</Remarks><ListOnly>x</ListOnly>";
    for (int i = 8; i < 23; ++i) {
        const std::string name = i == 19 ? "Locked" : "f" + std::to_string(i);
        const std::string value = i == 19 ? locked : "v";
        fields += "<" + name + ">" + value + "</" + name + ">";
    }
    return testing_support::order(number, state, status, fields);
}

std::string activity(const std::string& number, const std::string& state,
                     const std::string& status = "15") {
    return testing_support::activity(
        number, state, status,
        "<ActivityDescription>Inspect</ActivityDescription>"
        "<Configuration>CFG</Configuration><ObjectNumber>7</ObjectNumber>"
        "<Object>OBJ 1</Object>");
}

std::string laborLine(const std::string& number, const std::string& state, const std::string& task,
                      const std::string& start) {
    return testing_support::line(
        number, state,
        "<ServiceOrder>100</ServiceOrder><Activity>10</Activity><LineNumber>" + number +
            "</LineNumber><Task>" + task + "</Task><Employee>E</Employee><StartDate>" + start +
            "</StartDate>");
}

const std::string kStore = testing_support::store(
    {.orders = order("100", "O", "15") + order("200", "MU", "15") + order("300", "O", "35") +
               order("400", "O", "15", "1") + order("_1", "N", "20"),
     .activities = activityGroup("100", "O", activity("10", "O") + activity("_2", "N")) +
                   activityGroup("400", "O", activity("10", "O")),
     .material = lineGroup("100", "10", "O",
                           testing_support::line("1", "O",
                                                 "<ServiceOrder>100</ServiceOrder><ServiceItem>ITEM"
                                                 "</ServiceItem><DeliveryType>12</DeliveryType>")),
     .labor = lineGroup("100", "10", "O",
                        laborLine("1", "O", "T1", "20270131 0930") +
                            laborLine("_5", "N", "T2", "20270201 1015"))});

const std::string kTableHead =
    "<table width=100% border=0 cellspacing=0 cellpadding=0 class=details>";

std::string titleBar(const std::string& title) {
    return "<tr><td width=100%><table width=100% border=0 cellspacing=2 cellpadding=0>"
           "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;<strong>" +
           title +
           "</strong></td><td valign=bottom align=right>"
           "<input type=submit  onclick=javascript:winclose(\"divDetails\") value=\" x \">"
           "</td></tr></table></td></tr>";
}

std::string buttons(const std::string& cells) {
    return "<tr><td width=100%><table border=0 cellspacing=0 cellpadding=0 width=100%><tr><td "
           "align=right>"
           "<table><tr>" +
           cells + "</tr></table></td></tr></table></td></tr></table>";
}

class DetailViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.call("Initialize");
        machine.installFieldMapper(kFieldMapper);
        machine.writeInstallFile("ZudivevEzored.xml", kStore);
    }
    std::string details(const std::string& kind, const std::string& order,
                        const std::string& activity = "", const std::string& line = "",
                        int16_t fromErrors = 0) {
        return machine.callText("GetDetails", {text(kind), text(order), text(activity), text(line),
                                               text(""), quillmere::Variant::int16(fromErrors)});
    }
    quillmere::Session& session() { return machine.session(); }
    ComponentMachine machine;
};

TEST_F(DetailViewTest, AnOpenOrderIsEditable) {
    EXPECT_EQ(details("1", "100"),
              kTableHead + titleBar("Order Details") +
                  "<tr><td align=right><a "
                  "href=javascript:newobject(\"2\",\"100\",\"\")>NewAct</a></td></tr>"
                  "<tr><td width=100%><form name=order><table width=100% border=0 class=details>"
                  "<tr><td>&nbsp;Order</td><td>&nbsp;100</td></tr>"
                  "<tr><td nowrap>&nbsp;Status</td><td>&nbsp;<SELECT disabled=true "
                  "name=OrderStatus id=OrderStatus>"
                  "<OPTION value=15 >Open</SELECT></td></td></tr>"
                  "<tr><td nowrap>&nbsp;Description</td><td>&nbsp;<input type=text size=10 "
                  "id=Description "
                  "value=\"Pump &amp; valve\"></td></tr>"
                  "<tr><td nowrap>&nbsp;Address</td><td>&nbsp;<a "
                  "href=javascript:hyperlink(\"Address\",\"ADR&nbsp;1\","
                  "\"order\")>ADR 1</a></td></tr>"
                  "<tr><td nowrap>&nbsp;Priority</td><td>&nbsp;<input type=text size=30 "
                  "id=ProblemPriority value=\"\">"
                  "<span class=links onclick=javascript:zoom(\"ProblemPriority\",\"order\")>"
                  "<small><strong>...</strong></small></span></td></tr>"
                  "<tr><td nowrap>&nbsp;Order "
                  "Date</td><td>&nbsp;01/31/2027&nbsp;&nbsp<small><i>mm/dd/yyyy</i></small>"
                  "&nbsp;0930&nbsp;&nbsp<small><i>hhmm</i></small>&nbsp;</td></tr>"
                  "<tr><td nowrap>&nbsp;Start</td><td>&nbsp;<input type=text size=15 "
                  "id=PlannedStartTime value=\"\">"
                  "<small><i>mm/dd/yyyy</i></small><input type=text size=4 id=PlannedStartTime "
                  "value=\"\">"
                  "<small><i>hhmm</i></small></td></tr>"
                  "<tr><td nowrap>&nbsp;Remarks</td><td>&nbsp;<textarea rows=4 cols=30 "
                  "id=Remarks>a&lt;b</textarea>"
                  "</td></tr>"
                  "</table></form></td></tr>" +
                  buttons("<td align=right><input id=save type=button value=Save "
                          "onclick=javascript:saveObject("
                          "\"order\",\"100\",\"\",\"\",\"2\")></td>"));
    EXPECT_EQ(machine.callText("Get_Error"), "1");
}

TEST_F(DetailViewTest, AnUploadedOrderIsReadOnlyUnlessOpenedFromTheErrorList) {
    const std::string readOnly = details("1", "200");
    EXPECT_THAT(readOnly, Not(HasSubstr("newobject")));
    EXPECT_THAT(readOnly, Not(HasSubstr("saveObject")));
    EXPECT_THAT(readOnly, Not(HasSubstr("deleteObject")));
    EXPECT_THAT(readOnly, HasSubstr("<tr><td nowrap>&nbsp;Status</td><td>&nbsp;Open</td></tr>"));
    EXPECT_THAT(
        readOnly,
        HasSubstr("<tr><td nowrap>&nbsp;Description</td><td >&nbsp;Pump &amp; valve</td></tr>"));
    EXPECT_THAT(readOnly, HasSubstr("<tr><td nowrap>&nbsp;Start</td><td >&nbsp;</td></tr>"));
    EXPECT_THAT(details("1", "200", "", "", 1), HasSubstr("saveObject"));
}

TEST_F(DetailViewTest, DeleteIsOfferedForClosedOrdersAndNewLocalOnes) {
    const std::string closed = details("1", "300");
    EXPECT_THAT(closed, HasSubstr(buttons(
                            "<td align=right><input id=300 type=button value=Delete "
                            "onclick=javascript:deleteObject(\"order\",\"300\",\"\",\"\")></td>")));
    const std::string local = details("1", "_1", "", "", 1);
    EXPECT_THAT(local, HasSubstr("<input id=_1 type=button value=Delete "
                                 "onclick=javascript:deleteObject(\"order\",\"_1\",\"\",\"\")>"
                                 "</td><td align=right><input id=save"));
    // A local record shows only the fields entered for new records.
    EXPECT_THAT(local,
                HasSubstr("<SELECT disabled=true name=OrderStatus id=OrderStatus><OPTION value=15 "
                          "selected>Open</SELECT>"));
    EXPECT_THAT(local, Not(HasSubstr("Order Date")));
    EXPECT_THAT(local,
                HasSubstr("<tr><td nowrap>&nbsp;Start</td><td>&nbsp;<input type=text size=10 "
                          "id=PlannedStartTime"));
}

TEST_F(DetailViewTest, AnEditableActivityOffersEveryLink) {
    const std::string html = details("2", "100", "10");
    EXPECT_THAT(
        html,
        HasSubstr(titleBar("Activity Details") +
                  "<tr><td align=right><table class=hyperbutton>"
                  "<tr><td>&nbsp;</td><td align=right><a "
                  "href=javascript:newobject(\"2\",\"100\",\"10\")>NewAct</a></td></tr>"
                  "<tr><td align=right><a "
                  "href=javascript:ListCostLines(\"Material\",\"100\",\"10\")>Mats</a></td>"
                  "<td align=right><a "
                  "href=javascript:newobject(\"3\",\"100\",\"10\")>NewMat</a></td></tr>"
                  "<tr><td align=right><a "
                  "href=javascript:ListCostLines(\"Labor\",\"100\",\"10\")>Labs</a></td>"
                  "<td align=right><a "
                  "href=javascript:newobject(\"4\",\"100\",\"10\")>NewLab</a></td></tr>"
                  "<tr><td align=right><a "
                  "href=javascript:ListCostLines(\"Other\",\"100\",\"10\")>Oths</a></td>"
                  "<td align=right><a "
                  "href=javascript:newobject(\"5\",\"100\",\"10\")>NewOth</a></td></tr>"
                  "</table></td></tr>"
                  "<tr><td width=100%><form name=activity><table width=100% border=0 class=details>"
                  "<tr><td>&nbsp;Order</td><td>&nbsp;100</td></tr><tr><td>&nbsp;Activity</"
                  "td><td>&nbsp;10</td></tr>"
                  "<tr><td nowrap>&nbsp;Status</td><td>&nbsp;<SELECT name=ActivityStatus "
                  "id=ActivityStatus>"
                  "<OPTION value=15 selected>Open<OPTION value=20 >Done</SELECT></td></td></tr>"
                  "<tr><td nowrap>&nbsp;Description</td><td>&nbsp;<input type=text size=10 "
                  "id=ActivityDescription "
                  "value=\"Inspect\"></td></tr>"
                  "<tr style=\"display:none\"><td nowrap>&nbsp;Configuration</td><td>&nbsp;"
                  "<input type=text size=10 id=Configuration value=\"CFG\"></td></tr>"
                  "<tr style=\"display:none\"><td nowrap>&nbsp;Object Seq</td><td>&nbsp;"
                  "<input type=text size=10 id=ObjectNumber value=\"7\"></td></tr>"
                  "<tr><td nowrap>&nbsp;Object Seq</td><td >&nbsp;7</td></tr>"
                  "<tr><td nowrap>&nbsp;Object</td><td>&nbsp;<input type=text size=10 id=Object "
                  "value=\"OBJ 1\">"
                  "<span class=links "
                  "onclick=javascript:zoom(\"Object\",\"activity\")><small><strong>...</strong>"
                  "</small></span></td></tr></table></form></td></tr>"));
}

TEST_F(DetailViewTest, ALockedOrdersActivityIsReadOnlyEvenFromTheErrorList) {
    const std::string html = details("2", "400", "10", "", 1);
    EXPECT_THAT(html, HasSubstr(titleBar("Activity Details") +
                                "<tr class=hyperbutton><td align=right><a "
                                "href=javascript:ListCostLines(\"Material\",\"400\",\"10\")>"
                                "Mats</a></td></tr><tr class=hyperbutton>"));
    EXPECT_THAT(html, Not(HasSubstr("newobject")));
    EXPECT_THAT(html, Not(HasSubstr("saveObject")));
    EXPECT_THAT(html,
                HasSubstr("<tr><td nowrap>&nbsp;Object Seq</td><td id=ObjectNumber>7</td></tr>"));
    EXPECT_THAT(html, HasSubstr("<tr style=\"display:none\"><td nowrap>&nbsp;Configuration</td>"));
    EXPECT_TRUE(quillmere::OrderActivitiesLocked(session(), "400"));
    EXPECT_FALSE(quillmere::OrderActivitiesLocked(session(), "100"));
    EXPECT_FALSE(quillmere::OrderActivitiesLocked(session(), "999"));
}

TEST_F(DetailViewTest, ANewLocalActivityCanBeDeleted) {
    const std::string html = details("2", "100", "_2");
    EXPECT_THAT(html,
                HasSubstr("<tr><td nowrap>&nbsp;Configuration</td><td>&nbsp;<input disabled=true "
                          "type=text size=10 "
                          "id=Configuration value=\"CFG\"></td></tr>"));
    EXPECT_THAT(
        html, HasSubstr("<td align=right><input id=100 type=button value=Delete "
                        "onclick=javascript:deleteObject(\"activity\",\"100\",\"_2\",\"\")></td>"));
}

TEST_F(DetailViewTest, ReceivedLaborLinesAreNeverEditable) {
    const std::string html = details("4", "100", "10", "1", 1);
    EXPECT_EQ(html,
              kTableHead + titleBar("Labor Details") +
                  "<tr><td width=100%><form name=labor><table width=100% border=0 class=details>"
                  "<tr><td>&nbsp;Order</td><td>&nbsp;100</td></tr><tr><td>&nbsp;Activity</"
                  "td><td>&nbsp;10</td></tr>"
                  "<tr><td>&nbsp;Activity Description</td><td>&nbsp;Inspect</td></tr>"
                  "<tr><td>&nbsp;Line</td><td>&nbsp;1</td></tr>"
                  "<tr><td nowrap>&nbsp;Task</td><td>&nbsp;<a "
                  "href=javascript:hyperlink(\"Task\",\"T1\",\"labor\")>T1"
                  "</a></td></tr>"
                  "<tr><td nowrap>&nbsp;Employee</td><td >&nbsp;E</td></tr>"
                  "<tr><td "
                  "nowrap>&nbsp;Date</td><td>&nbsp;01/31/2027&nbsp;&nbsp<small><i>mm/dd/yyyy</i></"
                  "small>&nbsp;"
                  "0930&nbsp;&nbsp<small><i>hhmm</i></small>&nbsp;</td></tr>"
                  "</table></form></td></tr>" +
                  buttons(""));
}

TEST_F(DetailViewTest, ALocalLaborLineShowsItsEntryFields) {
    const std::string html = details("4", "100", "10", "_5");
    EXPECT_THAT(html,
                HasSubstr("<tr><td align=right><a "
                          "href=javascript:newobject(\"4\",\"100\",\"10\")>NewLab</a></td></tr>"
                          "<tr><td width=100%><form name=labor>"));
    EXPECT_THAT(
        html,
        HasSubstr(
            "<tr><td>&nbsp;Line</td><td>&nbsp;_5</td></tr>"
            "<tr><td nowrap>&nbsp;Task</td><td>&nbsp;<input type=text size=10 id=Task value=\"T2\">"
            "<span class=links "
            "onclick=javascript:zoom(\"Task\",\"labor\")><small><strong>...</strong></small>"
            "</span></td></tr>"
            "<tr><td nowrap>&nbsp;Date</td><td>&nbsp;<input type=text size=10 id=StartDate "
            "value=\"02/01/2027\">"
            "<small><i>mmddyyyy</i></small><input type=text size=4 id=StartDate value=\"1015\">"
            "<small><i>hhmm</i></small></td></tr></table></form></td></tr>"));
    EXPECT_THAT(html, HasSubstr("<input id=Delete type=button value=Delete "
                                "onclick=javascript:deleteObject(\"labor\",\"100\","
                                "\"10\",\"_5\")>"));
}

TEST_F(DetailViewTest, MaterialLinesSkipTheirFirstField) {
    const std::string html = details("3", "100", "10", "1");
    EXPECT_THAT(
        html,
        HasSubstr(
            "<tr><td>&nbsp;Line</td><td>&nbsp;1</td></tr>"
            "<tr><td nowrap>&nbsp;Item</td><td>&nbsp;<input type=text size=30 id=ServiceItem "
            "value=\"ITEM\">"
            "</td></tr>"
            "<tr><td nowrap>&nbsp;Delivery</td><td>&nbsp;<SELECT name=DeliveryType id=DeliveryType>"
            "<OPTION value=11>Kit<OPTION value=12 "
            "selected>Warehouse</SELECT></td></td></tr></table>"));
    EXPECT_EQ(machine.callText("Get_Error"), "1");
}

TEST_F(DetailViewTest, AMissingGroupGivesAnEmptyPanelWithSave) {
    const std::string html = details("5", "100", "10", "1");
    EXPECT_EQ(html,
              kTableHead + titleBar("Other Details") +
                  "<tr><td width=100%><form name=other><table width=100% border=0 class=details>"
                  "<tr><td>&nbsp;Order</td><td>&nbsp;100</td></tr><tr><td>&nbsp;Activity</"
                  "td><td>&nbsp;10</td></tr>"
                  "<tr><td>&nbsp;Activity Description</td><td>&nbsp;Inspect</td></tr>"
                  "<tr><td>&nbsp;Line</td><td>&nbsp;1</td></tr></table></form></td></tr>" +
                  buttons("<td align=right><input id=save type=button value=Save "
                          "onclick=javascript:saveObject("
                          "\"other\",\"100\",\"10\",\"1\",\"2\")></td>"));
    EXPECT_THAT(details("4", "100", "20", "7"), Not(HasSubstr("saveObject")));
}

TEST_F(DetailViewTest, RecordsThatAreNotThereFailTheCall) {
    for (const auto& [kind, order, activity, line] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"1", "999", "", ""},
             {"2", "100", "99", ""},
             {"3", "100", "10", "9"},
             {"9", "100", "", ""}}) {
        const auto outcome =
            machine.invoke("GetDetails", {text(kind), text(order), text(activity), text(line),
                                          text(""), quillmere::Variant::int16(0)});
        EXPECT_FALSE(outcome.succeeded) << kind << " " << order;
    }
}

TEST_F(DetailViewTest, NumbersFromThePageCannotInjectMarkup) {
    machine.writeInstallFile("ZudivevEzored.xml",
                             "<zudivevezored><ccsocservcordr/><ccsocservcactv/></zudivevezored>");
    const std::string html = details("2", "<b>\"", "<i>");
    EXPECT_THAT(html, Not(HasSubstr("<b>")));
    EXPECT_THAT(html, Not(HasSubstr("<i>")));
    EXPECT_THAT(html, HasSubstr("<tr><td>&nbsp;Order</td><td>&nbsp;&lt;b&gt;\"</td></tr>"));
    EXPECT_THAT(html,
                HasSubstr("saveObject(\"activity\",\"&lt;b&gt;\\x22\",\"&lt;i&gt;\",\"\",\"2\")"));
}

class DetailFieldsTest : public DetailViewTest {
  protected:
    void SetUp() override {
        DetailViewTest::SetUp();
        ASSERT_TRUE(quillmere::LoadFieldMapperDocument(session()));
    }
    std::string select(const std::string& field, const std::string& value,
                       const std::string& mode) {
        const std::string element = field == "OrderStatus" ? "ccsocservcordr" : "ccsocservcactv";
        return quillmere::RenderEnumSelect(session(), element, field, value, mode);
    }
};

TEST_F(DetailFieldsTest, StatusSelectsOfferWhatTheStatusAllows) {
    const std::string head = "<td>&nbsp;<SELECT name=ActivityStatus id=ActivityStatus>";
    const std::string tail = "</SELECT></td>";
    EXPECT_EQ(select("ActivityStatus", "", "New"),
              head + "<OPTION value=15 selected>Open<OPTION value=20 >Done" + tail);
    EXPECT_EQ(select("ActivityStatus", "", "Modify"), head + tail);
    EXPECT_EQ(select("ActivityStatus", "20", "Modify"), head + "<OPTION value=20 >Done" + tail);
    EXPECT_EQ(select("ActivityStatus", "35", "Modify"),
              head + "<OPTION value=35 selected>Closed" + tail);
    EXPECT_EQ(select("ActivityStatus", "35", "New"), head + "<OPTION value=35 >Closed" + tail);
    EXPECT_EQ(
        select("OrderStatus", "20", "Modify"),
        "<td>&nbsp;<SELECT disabled=true name=OrderStatus id=OrderStatus><OPTION value=20 >Done" +
            tail);
}

TEST_F(DetailFieldsTest, LaborFieldsOutsideTheEntryFieldsAreNotRendered) {
    EXPECT_EQ(
        quillmere::RenderLaborField(session(), "ccsocservclabr", "Employee", "E", "labor", true),
        "");
    EXPECT_EQ(
        quillmere::RenderLaborField(session(), "ccsocservclabr", "Task", "T<1>", "labor", false),
        "<tr><td nowrap>&nbsp;Task</td><td>T&lt;1&gt;</td></tr>");
    EXPECT_EQ(
        quillmere::RenderLaborField(session(), "ccsocservclabr", "StartDate", "", "labor", false),
        "<tr><td "
        "nowrap>&nbsp;Date</td><td>&nbsp;&nbsp;&nbsp<small><i>mmddyyyy</i></small>&nbsp;&nbsp;&nbsp"
        "<small><i>hhmm</i></small>&nbsp;</td></tr>");
    // Undefined fields are never shown in the detail view.
    EXPECT_EQ(quillmere::RenderDetailField(session(), "ccsocservcordr", "Unknown", "x", "order",
                                           false, true),
              "");
    EXPECT_EQ(quillmere::RenderDetailField(session(), "ccsocservcordr", "ListOnly", "x", "order",
                                           false, true),
              "");
}

TEST_F(DetailFieldsTest, ActivityDescriptionComesFromTheStoreFile) {
    session().state.currentActivityDescription = "old";
    quillmere::LoadActivityDescription(session(), "100", "10");
    EXPECT_EQ(session().state.currentActivityDescription, "Inspect");
    quillmere::LoadActivityDescription(session(), "100", "99");
    EXPECT_EQ(session().state.currentActivityDescription, "");
}

}  // namespace
