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
using testing_support::text;

const std::string kComponentKey = "SOFTWARE\\Taviro\\Taviro Quillmere";
const std::string kBrowserKey = "Software\\Microsoft\\Internet Explorer";
const std::string kBrowserMainKey = "Software\\Microsoft\\Internet Explorer\\Main";

class Settings : public ::testing::Test {
  protected:
    void SetUp() override { machine.call("Initialize"); }

    void setComponentValue(const RegistryValue& value) {
        machine.registry().setValue(Hive::LocalMachine, kComponentKey, value);
    }
    std::optional<RegistryValue> componentValue(const std::string& name) {
        return machine.registry().valueExact(Hive::LocalMachine, kComponentKey, name);
    }
    std::string getVariable(const std::string& name) {
        return machine.callText("GetVariable", {text(name)});
    }

    ComponentMachine machine;
};

TEST_F(Settings, GetErrorReturnsTheLastErrorUnchanged) {
    EXPECT_EQ(machine.call("Get_Error"), Variant::text(""));
    setComponentValue(RegistryValue::string("Error", "Order 5 was not found."));
    EXPECT_EQ(machine.callText("Get_Error"), "Order 5 was not found.");
    machine.registry().deleteValue(Hive::LocalMachine, kComponentKey, "Error");
    EXPECT_EQ(machine.call("Get_Error"), Variant::text(""));
}

TEST_F(Settings, GetVariableFindsValuesByExactName) {
    EXPECT_EQ(getVariable("Mode"), "Online");
    EXPECT_EQ(getVariable("OrderId"), "1");
    EXPECT_EQ(getVariable("mode"), "");
    EXPECT_EQ(getVariable("Unknown"), "");
    EXPECT_EQ(getVariable(""), "");
}

TEST_F(Settings, CurrentDatabaseIsReportedOnlyWhileItsFolderHoldsADatabase) {
    setComponentValue(RegistryValue::string("Currentmdb", "SC1"));
    EXPECT_EQ(getVariable("Currentmdb"), "");
    machine.writeInstallFile("MasterData\\readme.txt", "not a database");
    fs::create_directory(machine.installPath("MasterData") / "folder.mdb");
    EXPECT_EQ(getVariable("Currentmdb"), "");
    // Any database file counts, whatever its name.
    machine.writeInstallFile("MasterData\\OTHER.MDB", "");
    EXPECT_EQ(getVariable("Currentmdb"), "SC1");
    EXPECT_EQ(getVariable("currentmdb"), "");
}

TEST_F(Settings, CurrentDatabaseFailsWithoutTheMasterDataFolder) {
    setComponentValue(RegistryValue::string("Currentmdb", "SC1"));
    setComponentValue(RegistryValue::string("Error", "kept"));
    fs::remove_all(machine.installPath("MasterData"));
    const auto outcome = machine.invoke("GetVariable", {text("Currentmdb")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kPathNotFound);
    EXPECT_EQ(componentValue("Error")->text, "kept");
}

TEST_F(Settings, SetModeStoresAnyTextIntoTheExistingValue) {
    for (const std::string mode : {"Offline", "", "  any text & <more>"}) {
        EXPECT_EQ(machine.call("Set_Mode", {text(mode)}), Variant());
        EXPECT_EQ(componentValue("Mode")->text, mode);
    }
    EXPECT_EQ(machine.registry().values(Hive::LocalMachine, kComponentKey)[6].name, "Mode");

    machine.registry().deleteValue(Hive::LocalMachine, kComponentKey, "Mode");
    machine.call("Set_Mode", {text("Offline")});
    EXPECT_FALSE(componentValue("Mode"));
}

TEST_F(Settings, NumberValueKeepsItsTypeAndTakesOnlyANumber) {
    setComponentValue(RegistryValue::dword("Mode", 1));
    machine.call("Set_Mode", {text("12")});
    EXPECT_EQ(componentValue("Mode"), RegistryValue::dword("Mode", 12));
    for (const std::string bad : {"Offline", "12abc", "-1", "4294967296", ""}) {
        const auto outcome = machine.invoke("Set_Mode", {text(bad)});
        EXPECT_EQ(outcome.code, platform::failure::kTypeMismatch) << bad;
        EXPECT_EQ(componentValue("Mode"), RegistryValue::dword("Mode", 12)) << bad;
    }
}

TEST(SettingsWithoutStart, SetModeAndGetErrorCreateNoRegistry) {
    ComponentMachine machine;
    machine.call("Set_Mode", {text("Offline")});
    EXPECT_EQ(machine.callText("Get_Error"), "");
    EXPECT_EQ(machine.callText("GetVariable", {text("Mode")}), "");
    EXPECT_FALSE(fs::exists(machine.temp().dir() / "registry"));
}

TEST_F(Settings, RegisterDownloadPathAddsOrSetsTheUsersValue) {
    EXPECT_EQ(machine.call("RegisterDownloadPath"), Variant());
    auto registry = machine.registry();
    EXPECT_EQ(registry.values(Hive::CurrentUser, kBrowserKey),
              std::vector<RegistryValue>{
                  RegistryValue::string("Download Directory", "C:\\Taviro Quillmere\\MasterData")});
    EXPECT_FALSE(registry.keyExists(Hive::LocalMachine, kBrowserKey));

    registry.setValue(Hive::CurrentUser, kBrowserKey,
                      RegistryValue::string("Download Directory", "D:\\x"));
    registry.setValue(Hive::CurrentUser, kBrowserKey, RegistryValue::string("Other", "y"));
    machine.call("RegisterDownloadPath");
    EXPECT_EQ(registry.values(Hive::CurrentUser, kBrowserKey),
              (std::vector<RegistryValue>{
                  RegistryValue::string("Download Directory", "C:\\Taviro Quillmere\\MasterData"),
                  RegistryValue::string("Other", "y")}));
}

TEST_F(Settings, SetHomePageSetsOnlyAnExistingStartPage) {
    EXPECT_EQ(machine.call("SetHomePage"), Variant());
    auto registry = machine.registry();
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, kBrowserMainKey));

    registry.createKey(Hive::CurrentUser, kBrowserMainKey);
    machine.call("SetHomePage");
    EXPECT_TRUE(registry.values(Hive::CurrentUser, kBrowserMainKey).empty());

    registry.setValue(Hive::CurrentUser, kBrowserMainKey,
                      RegistryValue::string("Start Page", "about:blank"));
    machine.call("SetHomePage");
    EXPECT_EQ(registry.valueExact(Hive::CurrentUser, kBrowserMainKey, "Start Page")->text,
              "C:\\Taviro Quillmere\\zudivevezored.html");
}

