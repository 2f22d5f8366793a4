// Reviewing an upload against the engineer's server document: the report's entries, and what
// the accepted records change in the document.
#include "tools/company-server/core/upload_review.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/company_server/stand_in_root.h"

namespace {

using company_server::ReportEntry;
using company_server_testing::ListedItems;
using company_server_testing::uploadDocument;

// The engineer's document on the server: order SO-1 with activity 10 and one material line.
const char kServerDocument[] =
    "<zudivevezored>"
    "<ccsocservcordr><record ServiceOrder=\"SO-1\" State=\"O\"><OrderStatus>15</OrderStatus>"
    "<Description>old</Description></record></ccsocservcordr>"
    "<ccsocservcactv><ServiceOrder ID=\"SO-1\" State=\"O\"><record Activity=\"10\" State=\"O\">"
    "<ActivityStatus>15</ActivityStatus></record></ServiceOrder></ccsocservcactv>"
    "<ccsocservcmatl><ServiceOrder ID=\"SO-1\" Activity=\"10\" State=\"O\"><record "
    "LineNumber=\"1\" "
    "State=\"O\"><ServiceItem>PMP</ServiceItem></record></ServiceOrder></ccsocservcmatl>"
    "<ccsocservclabr/><ccsocservcothr/><ccsocservchra/></zudivevezored>";

std::string line(const std::string& number, const std::string& item,
                 const std::string& state = "N") {
    return "<record LineNumber=\"" + number + "\" State=\"" + state + "\"><ServiceItem>" + item +
           "</ServiceItem></record>";
}

class Review : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.parse(kServerDocument)); }

    std::vector<ReportEntry> review(const std::string& uploadText) {
        platform::xml::Document upload;
        EXPECT_TRUE(upload.parse(uploadText));
        return company_server::reviewUpload(upload.root(), server, items);
    }
    std::string serverText() const { return server.serialize(); }

    platform::xml::Document server;
    ListedItems items{{"PMP", "         SEAL"}};
};

// "order/activity/line/type: Completed" or ": Error (description)".
std::vector<std::string> summary(const std::vector<ReportEntry>& entries) {
    std::vector<std::string> lines;
    for (const ReportEntry& e : entries)
        lines.push_back(e.order + "/" + e.activity + "/" + e.costLine + "/" + e.costType + ": " +
                        (e.completed ? "Completed" : "Error (" + e.description + ")"));
    return lines;
}

TEST_F(Review, AcceptedRecordsReplaceTheServersAndReturnToStateO) {
    const auto entries = review(uploadDocument(
        "<record ServiceOrder=\"SO-1\" "
        "State=\"M\"><OrderStatus>20</OrderStatus><Description>new</Description></record>",
        "<ServiceOrder ID=\"SO-1\" State=\"O\"><record Activity=\"10\" "
        "State=\"M\"><ActivityStatus>20</ActivityStatus></record></ServiceOrder>",
        "<ServiceOrder ID=\"SO-1\" Activity=\"10\" State=\"O\">" + line("_5", "PMP") +
            "</ServiceOrder>"));
    EXPECT_THAT(summary(entries), testing::ElementsAre("SO-1///: Completed", "SO-1/10//: Completed",
                                                       "SO-1/10/_5/Material: Completed"));
    EXPECT_EQ(
        serverText(),
        "<zudivevezored>"
        "<ccsocservcordr><record ServiceOrder=\"SO-1\" State=\"O\"><OrderStatus>20</OrderStatus>"
        "<Description>new</Description></record></ccsocservcordr>"
        "<ccsocservcactv><ServiceOrder ID=\"SO-1\" State=\"O\"><record Activity=\"10\" State=\"O\">"
        "<ActivityStatus>20</ActivityStatus></record></ServiceOrder></ccsocservcactv>"
        "<ccsocservcmatl><ServiceOrder ID=\"SO-1\" Activity=\"10\" State=\"O\">"
        "<record LineNumber=\"1\" State=\"O\"><ServiceItem>PMP</ServiceItem></record>" +
            line("_5", "PMP", "O") +
            "</ServiceOrder></ccsocservcmatl><ccsocservclabr/><ccsocservcothr/><ccsocservchra/></"
            "zudivevezored>");
}

TEST_F(Review, NewOrdersKeepTheirProvisionalNumbersAndGetGroups) {
    const auto entries = review(uploadDocument(
        "<record ServiceOrder=\"_1\" State=\"N\"><OrderStatus>15</OrderStatus></record>",
        "<ServiceOrder ID=\"_1\" State=\"N\"><record Activity=\"_2\" "
        "State=\"N\"><ActivityStatus>15</ActivityStatus></record></ServiceOrder>",
        "", "",
        "<ServiceOrder ID=\"_1\" Activity=\"_2\" State=\"N\"><record LineNumber=\"_3\" "
        "State=\"N\"><Unit>km</Unit></record></ServiceOrder>"));
    EXPECT_THAT(summary(entries), testing::ElementsAre("_1///: Completed", "_1/_2//: Completed",
                                                       "_1/_2/_3/Other: Completed"));
    const std::string text = serverText();
    EXPECT_THAT(text, testing::HasSubstr(
                          "<record ServiceOrder=\"_1\" "
                          "State=\"O\"><OrderStatus>15</OrderStatus></record></ccsocservcordr>"));
    EXPECT_THAT(text,
                testing::HasSubstr(
                    "<ServiceOrder ID=\"_1\" State=\"O\"><record Activity=\"_2\" State=\"O\">"));
    EXPECT_THAT(text, testing::HasSubstr("<ccsocservcothr><ServiceOrder ID=\"_1\" Activity=\"_2\" "
                                         "State=\"O\"><record LineNumber=\"_3\" State=\"O\">"));
}

