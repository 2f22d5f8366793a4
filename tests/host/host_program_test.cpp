// quillmere serve, run as a user runs it, talked to over HTTP byte for byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/http_exchange.h"
#include "tests/support/run_program.h"
#include "tests/support/running_program.h"
#include "tests/support/temp_root.h"

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::Not;
using testing_support::HttpReply;
using testing_support::HttpRequest;
using testing_support::readFile;
using testing_support::RunningProgram;
using testing_support::TempRoot;
using testing_support::writeFile;

const std::string kTool = std::string(TAVIRO_BINARY_DIR) + "/bin/quillmere";
const std::string kFieldMapper = std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml";
const std::string kIndex = "<!doctype html><title>Quillmere</title>\n";
const std::string kSecret = "a file next to the application that must never be served\n";

// A machine root, an application folder with a page and a module, a folder of delivered data,
// and a secret file beside them; the host is started on them.
class Host : public ::testing::Test {
  protected:
    void SetUp() override {
        writeFile(appDir() / "index.html", kIndex);
        writeFile(appDir() / "js" / "app.js", "export const ready = true;\n");
        writeFile(files.dir() / "data" / "FieldMapper.xml", readFile(kFieldMapper));
        writeFile(files.dir() / "secret.txt", kSecret);
        start();
    }

    void start(std::vector<std::string> options = {}) {
        ::setenv("TAVIRO_APP_DIR", appDir().c_str(), 1);
        ::setenv("TAVIRO_DATA_DIR", (files.dir() / "data").c_str(), 1);
        std::vector<std::string> args = {"--root", machine.dir().string(), "serve"};
        args.insert(args.end(), options.begin(), options.end());
        host = std::make_unique<RunningProgram>(kTool, args, (files.dir() / "stderr").string());
        ::unsetenv("TAVIRO_APP_DIR");
        ::unsetenv("TAVIRO_DATA_DIR");
        ASSERT_GT(host->port(), 0) << host->firstLine() << host->errors();
        token = host->url().substr(host->url().find("token=") + 6);
    }

    fs::path appDir() const { return files.dir() / "app"; }
    int port() const { return host->port(); }
    std::string self() const { return "127.0.0.1:" + std::to_string(port()); }

    HttpReply exchange(HttpRequest request) {
        return testing_support::httpExchange(port(), std::move(request));
    }
    HttpReply get(const std::string& target, std::map<std::string, std::string> headers = {}) {
        return exchange({"GET", target, std::move(headers), ""});
    }
    // An API request carrying the token as the page's cookie does.
    HttpReply api(const std::string& method, const std::string& target,
                  const std::string& body = "", std::map<std::string, std::string> headers = {}) {
        headers.emplace("Cookie", "quillmere_token=" + token);
        return exchange({method, target, std::move(headers), body});
    }
    std::string call(const std::string& jsonCall) {
        return api("POST", "/api/call", jsonCall).body;
    }

    TempRoot machine;
    TempRoot files{false};
    std::unique_ptr<RunningProgram> host;
    std::string token;
};

MATCHER_P(Status, code, "") {
    *result_listener << "status " << arg.status << ", body \"" << arg.body << "\"";
    return arg.status == code;
}

TEST_F(Host, AnnouncesItsUrlLogsRequestsAndStopsCleanly) {
    EXPECT_THAT(
        host->firstLine(),
        MatchesRegex(
            R"(Quillmere is serving the application at http://127\.0\.0\.1:[0-9]+/\?token=[0-9a-f]{48})"));
    EXPECT_THAT(get("/js/app.js?v=2"), Status(200));
    EXPECT_EQ(host->stop(SIGTERM), 0);
    EXPECT_THAT(host->errors(),
                HasSubstr("quillmere: Initialize answered {\"result\":\"\",\"byref\":{}}\n"));
    const std::string log = host->errors();
    EXPECT_TRUE(std::regex_search(log, std::regex("(^|\n)GET /js/app\\.js 200 [0-9]+ms\n"))) << log;

    start();
    EXPECT_EQ(host->stop(SIGINT), 0);
}

