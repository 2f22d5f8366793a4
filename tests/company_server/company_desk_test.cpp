// The stand-in's orders and uploads in its server root: seeding, the repeated upload, the
// engineer an upload belongs to, and the server database's items.
#include "tools/company-server/core/company_desk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failure.h"
#include "tests/company_server/stand_in_root.h"
#include "tools/service/request_error.h"

namespace {

namespace fs = std::filesystem;
using company_server::CompanyDesk;
using company_server::ServerFiles;
using company_server_testing::kSampleDownload;
using company_server_testing::StandInRoot;
using company_server_testing::uploadDocument;
using taviro::service::RequestError;
using testing::HasSubstr;
using testing_support::readFile;
using testing_support::writeFile;

class Desk : public ::testing::Test {
  protected:
    CompanyDesk desk(const fs::path& seed = kSampleDownload) {
        return CompanyDesk(ServerFiles(machine.root(), seed), [this] {
            return company_server::openServerItemCatalog(machine.root());
        });
    }
    std::string ordersOf(const std::string& engineer) {
        return readFile(machine.standIn("orders/" + engineer + ".xml"));
    }

    StandInRoot machine;
};

int statusOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RequestError& error) {
        return error.status;
    }
    return 200;
}

TEST_F(Desk, EachEngineerIsSeededOnceFromTheSampleOrders) {
    CompanyDesk server = desk();
    EXPECT_EQ(server.orders("E1042"), readFile(kSampleDownload));
    writeFile(machine.standIn("orders/E1042.xml"), "<zudivevezored>kept</zudivevezored>");
    EXPECT_EQ(server.orders("E1042"), "<zudivevezored>kept</zudivevezored>");

    CompanyDesk unseeded = desk(machine.dir() / "no-such-seed.xml");
    EXPECT_EQ(unseeded.orders("E2"),
              "<zudivevezored><ccsocservcordr/><ccsocservcactv/><ccsocservcmatl/><ccsocservclabr/>"
              "<ccsocservcothr/><ccsocservchra/></zudivevezored>");
    for (const std::string engineer : {"", "..", "../E1042", "a/b", "a\\b"})
        EXPECT_EQ(statusOf([&] { server.orders(engineer); }), 400) << engineer;
}

TEST_F(Desk, RepeatedUploadNameGetsTheStoredReportAndChangesNothing) {
    CompanyDesk server = desk();
    server.orders("E1042");
    const std::string upload = uploadDocument(
        "", "",
        "<ServiceOrder ID=\"SO-24017\" Activity=\"20\" State=\"O\">"
        "<record LineNumber=\"_1\" State=\"N\"><ServiceItem>PMP-UPS25-60</ServiceItem></record>"
        "<record LineNumber=\"_2\" "
        "State=\"N\"><ServiceItem>UNKNOWN-1</ServiceItem></record></ServiceOrder>");
    const std::string report = server.upload("upload-1.xml", "", upload);
    EXPECT_THAT(report, HasSubstr("CostLine=\"_1\" CostType=\"Material\" Status=\"Completed\""));
    EXPECT_THAT(
        report,
        HasSubstr("CostLine=\"_2\" CostType=\"Material\" Status=\"Error\" "
                  "Description=\"Item UNKNOWN-1 is not in the server's item master data.\""));
    const std::string afterFirst = ordersOf("E1042");
    EXPECT_THAT(afterFirst, HasSubstr("<record LineNumber=\"_1\" State=\"O\">"));
    EXPECT_EQ(readFile(machine.standIn("uploads/upload-1.xml")), upload);
    EXPECT_EQ(readFile(machine.standIn("reports/upload-1.xml")), report);

    // The page lost the answer and sends the upload again under the same name.
    EXPECT_EQ(server.upload("upload-1.xml", "", upload), report);
    EXPECT_EQ(server.upload("upload-1.xml", "E1042", "not even XML"), report);
    EXPECT_EQ(ordersOf("E1042"), afterFirst);
    EXPECT_EQ(readFile(machine.standIn("uploads/upload-1.xml")), upload);
}

TEST_F(Desk, RefusedUploadsLeaveNoTrace) {
    CompanyDesk server = desk();
    server.orders("E1042");
    const std::string before = ordersOf("E1042");
    EXPECT_EQ(statusOf([&] { server.upload("bad.xml", "", "<zudivevezored>"); }), 400);
    EXPECT_EQ(statusOf([&] { server.upload("../bad.xml", "", uploadDocument("")); }), 400);
    EXPECT_EQ(statusOf([&] { server.upload("", "", uploadDocument("")); }), 400);
    EXPECT_FALSE(fs::exists(machine.standIn("uploads/bad.xml")));
    EXPECT_FALSE(fs::exists(machine.standIn("reports/bad.xml")));
    EXPECT_EQ(ordersOf("E1042"), before);
}

TEST_F(Desk, AnUploadBelongsToTheEngineerWhoseDocumentHoldsItsOrders) {
    CompanyDesk server = desk();
    server.orders("E1042");
    CompanyDesk empty = desk(machine.dir() / "no-such-seed.xml");
    empty.orders("E2000");
    const std::string change =
        uploadDocument("",
                       "<ServiceOrder ID=\"SO-24018\" State=\"O\"><record Activity=\"_9\" "
                       "State=\"N\"><ActivityStatus>15</ActivityStatus></record></ServiceOrder>");
    server.upload("u1", "", change);
    EXPECT_THAT(ordersOf("E1042"), HasSubstr("<record Activity=\"_9\" State=\"O\">"));
    EXPECT_THAT(ordersOf("E2000"), testing::Not(HasSubstr("_9")));

    // Only new orders and two engineers: the page must say whose it is.
    const std::string onlyNew = uploadDocument(
        "<record ServiceOrder=\"_1\" State=\"N\"><OrderStatus>15</OrderStatus></record>");
    EXPECT_EQ(statusOf([&] { server.upload("u2", "", onlyNew); }), 400);
    server.upload("u2", "E2000", onlyNew);
    EXPECT_THAT(ordersOf("E2000"), HasSubstr("ServiceOrder=\"_1\""));
}

TEST_F(Desk, ItemsMatchTheServerDatabaseWithOrWithoutTheProjectSegment) {
    const auto items = company_server::openServerItemCatalog(machine.root());
    EXPECT_TRUE(items->contains("PMP-UPS25-60"));
    EXPECT_TRUE(items->contains("         THR-RT200"));
    EXPECT_TRUE(items->contains("GSK-34"));
    EXPECT_FALSE(items->contains("pmp-ups25-60"));
    EXPECT_FALSE(items->contains("' OR '1'='1"));

    // Without the server database, the upload fails as a whole and nothing is applied.
    fs::remove(machine.dir() / "C" / "Data" / "quillmere.mdb");
    fs::create_directories(machine.dir() / "C" / "Data" / "quillmere.mdb");
    CompanyDesk server = desk();
    server.orders("E1042");
    const std::string before = ordersOf("E1042");
    EXPECT_THROW(
        server.upload(
            "u", "",
            uploadDocument("", "",
                           "<ServiceOrder ID=\"SO-24017\" Activity=\"20\" State=\"O\"><record "
                           "LineNumber=\"_1\" "
                           "State=\"N\"><ServiceItem>X</ServiceItem></record></ServiceOrder>")),
        platform::PlatformError);
    EXPECT_EQ(ordersOf("E1042"), before);
    EXPECT_FALSE(fs::exists(machine.standIn("reports/u")));
}

}  // namespace