TEST_F(Review, UnknownOrdersThatAreNotProvisionalAreRefusedWithTheirRecords) {
    const std::string before = serverText();
    const auto entries = review(uploadDocument(
        "<record ServiceOrder=\"SO-9\" State=\"M\"><OrderStatus>15</OrderStatus></record><record "
        "ServiceOrder=\"\" State=\"N\"/>",
        "<ServiceOrder ID=\"SO-9\" State=\"O\"><record Activity=\"10\" "
        "State=\"M\"/></ServiceOrder>",
        "<ServiceOrder ID=\"SO-9\" Activity=\"10\" State=\"O\">" + line("2", "PMP", "M") +
            "</ServiceOrder>"));
    EXPECT_THAT(summary(entries),
                testing::ElementsAre(
                    "SO-9///: Error (Service order SO-9 is not known to the server.)",
                    "///: Error (The record names no service order.)",
                    "SO-9/10//: Error (Service order SO-9 is not known to the server.)",
                    "SO-9/10/2/Material: Error (Service order SO-9 is not known to the server.)"));
    EXPECT_EQ(serverText(), before);
}

TEST_F(Review, MaterialLinesNeedAnItemTheServerKnows) {
    const auto entries = review(uploadDocument(
        "", "",
        "<ServiceOrder ID=\"SO-1\" Activity=\"10\" State=\"O\">" + line("1", "PMP", "M") +
            line("_2", "NOPE") + line("_3", "  ") + "<record LineNumber=\"_4\" State=\"N\"/>" +
            line("_5", "SEAL") + "</ServiceOrder>"));
    EXPECT_THAT(
        summary(entries),
        testing::ElementsAre(
            "SO-1/10/1/Material: Completed",
            "SO-1/10/_2/Material: Error (Item NOPE is not in the server's item master data.)",
            "SO-1/10/_3/Material: Error (The material line names no item.)",
            "SO-1/10/_4/Material: Error (The material line names no item.)",
            // The catalog decides how item codes compare (see the database's).
            "SO-1/10/_5/Material: Error (Item SEAL is not in the server's item master data.)"));
    EXPECT_THAT(serverText(), testing::Not(testing::HasSubstr("NOPE")));
}

TEST_F(Review, HoursRegistrationsNeedNoOrder) {
    const auto entries = review(
        uploadDocument("", "", "",
                       "<ServiceOrder ID=\"\" Activity=\"\" State=\"O\"><record LineNumber=\"H-1\" "
                       "State=\"M\"><EndDate>2</EndDate></record></ServiceOrder>"));
    EXPECT_THAT(summary(entries), testing::ElementsAre("//H-1/Labor: Completed"));
    EXPECT_THAT(serverText(),
                testing::HasSubstr("<ccsocservclabr><ServiceOrder ID=\"\" Activity=\"\" "
                                   "State=\"O\"><record LineNumber=\"H-1\" State=\"O\">"));
}

TEST(ReportText, StartsWithItsRootAndNumbersTheEntries) {
    ReportEntry order;
    order.order = "SO-1";
    order.completed = true;
    ReportEntry line;
    line.order = "SO-1";
    line.activity = "10";
    line.costLine = "2";
    line.costType = "Material";
    line.description = "Item \"A&B\" <x> is unknown";
    EXPECT_EQ(company_server::reportText("upload 1.xml", {order, line}),
              "<UploadReport><Upload File=\"upload 1.xml\" Status=\"Error\">"
              "<Entry ID=\"1\" Order=\"SO-1\" Activity=\"\" CostLine=\"\" CostType=\"\" "
              "Status=\"Completed\" Description=\"\"/>"
              "<Entry ID=\"2\" Order=\"SO-1\" Activity=\"10\" CostLine=\"2\" CostType=\"Material\" "
              "Status=\"Error\" "
              "Description=\"Item &quot;A&amp;B&quot; &lt;x> is unknown\"/>"
              "</Upload></UploadReport>");
    EXPECT_EQ(company_server::reportText("u", {order}),
              "<UploadReport><Upload File=\"u\" Status=\"Completed\"><Entry ID=\"1\" "
              "Order=\"SO-1\" Activity=\"\" "
              "CostLine=\"\" CostType=\"\" Status=\"Completed\" "
              "Description=\"\"/></Upload></UploadReport>");
    EXPECT_EQ(company_server::reportText("u", {}),
              "<UploadReport><Upload File=\"u\" Status=\"Completed\"/></UploadReport>");
}

}  // namespace