TEST_F(Host, PageRequestWithTheRightTokenHandsOutTheCookie) {
    const HttpReply page = get("/?token=" + token);
    EXPECT_THAT(page, Status(200));
    EXPECT_EQ(page.body, kIndex);
    EXPECT_EQ(page.header("content-type"), "text/html; charset=utf-8");
    EXPECT_EQ(page.header("set-cookie"),
              "quillmere_token=" + token + "; Path=/; HttpOnly; SameSite=Strict");

    // Static files need no token; a wrong token hands out nothing.
    EXPECT_FALSE(get("/?token=" + std::string(48, '0')).has("set-cookie"));
    const HttpReply module = get("/js/app.js");
    EXPECT_THAT(module, Status(200));
    EXPECT_EQ(module.header("content-type"), "text/javascript; charset=utf-8");
    EXPECT_FALSE(module.has("set-cookie"));
}

TEST_F(Host, ApiRefusesRequestsWithoutTheToken) {
    const std::string wrong(48, 'a');
    const std::vector<std::map<std::string, std::string>> refusedHeaders = {
        {},
        {{"Cookie", "quillmere_token=" + wrong}},
        {{"Cookie", "other=" + token}},
        {{"X-Quillmere-Token", wrong}},
        {{"X-Quillmere-Token", token.substr(0, 47)}},
    };
    for (const auto& headers : refusedHeaders) {
        const HttpReply refused = exchange({"POST", "/api/call", headers, R"(["LocalXmlExists"])"});
        EXPECT_THAT(refused, Status(403)) << testing::PrintToString(headers);
        EXPECT_EQ(refused.header("cache-control"), "no-store");
        EXPECT_THAT(refused.body, Not(HasSubstr("result")));
    }
    EXPECT_THAT(get("/api/config"), Status(403));

    const HttpReply byCookie = api("POST", "/api/call", R"(["LocalXmlExists"])",
                                   {{"Cookie", "a=b; quillmere_token=" + token + "; c=d"}});
    EXPECT_THAT(byCookie, Status(200));
    EXPECT_EQ(byCookie.body, R"({"result":true,"byref":{}})");
    const HttpReply byHeader =
        exchange({"POST", "/api/call", {{"X-Quillmere-Token", token}}, R"(["LocalXmlExists"])"});
    EXPECT_THAT(byHeader, Status(200));
    EXPECT_EQ(byHeader.header("cache-control"), "no-store");
    EXPECT_EQ(byHeader.header("content-type"), "application/json");
}

TEST_F(Host, RefusesRequestsAddressedToAnotherHost) {
    const std::string port = std::to_string(this->port());
    for (const std::string& foreign : std::vector<std::string>{
             "evil.example:" + port, "127.0.0.1", "127.0.0.1:" + std::to_string(this->port() + 1),
             "localhost.evil.example:" + port, "0.0.0.0:" + port}) {
        EXPECT_THAT(get("/", {{"Host", foreign}}), Status(421)) << foreign;
        EXPECT_THAT(api("POST", "/api/call", R"(["LocalXmlExists"])", {{"Host", foreign}}),
                    Status(421))
            << foreign;
    }
    EXPECT_THAT(get("/", {{"Host", "localhost:" + port}}), Status(200));
    EXPECT_THAT(get("/", {{"Host", "LOCALHOST:" + port}}), Status(200));
}

TEST_F(Host, RefusesRequestsFromAnotherOrigin) {
    const std::string port = std::to_string(this->port());
    for (const std::string& origin : std::vector<std::string>{
             std::string("http://evil.example"), std::string("null"), "https://127.0.0.1:" + port,
             "http://127.0.0.1:" + std::to_string(this->port() + 1)}) {
        const HttpReply refused =
            api("POST", "/api/call", R"(["LocalXmlExists"])", {{"Origin", origin}});
        EXPECT_THAT(refused, Status(403)) << origin;
        EXPECT_FALSE(refused.has("access-control-allow-origin"));
    }
    EXPECT_THAT(
        api("POST", "/api/call", R"(["LocalXmlExists"])", {{"Origin", "http://127.0.0.1:" + port}}),
        Status(200));
    EXPECT_THAT(
        api("POST", "/api/call", R"(["LocalXmlExists"])", {{"Origin", "http://localhost:" + port}}),
        Status(200));
}