TEST_F(Settings, SaveWebPageLeavesOnlyTheLastPage) {
    const std::string first = "<html><body>a long first page with many words</body></html>";
    const std::string second = std::string("<p>\xE9</p>\r\n", 11);
    EXPECT_EQ(machine.call("SaveWebPage", {text(first)}), Variant());
    EXPECT_EQ(machine.readInstallFile("zudivevezored.html"), first);
    machine.call("SaveWebPage", {text(second)});
    EXPECT_EQ(machine.readInstallFile("zudivevezored.html"), second);
    machine.call("SaveWebPage", {text("")});
    EXPECT_EQ(machine.readInstallFile("zudivevezored.html"), "");
    EXPECT_TRUE(fs::exists(machine.installPath("zudivevezored.html")));
}

TEST_F(Settings, GetMailContentSerializesTheDocumentsAsLoaded) {
    const std::string initialStore =
        "<zudivevezored><ccsocservcordr/><ccsocservcactv/><ccsocservcmatl/><ccsocservclabr/>"
        "<ccsocservcothr/><ccsocservchra/></zudivevezored>";
    EXPECT_EQ(machine.call("GetMailContent", {text("ZudivevEzored")}), Variant::text(initialStore));

    // Whitespace between elements is not part of the loaded document.
    machine.writeInstallFile("UploadReport.xml",
                             "<report>\r\n  <line code=\"1\">a &amp; b</line>\r\n</report>\r\n");
    EXPECT_EQ(machine.callText("GetMailContent", {text("UploadReport")}),
              "<report><line code=\"1\">a &amp; b</line></report>");

    // A document that does not load serializes as the empty text.
    EXPECT_EQ(machine.call("GetMailContent", {text("StyleSheet")}), Variant::text(""));
    machine.writeInstallFile("FieldMapper.xml", "<FieldMapper><I18N></FieldMapper>");
    EXPECT_EQ(machine.call("GetMailContent", {text("StyleSheet")}), Variant::text(""));
    machine.writeInstallFile("FieldMapper.xml", "<FieldMapper><I18N/></FieldMapper>");
    EXPECT_EQ(machine.call("GetMailContent", {text("StyleSheet")}),
              Variant::text("<FieldMapper><I18N/></FieldMapper>"));
}

TEST_F(Settings, GetMailContentReturnsTheLogBytesAndNothingForOtherNames) {
    const std::string log = std::string("|--------- line one\r\nError =   \xE9\r\n");
    machine.writeInstallFile("log.txt", log);
    EXPECT_EQ(machine.call("GetMailContent", {text("Log")}), Variant::text(log));
    for (const std::string other : {"log", "zudivevezored", "StyleSheet ", ""})
        EXPECT_EQ(machine.call("GetMailContent", {text(other)}), Variant()) << other;

    setComponentValue(RegistryValue::string("Error", "kept"));
    fs::remove(machine.installPath("log.txt"));
    const auto outcome = machine.invoke("GetMailContent", {text("Log")});
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kFileNotFound);
    EXPECT_EQ(componentValue("Error")->text, "kept");
}

TEST_F(Settings, LocalXmlExistsTellsWhetherTheStoreIsThere) {
    EXPECT_EQ(machine.call("LocalXmlExists"), Variant::boolean(true));
    fs::remove(machine.installPath("ZudivevEzored.xml"));
    EXPECT_EQ(machine.call("LocalXmlExists"), Variant::boolean(false));
}

}  // namespace
