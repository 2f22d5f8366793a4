#include "platform/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/support/failure_code.h"
#include "tests/support/temp_root.h"

namespace platform {
namespace {

using testing_support::failureCodeOf;

namespace fs = std::filesystem;
using testing_support::TempRoot;

constexpr Hive kLM = Hive::LocalMachine;
constexpr Hive kCU = Hive::CurrentUser;

std::vector<std::string> namesOf(const std::vector<RegistryValue>& values) {
    std::vector<std::string> names;
    for (const RegistryValue& v : values) names.push_back(v.name);
    return names;
}

fs::path hiveFile(const TempRoot& temp, const char* name) {
    return temp.dir() / "registry" / name;
}

TEST(Registry, ValuesPersistAcrossRegistryObjects) {
    TempRoot temp;
    {
        Registry registry(temp.root());
        registry.createKey(kLM, "SOFTWARE\\Taviro\\Taviro Quillmere");
        registry.setValue(kLM, "SOFTWARE\\Taviro\\Taviro Quillmere",
                          RegistryValue::string("Mode", "Offline"));
        registry.setValue(kLM, "SOFTWARE\\Taviro\\Taviro Quillmere",
                          RegistryValue::dword("OrderId", 4294967295u));
    }
    const Registry reopened(temp.root());
    EXPECT_EQ(reopened.valueExact(kLM, "SOFTWARE\\Taviro\\Taviro Quillmere", "Mode"),
              RegistryValue::string("Mode", "Offline"));
    EXPECT_EQ(reopened.valueExact(kLM, "SOFTWARE\\Taviro\\Taviro Quillmere", "OrderId"),
              RegistryValue::dword("OrderId", 4294967295u));
    EXPECT_TRUE(fs::is_regular_file(hiveFile(temp, "HKLM.json")));
}

TEST(Registry, HivesAreSeparate) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kCU, "Software\\Microsoft\\Internet Explorer");
    registry.setValue(kCU, "Software\\Microsoft\\Internet Explorer",
                      RegistryValue::string("Download Directory", "x"));
    EXPECT_TRUE(registry.keyExists(kCU, "Software\\Microsoft"));
    EXPECT_FALSE(registry.keyExists(kLM, "Software\\Microsoft"));
    EXPECT_FALSE(
        registry.valueExact(kLM, "Software\\Microsoft\\Internet Explorer", "Download Directory"));
    EXPECT_TRUE(fs::exists(hiveFile(temp, "HKCU.json")));
    EXPECT_FALSE(fs::exists(hiveFile(temp, "HKLM.json")));
}

TEST(Registry, KeysAreCaseInsensitiveAndKeepTheirFirstSpelling) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "SOFTWARE\\Taviro");
    registry.createKey(kLM, "software\\TAVIRO\\Taviro Quillmere");
    EXPECT_EQ(registry.subkeys(kLM, ""), std::vector<std::string>{"SOFTWARE"});
    EXPECT_EQ(registry.subkeys(kLM, "Software"), std::vector<std::string>{"Taviro"});
    EXPECT_TRUE(registry.keyExists(kLM, "SOFTWARE\\taviro\\TAVIRO QUILLMERE"));
    // Separators at either end or doubled do not make another key.
    EXPECT_TRUE(registry.keyExists(kLM, "\\SOFTWARE\\\\Taviro\\"));
    registry.setValue(kLM, "Software\\Taviro", RegistryValue::string("a", "1"));
    EXPECT_EQ(namesOf(registry.values(kLM, "SOFTWARE\\TAVIRO")), std::vector<std::string>{"a"});
}

TEST(Registry, SubkeysAndValuesEnumerateInCreationOrder) {
    TempRoot temp;
    Registry registry(temp.root());
    for (const char* name : {"Zeta", "alpha", "Mid"})
        registry.createKey(kLM, std::string("K\\") + name);
    EXPECT_EQ(registry.subkeys(kLM, "K"), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));
    registry.deleteKey(kLM, "K\\alpha");
    registry.createKey(kLM, "K\\Alpha");
    EXPECT_EQ(registry.subkeys(kLM, "K"), (std::vector<std::string>{"Zeta", "Mid", "Alpha"}));

    for (const char* name : {"z", "B", "a"})
        registry.setValue(kLM, "K", RegistryValue::string(name, name));
    EXPECT_EQ(namesOf(registry.values(kLM, "K")), (std::vector<std::string>{"z", "B", "a"}));
}

