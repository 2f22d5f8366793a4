// Choosing the current database, the shared connection, and unpacking the downloaded archive.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "component/masterdata/explode_zip.h"
#include "platform/failure.h"
#include "tests/component/masterdata/masterdata_machine.h"
#include "tests/component/masterdata/zip_builder.h"

namespace {

using ::testing::HasSubstr;

using platform::Hive;
using testing_support::ComponentMachine;
using testing_support::labelText;
using testing_support::MasterDataMachine;
using testing_support::readFile;
using testing_support::text;
using testing_support::writeFile;
using testing_support::ZipBuilder;

constexpr const char* kComponentKey = "SOFTWARE\\Taviro\\Taviro Quillmere";
constexpr const char* kDataSourceKey = "SOFTWARE\\ODBC\\odbc.ini\\Quillmere Master Data";

std::string registryText(const ComponentMachine& machine, const char* key, const char* name) {
    const auto value = machine.registry().valueExact(Hive::LocalMachine, key, name);
    return value ? value->dataAsText() : "<missing>";
}

TEST(LocalDatabase, SwitchingWritesOnlyValuesThatExist) {
    ComponentMachine machine;
    machine.call("Initialize");
    std::vector<quillmere::Variant> args{text("SC7")};
    EXPECT_TRUE(machine.client().invoke("SetCurrentmdb", args).succeeded);
    EXPECT_EQ(args[0], text("SC7"));  // handed back unchanged
    std::vector<quillmere::Variant> name{text("SC7.mdb")};
    EXPECT_TRUE(machine.client().invoke("SetODBCDataBase", name).succeeded);
    EXPECT_EQ(registryText(machine, kComponentKey, "Currentmdb"), "SC7");
    EXPECT_EQ(registryText(machine, kDataSourceKey, "DBQ"),
              "C:\\Taviro Quillmere\\MasterData\\SC7.mdb");

    auto registry = machine.registry();
    registry.deleteValue(Hive::LocalMachine, kComponentKey, "Currentmdb");
    registry.deleteValue(Hive::LocalMachine, kDataSourceKey, "DBQ");
    machine.call("SetCurrentmdb", {text("SC8")});
    machine.call("SetODBCDataBase", {text("SC8.mdb")});
    EXPECT_EQ(registryText(machine, kComponentKey, "Currentmdb"), "<missing>");
    EXPECT_EQ(registryText(machine, kDataSourceKey, "DBQ"), "<missing>");
}

TEST(LocalDatabase, SharedConnectionOpensTheDataSourceAndCloses) {
    MasterDataMachine machine;
    machine.execute("INSERT INTO UNITS VALUES ('500','kg','kilogram','Mass')");
    machine.call("OpenDataBase");
    EXPECT_THAT(machine.callText("MasterData", {text("UNIT")}), HasSubstr("kilogram"));
    machine.call("CloseDataBase");
    EXPECT_FALSE(machine.invoke("MasterData", {text("UNIT")}).succeeded);
    EXPECT_TRUE(machine.invoke("CloseDataBase").succeeded);  // closing twice is harmless

    machine.call("SetODBCDataBase", {text("MISSING.mdb")});
    const auto failed = machine.invoke("OpenDataBase");
    EXPECT_FALSE(failed.succeeded);
    EXPECT_EQ(failed.code, platform::failure::kDatabase);
}

class ExplodeZip : public ::testing::Test {
  protected:
    ExplodeZip() { machine.initializeWithFieldMapper(); }
    std::filesystem::path inFolder(const std::string& name) const {
        return machine.root().map("C:\\Taviro Quillmere\\MasterData\\" + name);
    }
    ComponentMachine machine;
};

TEST_F(ExplodeZip, ExtractsTheArchiveBehindTheProgramStub) {
    writeFile(inFolder("SC1.mdb"), "old database");
    const std::string stub = "MZ\x90\0 self-extracting program stub" + std::string(300, 'x');
    writeFile(inFolder("SC1.exe"), ZipBuilder()
                                       .add("SC1.mdb", "new database")
                                       .add("docs/")
                                       .add("docs/readme.txt", "hello")
                                       .build(stub));
    EXPECT_TRUE(machine.call("ExplodeZip", {text("SC1")}).isEmpty());
    EXPECT_EQ(readFile(inFolder("SC1.mdb")), "new database");
    EXPECT_EQ(readFile(inFolder("docs/readme.txt")), "hello");
    EXPECT_TRUE(machine.messages().shown.empty());
}

TEST_F(ExplodeZip, AlsoReadsArchivesWhoseOffsetsIgnoreTheStub) {
    writeFile(inFolder("SC2.exe"), ZipBuilder().add("SC2.mdb", "db").build("MZstub", false));
    machine.call("ExplodeZip", {text("SC2")});
    EXPECT_EQ(readFile(inFolder("SC2.mdb")), "db");
}

TEST_F(ExplodeZip, MissingArchiveShowsTheMessageAndReturns) {
    const auto outcome = machine.invoke("ExplodeZip", {text("SC9")});
    ASSERT_TRUE(outcome.succeeded);
    EXPECT_TRUE(outcome.result.isEmpty());
    ASSERT_EQ(machine.messages().shown.size(), 1u);
    const auto& message = machine.messages().shown[0];
    EXPECT_EQ(message.title, labelText("SLBEU0313"));
    EXPECT_EQ(message.text, labelText("SLBEU0310") + "SC9.exe" + "\r\n" + labelText("SLBEU0311") +
                                "C:\\Taviro Quillmere\\MasterData\\  " + "\r\n" + "\r\n" +
                                labelText("SLBEU0312"));
    EXPECT_EQ(message.icon, platform::MessageIcon::Error);
}

TEST_F(ExplodeZip, RefusesEntriesOutsideTheFolderAndBrokenArchives) {
    writeFile(inFolder("EVIL.exe"), ZipBuilder().add("../evil.txt", "x").build("MZ"));
    EXPECT_FALSE(machine.invoke("ExplodeZip", {text("EVIL")}).succeeded);
    EXPECT_FALSE(std::filesystem::exists(machine.root().map("C:\\Taviro Quillmere\\evil.txt")));

    writeFile(inFolder("ABS.exe"), ZipBuilder().add("/tmp/abs.txt", "x").build("MZ"));
    EXPECT_FALSE(machine.invoke("ExplodeZip", {text("ABS")}).succeeded);

    writeFile(inFolder("BROKEN.exe"), "MZ this program carries no archive");
    const auto broken = machine.invoke("ExplodeZip", {text("BROKEN")});
    EXPECT_FALSE(broken.succeeded);
    EXPECT_THAT(broken.description, HasSubstr("BROKEN.exe"));
}

// What is left in the master-data folder's parent besides the folder itself: a staging folder
// that survived would show here.
std::vector<std::string> besideTheFolder(const ComponentMachine& machine) {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(
             machine.root().map("C:\\Taviro Quillmere\\MasterData").parent_path()))
        if (item.path().filename().string().find("unpacking") != std::string::npos)
            names.push_back(item.path().filename().string());
    return names;
}

