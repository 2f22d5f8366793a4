#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/registry.h"
#include "tests/component/support/component_fixture.h"

namespace {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryValue;
using quillmere::Variant;
using testing_support::ComponentMachine;

const std::string kComponentKey = "SOFTWARE\\Taviro\\Taviro Quillmere";
const std::string kHandlerKey = "SOFTWARE\\Microsoft\\DataFactory\\HandlerInfo";
const std::string kSourceKey = "SOFTWARE\\ODBC\\odbc.ini\\Quillmere Master Data";
const std::string kInitialStore =
    "<zudivevezored><ccsocservcordr/><ccsocservcactv/><ccsocservcmatl/><ccsocservclabr/>"
    "<ccsocservcothr/><ccsocservchra/></zudivevezored>";

std::vector<RegistryValue> valuesOf(const ComponentMachine& machine, const std::string& key) {
    return machine.registry().values(Hive::LocalMachine, key);
}

void setValue(const ComponentMachine& machine, Hive hive, const std::string& key,
              const RegistryValue& value) {
    auto registry = machine.registry();
    registry.createKey(hive, key);
    registry.setValue(hive, key, value);
}

std::vector<std::string> entriesBelow(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Initialize, FirstStartCreatesFoldersSettingsLogAndStore) {
    ComponentMachine machine;
    const Variant result = machine.call("Initialize");
    EXPECT_EQ(result, Variant::text(""));

    EXPECT_EQ(entriesBelow(machine.temp().dir() / "C"),
              (std::vector<std::string>{"Taviro Quillmere", "Taviro Quillmere/MasterData",
                                        "Taviro Quillmere/ZudivevEzored.xml",
                                        "Taviro Quillmere/log.txt"}));
    EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml"), kInitialStore);
    EXPECT_TRUE(fs::is_regular_file(machine.installPath("log.txt")));
    EXPECT_EQ(machine.log(), "");

    auto registry = machine.registry();
    EXPECT_EQ(registry.subkeys(Hive::LocalMachine, "SOFTWARE\\Taviro"),
              std::vector<std::string>{"Taviro Quillmere"});
    EXPECT_EQ(valuesOf(machine, kComponentKey), (std::vector<RegistryValue>{
                                                    RegistryValue::string("Currentmdb", ""),
                                                    RegistryValue::string("MasterDataPath", ""),
                                                    RegistryValue::dword("OrderId", 1),
                                                    RegistryValue::dword("ActivityId", 1),
                                                    RegistryValue::dword("LineId", 1),
                                                    RegistryValue::string("Error", ""),
                                                    RegistryValue::string("Mode", "Online"),
                                                    RegistryValue::string("MasterData", "1"),
                                                }));
    EXPECT_EQ(machine.callText("Get_Error"), "");
}

TEST(Initialize, SecondStartKeepsWhatExists) {
    ComponentMachine machine;
    machine.call("Initialize");
    const std::string store =
        "<zudivevezored><ccsocservcordr><record><orno>1</orno></record></ccsocservcordr>"
        "<ccsocservcactv/><ccsocservcmatl/><ccsocservclabr/><ccsocservcothr/>"
        "<ccsocservchra/></zudivevezored>";
    machine.writeInstallFile("ZudivevEzored.xml", store);
    machine.writeInstallFile("log.txt", "earlier\r\n");
    auto registry = machine.registry();
    registry.setValue(Hive::LocalMachine, kComponentKey, RegistryValue::string("Mode", "Offline"));
    registry.setValue(Hive::LocalMachine, kComponentKey, RegistryValue::dword("OrderId", 7));
    registry.setValue(Hive::LocalMachine, kComponentKey,
                      RegistryValue::string("Error", "an old failure"));
    registry.deleteValue(Hive::LocalMachine, kComponentKey, "MasterDataPath");

    EXPECT_EQ(machine.call("Initialize"), Variant::text(""));
    EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml"), store);
    EXPECT_EQ(machine.log(), "earlier\r\n");
    const auto values = valuesOf(machine, kComponentKey);
    EXPECT_EQ(registry.valueExact(Hive::LocalMachine, kComponentKey, "Mode")->text, "Offline");
    EXPECT_EQ(registry.valueExact(Hive::LocalMachine, kComponentKey, "OrderId")->number, 7u);
    EXPECT_EQ(registry.valueExact(Hive::LocalMachine, kComponentKey, "Error")->text, "");
    // The missing value is added again, after the others.
    EXPECT_EQ(values.back(), RegistryValue::string("MasterDataPath", ""));
    EXPECT_EQ(values.size(), 8u);
}

TEST(Initialize, RemembersTheCurrentDatabaseAndRegistersItsFile) {
    ComponentMachine machine;
    setValue(machine, Hive::LocalMachine, kComponentKey,
             RegistryValue::string("Currentmdb", "SC1"));
    machine.call("Initialize");
    EXPECT_EQ(machine.session().state.currentDatabaseName, "SC1");
    auto registry = machine.registry();
    EXPECT_EQ(registry.valueExact(Hive::LocalMachine, kComponentKey, "Currentmdb")->text, "SC1");
    EXPECT_EQ(registry.valueExact(Hive::LocalMachine, kSourceKey, "DBQ")->text,
              "C:\\Taviro Quillmere\\MasterData\\SC1.mdb");
}

TEST(Initialize, InstallFolderWithoutMasterDataGetsOnlyTheSubfolder) {
    ComponentMachine machine;
    machine.writeInstallFile("UploadReport.xml", "<report/>");
    EXPECT_EQ(machine.call("Initialize"), Variant::text(""));
    EXPECT_TRUE(fs::is_directory(machine.installPath("MasterData")));
    EXPECT_EQ(machine.readInstallFile("UploadReport.xml"), "<report/>");

    // Folders matched without regard to case are not made twice.
    ComponentMachine other;
    fs::create_directories(other.temp().dir() / "C" / "TAVIRO QUILLMERE" / "masterdata");
    other.call("Initialize");
    EXPECT_EQ(
        entriesBelow(other.temp().dir() / "C"),
        (std::vector<std::string>{"TAVIRO QUILLMERE", "TAVIRO QUILLMERE/ZudivevEzored.xml",
                                  "TAVIRO QUILLMERE/log.txt", "TAVIRO QUILLMERE/masterdata"}));
}

TEST(Initialize, WithoutDriveCReturnsTheFallbackTextAndCreatesNothing) {
    ComponentMachine machine(false);
    // Both label texts live on C:, so neither can be read.
    EXPECT_EQ(machine.call("Initialize"), Variant::text(" C:\\Taviro Quillmere"));
    EXPECT_TRUE(fs::is_empty(machine.temp().dir()));
}

TEST(Initialize, WithoutDriveCWritesTheFallbackIntoAnExistingLastError) {
    ComponentMachine machine;
    machine.call("Initialize");
    fs::remove_all(machine.temp().dir() / "C");
    EXPECT_EQ(machine.call("Initialize"), Variant::text(" C:\\Taviro Quillmere"));
    EXPECT_EQ(machine.callText("Get_Error"), " C:\\Taviro Quillmere");
    EXPECT_FALSE(fs::exists(machine.temp().dir() / "C"));
}

TEST(Initialize, RefusedFolderFailsTheCallAndCreatesNothingAfterIt) {
    ComponentMachine machine;
    testing_support::writeFile(machine.temp().dir() / "C" / "Taviro Quillmere",
                               "a file in the way");
    const auto outcome = machine.invoke("Initialize");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_NE(outcome.code, 0u);
    EXPECT_FALSE(fs::exists(machine.temp().dir() / "registry"));
}

TEST(Initialize, DamagedRegistryFailsTheCallAndKeepsTheFolders) {
    ComponentMachine machine;
    testing_support::writeFile(machine.temp().dir() / "registry" / "HKLM.json", "{ not json");
    const auto outcome = machine.invoke("Initialize");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kGeneral);
    EXPECT_TRUE(fs::is_directory(machine.installPath("MasterData")));
    EXPECT_FALSE(fs::exists(machine.installPath("ZudivevEzored.xml")));
}