TEST(Registry, SetValueKeepsPlaceAndNameButTakesNewTypeAndData) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "K");
    registry.setValue(kLM, "K", RegistryValue::string("First", "1"));
    registry.setValue(kLM, "K", RegistryValue::dword("Second", 2));
    registry.setValue(kLM, "K", RegistryValue::string("Third", "3"));

    registry.setValue(kLM, "K", RegistryValue::string("Second", "two"));
    registry.setValue(kLM, "K", RegistryValue::dword("FIRST", 1));  // the registry ignores case
    const std::vector<RegistryValue> values = registry.values(kLM, "K");
    ASSERT_EQ(namesOf(values), (std::vector<std::string>{"First", "Second", "Third"}));
    EXPECT_EQ(values[0], RegistryValue::dword("First", 1));
    EXPECT_EQ(values[1], RegistryValue::string("Second", "two"));
}

TEST(Registry, ValueExactComparesNamesWithCase) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "K");
    registry.setValue(kLM, "K", RegistryValue::string("Currentmdb", "SC1"));
    EXPECT_TRUE(registry.valueExact(kLM, "k", "Currentmdb"));
    EXPECT_FALSE(registry.valueExact(kLM, "K", "currentmdb"));
    EXPECT_FALSE(registry.valueExact(kLM, "K", "Currentmdb "));
    EXPECT_FALSE(registry.valueExact(kLM, "Missing", "Currentmdb"));
}

TEST(Registry, StringAndNumberValuesKeepTheirTypes) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "K");
    registry.setValue(kLM, "K", RegistryValue::string("Text", "000000001"));
    registry.setValue(kLM, "K", RegistryValue::dword("Number", 1));
    registry.setValue(kLM, "K", RegistryValue::string("", "default value"));
    const Registry reopened(temp.root());
    const auto text = reopened.valueExact(kLM, "K", "Text");
    const auto number = reopened.valueExact(kLM, "K", "Number");
    ASSERT_TRUE(text && number);
    EXPECT_EQ(text->type, ValueType::String);
    EXPECT_EQ(text->dataAsText(), "000000001");
    EXPECT_EQ(number->type, ValueType::DWord);
    EXPECT_EQ(number->number, 1u);
    EXPECT_EQ(number->dataAsText(), "1");
    EXPECT_EQ(reopened.valueExact(kLM, "K", "")->text, "default value");
}

TEST(Registry, AnyBytesSurviveInNamesAndData) {
    // Single-byte texts of the engineer's machine need not be UTF-8.
    TempRoot temp;
    const std::string latin1 = "Caf\xE9 \xFF";
    const std::string utf8 = "Caf\xC3\xA9 \"quoted\" \\ back\nline";
    {
        Registry registry(temp.root());
        registry.createKey(kLM, "K\\" + latin1);
        registry.setValue(kLM, "K\\" + latin1, RegistryValue::string(latin1, latin1));
        registry.setValue(kLM, "K\\" + latin1, RegistryValue::string(utf8, utf8));
    }
    const Registry reopened(temp.root());
    EXPECT_EQ(reopened.subkeys(kLM, "K"), std::vector<std::string>{latin1});
    EXPECT_EQ(reopened.values(kLM, "K\\" + latin1),
              (std::vector<RegistryValue>{RegistryValue::string(latin1, latin1),
                                          RegistryValue::string(utf8, utf8)}));
}

TEST(Registry, MissingKeysAreReportedAndReadsCreateNothing) {
    TempRoot temp;
    Registry registry(temp.root());
    EXPECT_FALSE(registry.keyExists(kLM, "SOFTWARE"));
    EXPECT_EQ(failureCodeOf([&] { registry.values(kLM, "SOFTWARE"); }),
              failure::kRegistryKeyMissing);
    EXPECT_EQ(failureCodeOf([&] { registry.subkeys(kLM, "SOFTWARE"); }),
              failure::kRegistryKeyMissing);
    EXPECT_EQ(
        failureCodeOf([&] { registry.setValue(kLM, "SOFTWARE", RegistryValue::string("a", "b")); }),
        failure::kRegistryKeyMissing);
    EXPECT_FALSE(registry.deleteValue(kLM, "SOFTWARE", "a"));
    EXPECT_FALSE(registry.deleteKey(kLM, "SOFTWARE"));
    EXPECT_FALSE(fs::exists(temp.dir() / "registry"));
}