TEST_F(ExplodeZip, ARefusedArchiveLeavesNothingBehind) {
    writeFile(inFolder("SC1.mdb"), "old database");
    writeFile(inFolder("BAD.exe"), ZipBuilder()
                                       .add("SC1.mdb", "new database")
                                       .add("docs/")
                                       .add("docs/readme.txt", "hello")
                                       .add("../evil.txt", "x")
                                       .build("MZ"));
    EXPECT_FALSE(machine.invoke("ExplodeZip", {text("BAD")}).succeeded);
    EXPECT_EQ(readFile(inFolder("SC1.mdb")), "old database");
    EXPECT_FALSE(std::filesystem::exists(inFolder("docs")));
    EXPECT_TRUE(besideTheFolder(machine).empty());
}

TEST_F(ExplodeZip, ArchivesThatUnpackPastTheLimitsAreRefused) {
    writeFile(inFolder("SC1.mdb"), "old database");
    const std::filesystem::path archive = inFolder("BIG.exe");
    writeFile(archive, ZipBuilder().add("SC1.mdb", "123456").add("b.txt", "123456").build("MZ"));
    const quillmere::UnpackLimits small{.maxTotalBytes = 10};
    try {
        quillmere::ExtractZipArchive(machine.session(), archive, "C:\\Taviro Quillmere\\MasterData",
                                     small);
        ADD_FAILURE() << "the archive was extracted";
    } catch (const platform::PlatformError& error) {
        EXPECT_THAT(error.what(), HasSubstr("unpacks to more than 10 bytes"));
    }
    EXPECT_EQ(readFile(inFolder("SC1.mdb")), "old database");
    EXPECT_FALSE(std::filesystem::exists(inFolder("b.txt")));

    // 32 MiB of zeros deflate to a few tens of kilobytes: far past any real data file's ratio.
    writeFile(inFolder("BOMB.exe"),
              "MZ" + testing_support::DeflatedZip("SC1.mdb", std::string(32u << 20, '\0')));
    const auto bomb = machine.invoke("ExplodeZip", {text("BOMB")});
    EXPECT_FALSE(bomb.succeeded);
    EXPECT_THAT(bomb.description, HasSubstr("times its own size"));
    EXPECT_EQ(readFile(inFolder("SC1.mdb")), "old database");
    EXPECT_TRUE(besideTheFolder(machine).empty());
}

TEST_F(ExplodeZip, DeflatedEntriesStreamToDisk) {
    std::string data;
    for (int i = 0; i < 200000; ++i) data += std::to_string(i * 7919 % 100003) + ";";
    writeFile(inFolder("SC3.exe"), "MZ" + testing_support::DeflatedZip("SC3.mdb", data));
    machine.call("ExplodeZip", {text("SC3")});
    EXPECT_EQ(readFile(inFolder("SC3.mdb")), data);
    EXPECT_TRUE(besideTheFolder(machine).empty());
}

}  // namespace
