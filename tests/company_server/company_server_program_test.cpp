// company-server, run as the demo and the browser tests run it, talked to over HTTP.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "tests/company_server/stand_in_root.h"
#include "tests/support/http_exchange.h"
#include "tests/support/run_program.h"
#include "tests/support/running_program.h"

namespace {

namespace fs = std::filesystem;
using company_server_testing::kSampleDownload;
using company_server_testing::StandInRoot;
using company_server_testing::uploadDocument;
using testing::HasSubstr;
using testing_support::HttpReply;
using testing_support::HttpRequest;
using testing_support::readFile;
using testing_support::RunningProgram;
using testing_support::TempRoot;
using testing_support::writeFile;

const std::string kProgram = std::string(TAVIRO_BINARY_DIR) + "/bin/company-server";
const std::string kTool = std::string(TAVIRO_BINARY_DIR) + "/bin/quillmere";
const std::string kPage = "http://127.0.0.1:8123";

class CompanyServer : public ::testing::Test {
  protected:
    void SetUp() override {
        server = std::make_unique<RunningProgram>(
            kProgram,
            std::vector<std::string>{"--root", machine.dir().string(), "--origin", kPage,
                                     "--origin", "http://localhost:8123", "--seed",
                                     kSampleDownload},
            (scratch.dir() / "stderr").string());
        ASSERT_GT(server->port(), 0) << server->firstLine() << server->errors();
    }

    HttpReply exchange(HttpRequest request) {
        return testing_support::httpExchange(server->port(), std::move(request));
    }
    HttpReply get(const std::string& target, std::map<std::string, std::string> headers = {}) {
        return exchange({"GET", target, std::move(headers), ""});
    }

    StandInRoot machine;
    TempRoot scratch{false};
    std::unique_ptr<RunningProgram> server;
};

MATCHER_P(Status, code, "") {
    *result_listener << "status " << arg.status << ", body \"" << arg.body << "\"";
    return arg.status == code;
}

TEST_F(CompanyServer, AnnouncesItselfLogsAndStopsCleanly) {
    EXPECT_THAT(server->firstLine(),
                testing::MatchesRegex(
                    "The company server stand-in is serving .* at http://127\\.0\\.0\\.1:[0-9]+"));
    get("/orders?engineer=E1042");
    EXPECT_EQ(server->stop(SIGTERM), 0);
    EXPECT_THAT(server->errors(), testing::ContainsRegex("GET /orders 200 [0-9]+ms"));

    const auto version =
        testing_support::runProgram(kProgram, {"--version"}, scratch.dir().string());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "company-server 1.0.0\n");
    const auto missing = testing_support::runProgram(
        kProgram, {"--root", (machine.dir() / "none").string()}, scratch.dir().string());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_THAT(missing.err, HasSubstr("does not exist"));
    EXPECT_EQ(
        testing_support::runProgram(kProgram, {"--port", "x", "--root", machine.dir().string()},
                                    scratch.dir().string())
            .exitCode,
        2);
}

TEST_F(CompanyServer, CorsOnlyForTheApplicationsOrigins) {
    const HttpReply allowed = get("/orders?engineer=E1042", {{"Origin", kPage}});
    EXPECT_THAT(allowed, Status(200));
    EXPECT_EQ(allowed.header("access-control-allow-origin"), kPage);
    EXPECT_EQ(allowed.header("vary"), "Origin");
    EXPECT_EQ(allowed.body, readFile(kSampleDownload));

    const HttpReply foreign = get("/orders?engineer=E1042", {{"Origin", "http://evil.example"}});
    EXPECT_FALSE(foreign.has("access-control-allow-origin"));

    const HttpReply preflight = exchange({"OPTIONS",
                                          "/upload?name=u1",
                                          {{"Origin", "http://localhost:8123"},
                                           {"Access-Control-Request-Method", "POST"},
                                           {"Access-Control-Request-Headers", "content-type"}},
                                          ""});
    EXPECT_THAT(preflight, Status(204));
    EXPECT_EQ(preflight.header("access-control-allow-origin"), "http://localhost:8123");
    EXPECT_EQ(preflight.header("access-control-allow-methods"), "GET, POST, OPTIONS");
    EXPECT_EQ(preflight.header("access-control-allow-headers"), "Content-Type");

    const HttpReply foreignPreflight =
        exchange({"OPTIONS",
                  "/upload?name=u1",
                  {{"Origin", "http://evil.example"}, {"Access-Control-Request-Method", "POST"}},
                  ""});
    EXPECT_THAT(foreignPreflight, Status(403));
    EXPECT_FALSE(foreignPreflight.has("access-control-allow-origin"));

    // A foreign page's upload (a form needs no preflight) changes nothing.
    const HttpReply foreignUpload =
        exchange({"POST",
                  "/upload?name=u1",
                  {{"Origin", "http://evil.example"}, {"Content-Type", "text/plain"}},
                  uploadDocument("<record ServiceOrder=\"_1\" State=\"N\"/>")});
    EXPECT_THAT(foreignUpload, Status(403));
    EXPECT_FALSE(fs::exists(machine.standIn("reports/u1")));
}