TEST(Registry, DeleteRemovesOneValueOrAWholeKey) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "A\\B\\C");
    registry.createKey(kLM, "A\\D");
    registry.setValue(kLM, "A", RegistryValue::string("x", "1"));
    registry.setValue(kLM, "A", RegistryValue::string("y", "2"));
    EXPECT_TRUE(registry.deleteValue(kLM, "a", "X"));
    EXPECT_FALSE(registry.deleteValue(kLM, "A", "x"));
    EXPECT_EQ(namesOf(registry.values(kLM, "A")), std::vector<std::string>{"y"});
    EXPECT_TRUE(registry.deleteKey(kLM, "a\\b"));
    EXPECT_FALSE(registry.keyExists(kLM, "A\\B\\C"));
    EXPECT_EQ(registry.subkeys(kLM, "A"), std::vector<std::string>{"D"});
    EXPECT_FALSE(registry.deleteKey(kLM, "A\\B"));
    EXPECT_FALSE(registry.deleteKey(kLM, ""));
}

TEST(Registry, DamagedHiveFailsEveryOperationAndIsNotOverwritten) {
    const std::vector<std::string> damaged = {
        "{\"name\": \"\", \"values\": [], \"subkeys\": [",  // cut off
        "[1, 2]",                                           // wrong shape
        "{\"name\": \"\", \"values\": [{\"name\": \"n\", \"type\": \"REG_DWORD\", \"data\": "
        "\"x\"}], \"subkeys\": []}",
        "{\"name\": \"\", \"values\": [{\"name\": \"n\", \"type\": \"REG_DWORD\", \"data\": -1}], "
        "\"subkeys\": []}",
        "{\"name\": \"\", \"values\": [{\"name\": \"n\", \"type\": \"REG_DWORD\", \"data\": "
        "4294967296}], \"subkeys\": []}",
    };
    for (const std::string& text : damaged) {
        TempRoot temp;
        testing_support::writeFile(hiveFile(temp, "HKLM.json"), text);
        Registry registry(temp.root());
        EXPECT_EQ(failureCodeOf([&] { registry.keyExists(kLM, "SOFTWARE"); }), failure::kGeneral)
            << text;
        EXPECT_EQ(failureCodeOf([&] { registry.valueExact(kLM, "", "n"); }), failure::kGeneral)
            << text;
        EXPECT_EQ(failureCodeOf([&] { registry.createKey(kLM, "SOFTWARE"); }), failure::kGeneral)
            << text;
        EXPECT_EQ(testing_support::readFile(hiveFile(temp, "HKLM.json")), text);
        // The other hive is unaffected.
        EXPECT_NO_THROW(registry.createKey(kCU, "Software"));
    }
}

TEST(RegistryPath, SplitsHiveNamesWithoutRegardToCase) {
    EXPECT_EQ(splitRegistryPath("HKLM\\SOFTWARE\\Taviro"),
              std::make_pair(kLM, std::string("SOFTWARE\\Taviro")));
    EXPECT_EQ(splitRegistryPath("hkey_local_machine\\SOFTWARE"),
              std::make_pair(kLM, std::string("SOFTWARE")));
    EXPECT_EQ(splitRegistryPath("HKEY_CURRENT_USER\\Software"),
              std::make_pair(kCU, std::string("Software")));
    EXPECT_EQ(splitRegistryPath("hkcu"), std::make_pair(kCU, std::string()));
    EXPECT_EQ(failureCodeOf([] { splitRegistryPath("HKCR\\CLSID"); }), failure::kInvalidArgument);
    EXPECT_EQ(failureCodeOf([] { splitRegistryPath("SOFTWARE\\Taviro"); }),
              failure::kInvalidArgument);
}