TEST(Initialize, HandlerSettingsChangeOnlyValuesThatExist) {
    ComponentMachine machine;
    setValue(machine, Hive::LocalMachine, kHandlerKey,
             RegistryValue::string("handlerRequired", "1"));
    setValue(machine, Hive::LocalMachine, kHandlerKey, RegistryValue::string("Other", "kept"));
    setValue(machine, Hive::LocalMachine, kHandlerKey,
             RegistryValue::string("DefaultHandler", "MSDFMAP.Handler"));
    machine.call("Initialize");
    EXPECT_EQ(valuesOf(machine, kHandlerKey), (std::vector<RegistryValue>{
                                                  RegistryValue::string("handlerRequired", "0"),
                                                  RegistryValue::string("Other", "kept"),
                                                  RegistryValue::string("DefaultHandler", ""),
                                              }));

    ComponentMachine onlyOne;
    setValue(onlyOne, Hive::LocalMachine, kHandlerKey, RegistryValue::dword("handlerRequired", 1));
    onlyOne.call("Initialize");
    EXPECT_EQ(valuesOf(onlyOne, kHandlerKey),
              std::vector<RegistryValue>{RegistryValue::dword("handlerRequired", 0)});
}

TEST(Initialize, MissingHandlerKeyIsToleratedAndNotCreated) {
    ComponentMachine machine;
    EXPECT_EQ(machine.call("Initialize"), Variant::text(""));
    EXPECT_FALSE(machine.registry().keyExists(Hive::LocalMachine, "SOFTWARE\\Microsoft"));
}