TEST_F(Host, RefusesBodiesOver64MiB) {
    const HttpReply tooLarge = api("POST", "/api/call", std::string(64 * 1024 * 1024 + 1, ' '));
    EXPECT_THAT(tooLarge, Status(413));
    EXPECT_EQ(tooLarge.body, "Request bodies are limited to 64 MiB.\n");
    // The host goes on serving.
    EXPECT_THAT(api("POST", "/api/call", R"(["LocalXmlExists"])"), Status(200));
}

TEST_F(Host, StaticPathsCannotLeaveTheApplicationFolder) {
    for (const std::string& target : std::vector<std::string>{
             "/../secret.txt", "/%2e%2e/secret.txt", "/%2E%2E/secret.txt", "/js/../../secret.txt",
             "/js/%2e%2e/%2e%2e/secret.txt", "/..%2fsecret.txt", "/..%5csecret.txt",
             "//" + (files.dir() / "secret.txt").string().substr(1),
             "/%2f" + (files.dir() / "secret.txt").string().substr(1),
             "/delivered/../../secret.txt", "/delivered/%2e%2e/secret.txt"}) {
        const HttpReply reply = get(target);
        EXPECT_TRUE(reply.status == 403 || reply.status == 404)
            << target << " gave " << reply.status;
        EXPECT_THAT(reply.body, Not(HasSubstr("never be served"))) << target;
    }
    EXPECT_THAT(get("/missing.html"), Status(404));
    // A link inside the folder that points out of it is not followed.
    fs::create_symlink(files.dir() / "secret.txt", appDir() / "link.txt");
    EXPECT_THAT(get("/link.txt"), Status(403));
}

TEST_F(Host, ApiCallAnswersWhatBatchAnswers) {
    const std::vector<std::string> calls = {
        R"(["Set_Mode", "Offline"])",
        R"(["GetVariable", "Mode"])",
        R"(["GetI18NString", "SLBEU0262"])",
        R"(["getColumnHeadingsForHRA", 0, "ccsocservclabr"])",
        R"(["GetMailContent", "Nothing"])",
        R"(["NoSuchMethod"])",
        R"(["Set_Mode"])",
        R"(not json)",
        R"([[[[[[[[[[[[[[["deep"]]]]]]]]]]]]]]])",
        "",
    };
    writeFile(machine.dir() / "C" / "Taviro Quillmere" / "FieldMapper.xml", readFile(kFieldMapper));
    TempRoot other;
    writeFile(other.dir() / "C" / "Taviro Quillmere" / "FieldMapper.xml", readFile(kFieldMapper));
    std::string batchInput = "[\"Initialize\"]\n";
    for (const std::string& line : calls) batchInput += (line.empty() ? "[]" : line) + "\n";
    const auto batch = testing_support::runProgram(kTool, {"--root", other.dir().string(), "batch"},
                                                   files.dir().string(), batchInput);
    std::vector<std::string> expected;
    std::string rest = batch.out;
    for (size_t end; (end = rest.find('\n')) != std::string::npos; rest.erase(0, end + 1))
        expected.push_back(rest.substr(0, end));
    ASSERT_EQ(expected.size(), calls.size() + 1) << batch.out << batch.err;
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(call(calls[i]), expected[i + 1]) << calls[i];
    EXPECT_THAT(expected[4],
                MatchesRegex(R"(\{"result":"<COL .*","byref":\{"iCols":[1-9][0-9]*\}\})"));
}