// A hive nested far deeper than any key may be: it is reported damaged without exhausting the
// stack, and left exactly as it was.
TEST(RegistryHostileHive, DeeplyNestedHiveIsReportedDamagedAndLeftAlone) {
    TempRoot temp;
    std::string text;
    const int kLevels = 50000;
    for (int i = 0; i < kLevels; ++i) text += R"({"name":"k","values":[],"subkeys":[)";
    for (int i = 0; i < kLevels; ++i) text += "]}";
    const fs::path file = hiveFile(temp, "HKLM.json");
    testing_support::writeFile(file, text);

    Registry registry(temp.root());
    EXPECT_EQ(failureCodeOf([&] { registry.keyExists(kLM, "SOFTWARE"); }), failure::kGeneral);
    EXPECT_EQ(failureCodeOf([&] { registry.createKey(kLM, "SOFTWARE"); }), failure::kGeneral);
    try {
        registry.values(kLM, "k");
        ADD_FAILURE() << "a damaged hive was read";
    } catch (const PlatformError& error) {
        EXPECT_NE(std::string(error.what()).find("damaged"), std::string::npos) << error.what();
    }
    EXPECT_EQ(testing_support::readFile(file), text);
}

TEST(RegistryHostileHive, KeysUpToTheDepthLimitWorkAndDeeperOnesAreRefused) {
    TempRoot temp;
    Registry registry(temp.root());
    std::string path;
    for (size_t i = 0; i < kMaxKeyDepth; ++i) path += (i ? "\\k" : "k");
    registry.createKey(kLM, path);
    EXPECT_TRUE(Registry(temp.root()).keyExists(kLM, path));
    EXPECT_EQ(failureCodeOf([&] { registry.createKey(kLM, path + "\\deeper"); }),
              failure::kInvalidArgument);
    EXPECT_TRUE(registry.keyExists(kLM, path));
}

TEST(RegistryChanges, AChangeThatChangesNothingLeavesTheFileAlone) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "SOFTWARE\\Taviro");
    registry.setValue(kLM, "SOFTWARE\\Taviro", RegistryValue::string("Error", "1"));
    const fs::path file = hiveFile(temp, "HKLM.json");
    fs::permissions(file, fs::perms::owner_read);  // a save would now fail
    EXPECT_NO_THROW(
        registry.setValue(kLM, "SOFTWARE\\Taviro", RegistryValue::string("error", "1")));
    EXPECT_NO_THROW(registry.createKey(kLM, "software\\taviro"));
    EXPECT_FALSE(registry.deleteValue(kLM, "SOFTWARE\\Taviro", "missing"));
    EXPECT_EQ(failureCodeOf([&] {
                  registry.setValue(kLM, "SOFTWARE\\Taviro", RegistryValue::dword("Error", 1));
              }),
              failure::kPermissionDenied);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
}

TEST(RegistryChanges, UpdateValueReadsAndWritesInOneStep) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "K");
    registry.setValue(kLM, "K", RegistryValue::dword("Counter", 7));
    const auto increment = [](const RegistryValue& current) {
        return std::optional(RegistryValue::dword(current.name, current.number + 1));
    };
    EXPECT_EQ(registry.updateValue(kLM, "K", "Counter", increment)->number, 7u);
    EXPECT_EQ(registry.valueExact(kLM, "K", "Counter")->number, 8u);
    // Found by exact name only; a missing value or key calls nothing.
    EXPECT_FALSE(registry.updateValue(kLM, "K", "counter", increment));
    EXPECT_FALSE(registry.updateValue(kLM, "Missing", "Counter", increment));
    // A change that throws leaves the hive as it was.
    EXPECT_THROW(registry.updateValue(kLM, "K", "Counter",
                                      [](const RegistryValue&) -> std::optional<RegistryValue> {
                                          throw PlatformError(failure::kOverflow, "Overflow");
                                      }),
                 PlatformError);
    EXPECT_EQ(registry.valueExact(kLM, "K", "Counter")->number, 8u);
}

TEST(RegistryChanges, ASaveRemovesTemporariesOfAKilledSave) {
    TempRoot temp;
    Registry registry(temp.root());
    registry.createKey(kLM, "K");
    const fs::path stale = temp.dir() / "registry" / ".HKLM.json.tmp4711";
    testing_support::writeFile(stale, "half a hive");
    registry.setValue(kLM, "K", RegistryValue::string("V", "x"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_EQ(registry.valueExact(kLM, "K", "V")->text, "x");
}

}  // namespace
}  // namespace platform