TEST(MasterDataSource, FreshMachineGetsAllThirteenValues) {
    ComponentMachine machine;
    // The module state belongs to the thread and outlives the machines of earlier tests.
    machine.session().state.currentDatabaseName.clear();
    machine.call("Initialize");
    EXPECT_EQ(valuesOf(machine, kSourceKey),
              (std::vector<RegistryValue>{
                  RegistryValue::string("DBQ", "C:\\Taviro Quillmere\\MasterData\\"),
                  RegistryValue::string("Description", "Master Data"),
                  RegistryValue::string("Driver", "C:\\Windows\\System32\\odbcjt32.dll"),
                  RegistryValue::dword("DriverId", 19),
                  RegistryValue::string("FIL", "MS Access"),
                  RegistryValue::dword("SafeTransactions", 0),
                  RegistryValue::string("UID", ""),
              }));
    EXPECT_EQ(machine.registry().subkeys(Hive::LocalMachine, kSourceKey),
              std::vector<std::string>{"Engines"});
    EXPECT_EQ(valuesOf(machine, kSourceKey + "\\Engines\\Jet"),
              (std::vector<RegistryValue>{
                  RegistryValue::string("ImplicitCommitSync", "Yes"),
                  RegistryValue::dword("MaxBufferSize", 2048),
                  RegistryValue::dword("PageTimeOut", 5),
                  RegistryValue::dword("Threads", 3),
                  RegistryValue::string("UserCommitSync", "Yes"),
              }));
    EXPECT_EQ(valuesOf(machine, "SOFTWARE\\ODBC\\odbc.ini\\ODBC Data Sources"),
              std::vector<RegistryValue>{RegistryValue::string("Quillmere Master Data",
                                                               "Microsoft Access Driver (*.mdb)")});
}

TEST(MasterDataSource, ExistingSourceOnlyGetsItsDbqRepointed) {
    ComponentMachine machine;
    setValue(machine, Hive::LocalMachine, kComponentKey,
             RegistryValue::string("Currentmdb", "SC1"));
    setValue(machine, Hive::LocalMachine, kSourceKey, RegistryValue::string("Description", "mine"));
    setValue(machine, Hive::LocalMachine, kSourceKey, RegistryValue::string("DBQ", "D:\\old.mdb"));
    setValue(machine, Hive::LocalMachine, kSourceKey, RegistryValue::dword("DriverId", 25));
    machine.call("Initialize");
    EXPECT_EQ(valuesOf(machine, kSourceKey),
              (std::vector<RegistryValue>{
                  RegistryValue::string("Description", "mine"),
                  RegistryValue::string("DBQ", "C:\\Taviro Quillmere\\MasterData\\SC1.mdb"),
                  RegistryValue::dword("DriverId", 25),
              }));
    auto registry = machine.registry();
    EXPECT_FALSE(registry.keyExists(Hive::LocalMachine, kSourceKey + "\\Engines"));
    EXPECT_FALSE(
        registry.keyExists(Hive::LocalMachine, "SOFTWARE\\ODBC\\odbc.ini\\ODBC Data Sources"));
}

TEST(MasterDataSource, ExistingSourceWithoutDbqIsLeftAsItIs) {
    ComponentMachine machine;
    setValue(machine, Hive::LocalMachine, kSourceKey, RegistryValue::string("Description", "mine"));
    machine.call("Initialize");
    EXPECT_EQ(valuesOf(machine, kSourceKey),
              std::vector<RegistryValue>{RegistryValue::string("Description", "mine")});
}

TEST(MasterDataSource, SecondStartRepointsToTheCurrentDatabase) {
    ComponentMachine machine;
    machine.call("Initialize");
    auto registry = machine.registry();
    registry.setValue(Hive::LocalMachine, kComponentKey,
                      RegistryValue::string("Currentmdb", "SC2"));
    machine.call("Initialize");
    EXPECT_EQ(registry.valueExact(Hive::LocalMachine, kSourceKey, "DBQ")->text,
              "C:\\Taviro Quillmere\\MasterData\\SC2.mdb");
    EXPECT_EQ(valuesOf(machine, kSourceKey).size(), 7u);
}

TEST(Log, ActionHeaderHasTheFixedFormat) {
    ComponentMachine machine;
    machine.clock().set({2026, 12, 7, 21, 5, 0});
    machine.call("Initialize");
    machine.call("SaveWebPage", {testing_support::text("<html/>")});
    machine.clock().set({2026, 1, 2, 0, 5, 9});
    machine.call("SaveWebPage", {testing_support::text("<html/>")});
    EXPECT_EQ(machine.log(),
              "|--------- Logged On:  12/7/2026 9:05:00 PM  For User Action: Save Web Page  "
              "----------\r\n"
              "|--------- Logged On:  1/2/2026 12:05:09 AM  For User Action: Save Web Page  "
              "----------\r\n");
}

}  // namespace