TEST_F(Host, InitializeRunsBeforeTheFirstCallIsAnswered) {
    // Initialize made the order store, so the very first call finds it.
    EXPECT_EQ(call(R"(["LocalXmlExists"])"), R"({"result":true,"byref":{}})");
    EXPECT_TRUE(fs::exists(machine.dir() / "C" / "Taviro Quillmere" / "ZudivevEzored.xml"));
}

TEST_F(Host, ConfigStatusAndDeliveredData) {
    host->stop();
    start({"--company", "http://127.0.0.1:8099"});
    const HttpReply config = api("GET", "/api/config");
    EXPECT_THAT(config, Status(200));
    EXPECT_EQ(config.body, R"({"company":"http://127.0.0.1:8099","version":"1.0.0","root":")" +
                               machine.dir().string() + "\"}");
    EXPECT_EQ(api("GET", "/api/status").body, R"({"waitingForUpload":0})");

    writeFile(
        machine.dir() / "C" / "Taviro Quillmere" / "ZudivevEzored.xml",
        R"(<zudivevezored><ccsocservcordr><record ServiceOrder="_1" State="N"/><record ServiceOrder="2" State="O"/></ccsocservcordr>)"
        R"(<ccsocservcactv><ServiceOrder ID="_1" State="N"><record Activity="_1" State="NU"/><record Activity="_2" State="M"/></ServiceOrder></ccsocservcactv>)"
        R"(<ccsocservcmatl/><ccsocservclabr/><ccsocservcothr/><ccsocservchra/></zudivevezored>)");
    EXPECT_EQ(api("GET", "/api/status").body, R"({"waitingForUpload":2})");

    const HttpReply fieldMapper = get("/delivered/FieldMapper.xml");
    EXPECT_THAT(fieldMapper, Status(200));
    EXPECT_EQ(fieldMapper.body, readFile(kFieldMapper));
}

TEST_F(Host, PageStateIsKeptInTheRoot) {
    EXPECT_EQ(api("GET", "/api/state").body, "{}");
    const std::string state =
        R"({"engineer":"E1042","lastChangeFile":{"500":"2026-12-07 09-05.xml"}})";
    EXPECT_THAT(api("PUT", "/api/state", state), Status(200));
    EXPECT_EQ(api("GET", "/api/state").body, state);
    EXPECT_EQ(readFile(machine.dir() / "quillmere-app.json"), state);

    EXPECT_THAT(api("PUT", "/api/state", "[1, 2]"), Status(400));
    EXPECT_THAT(api("PUT", "/api/state", "{\"a\": "), Status(400));
    EXPECT_THAT(api("PUT", "/api/state", std::string(1024 * 1024 + 1, ' ')), Status(413));
    EXPECT_EQ(readFile(machine.dir() / "quillmere-app.json"), state);
}

TEST_F(Host, DownloadsAreSavedInTheDownloadFolder) {
    const std::string bytes = std::string("MZ\0\x01\xff", 5) + "archive";
    EXPECT_THAT(api("POST", "/api/download?name=SC-NORTH.exe", bytes), Status(409));

    call(R"(["RegisterDownloadPath"])");
    const HttpReply saved = api("POST", "/api/download?name=SC-NORTH.exe", bytes);
    EXPECT_THAT(saved, Status(200));
    EXPECT_EQ(saved.body, R"({"saved":"C:\\Taviro Quillmere\\MasterData\\SC-NORTH.exe"})");
    EXPECT_EQ(readFile(machine.dir() / "C" / "Taviro Quillmere" / "MasterData" / "SC-NORTH.exe"),
              bytes);

    for (const std::string& name : std::vector<std::string>{"", "..", "../x.exe", "%2e%2e%2fx.exe",
                                                            "a%2fb", "a%5cb", "a%00b"})
        EXPECT_THAT(api("POST", "/api/download?name=" + name, bytes), Status(400)) << name;
    EXPECT_FALSE(fs::exists(machine.dir() / "C" / "Taviro Quillmere" / "x.exe"));
}

}  // namespace
