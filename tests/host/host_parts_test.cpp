// The host's parts in-process: the request guard, static path resolution and the page services.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <variant>

#include "platform/registry.h"
#include "tests/support/temp_root.h"
#include "tools/quillmere/host/page_services.h"
#include "tools/quillmere/host/request_guard.h"
#include "tools/quillmere/host/static_files.h"

namespace {

namespace fs = std::filesystem;
using quillmere::host::RequestGuard;
using quillmere::host::StaticRefusal;
using testing_support::readFile;
using testing_support::TempRoot;
using testing_support::writeFile;

TEST(RequestGuard, TokenComesFromItsCookieOrHeaderOnly) {
    const RequestGuard guard("0123abcd", 8080);
    EXPECT_TRUE(guard.tokenPresented("quillmere_token=0123abcd", ""));
    EXPECT_TRUE(guard.tokenPresented(" a=1 ;quillmere_token = 0123abcd ; b=2", ""));
    EXPECT_TRUE(guard.tokenPresented("", "0123abcd"));
    EXPECT_FALSE(guard.tokenPresented("", ""));
    EXPECT_FALSE(guard.tokenPresented("quillmere_token=", ""));
    EXPECT_FALSE(guard.tokenPresented("xquillmere_token=0123abcd", ""));
    EXPECT_FALSE(guard.tokenPresented("quillmere_token=0123abcde", ""));
    EXPECT_FALSE(guard.tokenPresented("quillmere_token=0123ABCD", "0123abc"));
    EXPECT_EQ(RequestGuard::cookieValue("a=1; b=2=3", "b"), "2=3");
}

TEST(RequestGuard, TokensAreFreshAndLong) {
    const std::string first = quillmere::host::makeToken();
    EXPECT_THAT(first, testing::MatchesRegex("[0-9a-f]{48}"));
    EXPECT_NE(first, quillmere::host::makeToken());
}

TEST(StaticFiles, ResolveInsideTheFolderOnly) {
    TempRoot temp(false);
    const fs::path app = temp.dir() / "app";
    writeFile(app / "index.html", "page");
    writeFile(app / "js" / "index.html", "module page");
    writeFile(app / "js" / "app.js", "js");
    using quillmere::host::resolveStaticFile;
    EXPECT_EQ(std::get<fs::path>(resolveStaticFile(app, "/")), app / "index.html");
    EXPECT_EQ(std::get<fs::path>(resolveStaticFile(app, "/js/")), app / "js" / "index.html");
    EXPECT_EQ(std::get<fs::path>(resolveStaticFile(app, "/js")), app / "js" / "index.html");
    EXPECT_EQ(std::get<fs::path>(resolveStaticFile(app, "/js/app.js")), app / "js" / "app.js");
    for (const char* path : {"", "js/app.js", "/../app/index.html", "/./index.html", "//index.html",
                             "/js//app.js", "/js\\app.js"})
        EXPECT_EQ(std::get<StaticRefusal>(resolveStaticFile(app, path)), StaticRefusal::Forbidden)
            << path;
    EXPECT_EQ(std::get<StaticRefusal>(resolveStaticFile(app, std::string("/index.html\0x", 13))),
              StaticRefusal::Forbidden);
    EXPECT_EQ(std::get<StaticRefusal>(resolveStaticFile(app, "/nothing.css")),
              StaticRefusal::NotFound);
    EXPECT_EQ(quillmere::host::contentTypeOf("a/B.CSS"), "text/css; charset=utf-8");
    EXPECT_EQ(quillmere::host::contentTypeOf("a/b.bin"), "application/octet-stream");
}

class PageServices : public ::testing::Test {
  protected:
    TempRoot machine;
    fs::path store() const {
        return machine.dir() / "C" / "Taviro Quillmere" / "ZudivevEzored.xml";
    }
};

TEST_F(PageServices, CountsEveryKindOfRecordWaitingForUpload) {
    EXPECT_EQ(quillmere::host::countWaitingForUpload(machine.root()), 0);
    writeFile(
        store(),
        "<zudivevezored>"
        "<ccsocservcordr><record ServiceOrder='1' State='M'/><record ServiceOrder='2' "
        "State='MU'/></ccsocservcordr>"
        "<ccsocservcactv><ServiceOrder ID='_1' State='N'><a Activity='_1' "
        "State='N'/></ServiceOrder></ccsocservcactv>"
        "<ccsocservcmatl><ServiceOrder ID='1' Activity='1' State='N'><l LineNumber='_2' State='N'/>"
        "<l LineNumber='3' State='O'/></ServiceOrder></ccsocservcmatl>"
        "<ccsocservclabr><ServiceOrder ID='' Activity='' State='O'><l LineNumber='H' "
        "State='M'/></ServiceOrder></ccsocservclabr>"
        "<ccsocservcothr/>"
        "<ccsocservchra><hra State='N'/><hra/></ccsocservchra>"
        "</zudivevezored>");
    // Groups are not records: the order, one activity, one material line, one labor line, one
    // hours registration.
    EXPECT_EQ(quillmere::host::countWaitingForUpload(machine.root()), 5);

    writeFile(store(), "<zudivevezored><ccsocservcordr>");
    EXPECT_THROW(quillmere::host::countWaitingForUpload(machine.root()),
                 quillmere::host::RequestError);
}

TEST_F(PageServices, StateMustBeAShallowJsonObject) {
    std::string deep = "{\"a\":";
    for (int i = 0; i < 40; ++i) deep += "[";
    for (int i = 0; i < 40; ++i) deep += "]";
    deep += "}";
    for (const std::string& refused :
         {std::string("[]"), std::string("\"text\""), std::string("{"), deep}) {
        try {
            quillmere::host::writePageState(machine.root(), refused);
            ADD_FAILURE() << refused;
        } catch (const quillmere::host::RequestError& error) {
            EXPECT_EQ(error.status, 400) << refused;
        }
    }
    EXPECT_FALSE(fs::exists(machine.dir() / "quillmere-app.json"));

    // A stored file that was damaged outside the host is reported and left alone.
    writeFile(machine.dir() / "quillmere-app.json", "{broken");
    EXPECT_THROW(quillmere::host::readPageState(machine.root()), quillmere::host::RequestError);
    EXPECT_EQ(readFile(machine.dir() / "quillmere-app.json"), "{broken");
}

TEST_F(PageServices, DownloadNeedsAnExistingDownloadFolder) {
    platform::Registry registry(machine.root());
    registry.createKey(platform::Hive::CurrentUser, "Software\\Microsoft\\Internet Explorer");
    registry.setValue(platform::Hive::CurrentUser, "Software\\Microsoft\\Internet Explorer",
                      platform::RegistryValue::string("Download Directory", "C:\\Downloads\\"));
    try {
        quillmere::host::saveDownload(machine.root(), "a.exe", "x");
        ADD_FAILURE();
    } catch (const quillmere::host::RequestError& error) {
        EXPECT_EQ(error.status, 409);
    }
    fs::create_directories(machine.dir() / "C" / "downloads");
    EXPECT_EQ(quillmere::host::saveDownload(machine.root(), "a.exe", "x"), "C:\\Downloads\\a.exe");
    EXPECT_EQ(readFile(machine.dir() / "C" / "downloads" / "a.exe"), "x");
}

}  // namespace