TEST_F(CompanyServer, UploadAnswersTheReportAndTheNextDownloadReflectsIt) {
    get("/orders?engineer=E1042");
    const std::string upload = uploadDocument(
        "<record ServiceOrder=\"SO-99999\" State=\"M\"><OrderStatus>15</OrderStatus></record>", "",
        "<ServiceOrder ID=\"SO-24017\" Activity=\"20\" State=\"O\"><record LineNumber=\"_1\" "
        "State=\"N\">"
        "<ServiceItem>GSK-34</ServiceItem></record></ServiceOrder>");
    const HttpReply report = exchange({"POST",
                                       "/upload?name=upload-20261207-1710.xml",
                                       {{"Origin", kPage}, {"Content-Type", "text/xml"}},
                                       upload});
    EXPECT_THAT(report, Status(200));
    EXPECT_EQ(report.header("access-control-allow-origin"), kPage);
    EXPECT_EQ(
        report.body,
        "<UploadReport><Upload File=\"upload-20261207-1710.xml\" Status=\"Error\">"
        "<Entry ID=\"1\" Order=\"SO-99999\" Activity=\"\" CostLine=\"\" CostType=\"\" "
        "Status=\"Error\" "
        "Description=\"Service order SO-99999 is not known to the server.\"/>"
        "<Entry ID=\"2\" Order=\"SO-24017\" Activity=\"20\" CostLine=\"_1\" CostType=\"Material\" "
        "Status=\"Completed\" Description=\"\"/></Upload></UploadReport>");
    EXPECT_THAT(get("/orders?engineer=E1042").body,
                HasSubstr("<record LineNumber=\"_1\" State=\"O\"><ServiceItem>GSK-34"));

    const HttpReply again = exchange({"POST", "/upload?name=upload-20261207-1710.xml", {}, upload});
    EXPECT_EQ(again.body, report.body);
    EXPECT_THAT(exchange({"POST", "/upload", {}, upload}), Status(400));
    EXPECT_THAT(get("/orders"), Status(400));
}

TEST_F(CompanyServer, ServesTheSynchronizersChangeFilesInNameOrder) {
    const fs::path company = machine.companyFolder("500");
    writeFile(company / "2026-12-07 09-20.xml", "<VOMasterData>second</VOMasterData>");
    writeFile(company / "2026-12-07 09-05.xml", "<VOMasterData>first</VOMasterData>");
    writeFile(company / "SC-NORTH.mdb", "database");
    writeFile(machine.dir() / "C" / "Inetpub" / "wwwroot" / "MasterData" / "secret.xml", "secret");

    const HttpReply listing = get("/masterdata/500/", {{"Origin", kPage}});
    EXPECT_THAT(listing, Status(200));
    EXPECT_EQ(listing.body, R"(["2026-12-07 09-05.xml","2026-12-07 09-20.xml"])");
    EXPECT_EQ(listing.header("access-control-allow-origin"), kPage);
    EXPECT_EQ(get("/masterdata/500/2026-12-07%2009-20.xml").body,
              "<VOMasterData>second</VOMasterData>");

    EXPECT_THAT(get("/masterdata/500/SC-NORTH.mdb"), Status(404));
    EXPECT_THAT(get("/masterdata/501/"), Status(404));
    for (const std::string target :
         {"/masterdata/500/..%2fsecret.xml", "/masterdata/500/%2e%2e", "/masterdata/../secret.xml",
          "/masterdata/%2e%2e/secret.xml", "/masterdata/..%2f500/"}) {
        const HttpReply refused = get(target);
        EXPECT_TRUE(refused.status == 400 || refused.status == 404)
            << target << " gave " << refused.status;
        EXPECT_THAT(refused.body, testing::Not(HasSubstr("secret"))) << target;
    }
}

TEST_F(CompanyServer, PackageIsWhatExplodeZipInstalls) {
    EXPECT_THAT(get("/masterdata/package"), Status(404));
    const std::string database = "SQLite format 3 stand-in \x01\x02\x03 of SC-NORTH";
    writeFile(machine.standIn("packages/SC-NORTH.mdb"), database);
    const HttpReply package = get("/masterdata/package", {{"Origin", kPage}});
    ASSERT_THAT(package, Status(200));
    EXPECT_EQ(package.header("content-disposition"), "attachment; filename=\"SC-NORTH.exe\"");
    EXPECT_EQ(package.header("x-service-center"), "SC-NORTH");
    EXPECT_THAT(package.header("access-control-expose-headers"), HasSubstr("X-Service-Center"));
    EXPECT_EQ(get("/masterdata/package?center=SC-NORTH").status, 200);
    EXPECT_THAT(get("/masterdata/package?center=SC-SOUTH"), Status(404));
    EXPECT_THAT(get("/masterdata/package?center=..%2fSC-NORTH"), Status(400));

    // The laptop saves it as <center>.exe in its master-data folder and unpacks it.
    TempRoot laptop;
    const fs::path folder = laptop.dir() / "C" / "Taviro Quillmere" / "MasterData";
    writeFile(folder / "SC-NORTH.exe", package.body);
    const auto unpacked = testing_support::runProgram(
        kTool, {"--root", laptop.dir().string(), "call", "ExplodeZip", "SC-NORTH"},
        scratch.dir().string());
    EXPECT_EQ(unpacked.exitCode, 0) << unpacked.err;
    EXPECT_EQ(readFile(folder / "SC-NORTH.mdb"), database);

    writeFile(machine.standIn("packages/SC-SOUTH.mdb"), database);
    EXPECT_THAT(get("/masterdata/package"), Status(400));
}

}  // namespace
