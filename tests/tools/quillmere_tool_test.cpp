// The quillmere command-line tool, run as a user runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/temp_root.h"

namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::StartsWith;
using testing_support::ProgramRun;
using testing_support::readFile;
using testing_support::TempRoot;
using testing_support::writeFile;

const std::string kTool = std::string(TAVIRO_BINARY_DIR) + "/bin/quillmere";
const std::string kComponentKey = "HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere";

class Tool : public ::testing::Test {
  protected:
    // quillmere --root R <args>
    ProgramRun run(std::vector<std::string> args, const std::string& input = {}) {
        args.insert(args.begin(), {"--root", root().string()});
        return testing_support::runProgram(kTool, args, scratch.dir().string(), input);
    }
    ProgramRun call(const std::string& method, std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"call", method});
        return run(args);
    }
    fs::path root() const { return temp.dir(); }
    fs::path install(const std::string& name) const {
        return root() / "C" / "Taviro Quillmere" / name;
    }
    void installFieldDefinitions() const {
        fs::copy_file(std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml",
                      install("FieldMapper.xml"), fs::copy_options::overwrite_existing);
    }

    TempRoot temp;
    TempRoot scratch{false};
};

MATCHER_P2(Exited, code, out, "") {
    *result_listener << "exit " << arg.exitCode << ", stdout \"" << arg.out << "\", stderr \""
                     << arg.err << "\"";
    return arg.exitCode == code && arg.out == out;
}

TEST_F(Tool, CallWritesTheResultExactly) {
    EXPECT_THAT(call("Initialize"), Exited(0, ""));
    EXPECT_THAT(call("LocalXmlExists"), Exited(0, "True"));
    EXPECT_THAT(call("Set_Mode", {"Offline mode"}), Exited(0, ""));
    EXPECT_THAT(call("GetVariable", {"Mode"}), Exited(0, "Offline mode"));
    EXPECT_THAT(call("get_error"), Exited(0, ""));
    fs::remove(install("ZudivevEzored.xml"));
    EXPECT_THAT(call("LocalXmlExists"), Exited(0, "False"));
    const std::string page = "<html>\r\n\t\"page\" &amp; more</html>\n";
    EXPECT_THAT(call("SaveWebPage", {page}), Exited(0, ""));
    EXPECT_EQ(readFile(install("zudivevezored.html")), page);
}

TEST_F(Tool, FailedCallExitsOneWithTheCodeOnStandardError) {
    call("Initialize");
    installFieldDefinitions();
    fs::remove(install("log.txt"));
    const ProgramRun failed = call("GetMailContent", {"Log"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_THAT(failed.err, MatchesRegex("0x800A0035 .+\n"));

    // A 16-bit integer parameter takes decimal text; anything else fails the call.
    const ProgramRun mismatch = call("GetDetails", {"1", "2", "3", "4", "<a/>", "twelve"});
    EXPECT_EQ(mismatch.exitCode, 1);
    EXPECT_THAT(mismatch.err, MatchesRegex("0x[0-9A-F]{8} .*\n"));
}

TEST_F(Tool, UsageErrorsExitTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"call", "NoSuchMethod"},
                                               {"call", "Set_Mode"},
                                               {"call", "Set_Mode", "a", "b"},
                                               {"call", "Initialize", "extra"},
                                               {"call"},
                                               {"frobnicate"},
                                               {}}) {
        const ProgramRun usage = run(args);
        EXPECT_EQ(usage.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(usage.out, "");
        EXPECT_NE(usage.err, "");
    }
    // Nothing was called, so nothing was created.
    EXPECT_FALSE(fs::exists(root() / "registry"));
}

TEST_F(Tool, HelpGoesToStandardOutput) {
    const ProgramRun help = testing_support::runProgram(kTool, {"--help"}, scratch.dir().string());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, StartsWith("usage: quillmere [--root R] call METHOD [ARG...]\n"));
    EXPECT_EQ(run({"help"}).exitCode, 0);
}

TEST_F(Tool, BatchSharesOneComponentAndAnswersEveryLine) {
    call("Initialize");
    installFieldDefinitions();
    fs::remove(install("log.txt"));
    const std::string input =
        "[\"GetMailContent\", \"Log\"]\n"
        "[\"Initialize\"]\n"
        "[\"GetMailContent\", \"Log\"]\n"
        "\n"
        "not json\n"
        "[\"NoSuchMethod\"]\n"
        "[\"Set_Mode\"]\n"
        "[\"Set_Mode\", \"Offline\"]\n"
        "[\"LocalXmlExists\"]\n"
        "[\"GetMailContent\", \"Nothing\"]\n"
        "[\"GetDetails\", \"1\", \"\", \"\", \"\", \"\", \"abc\"]\n"
        "[\"GetDetails\", \"1\", \"\", \"\", \"\", \"\", 70000]\n"
        "[\"GetDetails\", \"1\", \"\", \"\", \"\", \"\", 18446744073709551615]\n"
        // The field definitions that the label look-up loads serve the next call.
        "[\"GetI18NString\", \"SLBEU0262\"]\n"
        "[\"getColumnHeadingsForHRA\", 0, \"ccsocservclabr\"]\n"
        "[\"GetVariable\", \"Mode\"]\n";
    const ProgramRun batch = run({"batch"}, input);
    EXPECT_EQ(batch.exitCode, 0) << batch.err;

    std::vector<std::string> lines;
    std::string rest = batch.out;
    for (size_t end; (end = rest.find('\n')) != std::string::npos; rest.erase(0, end + 1))
        lines.push_back(rest.substr(0, end));
    EXPECT_EQ(rest, "");
    ASSERT_EQ(lines.size(), 15u) << batch.out;
    EXPECT_THAT(lines[0],
                MatchesRegex(R"(\{"error":\{"code":"0x800A0035","description":".+"\}\})"));
    EXPECT_EQ(lines[1], R"({"result":"","byref":{}})");
    EXPECT_EQ(lines[2], R"({"result":"","byref":{}})");
    for (int usage : {3, 4, 5})
        EXPECT_THAT(lines[usage], MatchesRegex(R"(\{"usage":".+"\})")) << usage;
    EXPECT_EQ(lines[6], R"({"result":null,"byref":{}})");
    EXPECT_EQ(lines[7], R"({"result":true,"byref":{}})");
    EXPECT_EQ(lines[8], R"({"result":null,"byref":{}})");
    EXPECT_THAT(lines[9],
                MatchesRegex(R"(\{"error":\{"code":"0x80020005","description":".*"\}\})"));
    for (int usage : {10, 11})
        EXPECT_THAT(lines[usage], MatchesRegex(R"(\{"usage":".+"\})")) << usage;
    EXPECT_THAT(lines[12], MatchesRegex(R"(\{"result":"[^"]+","byref":\{\}\})"));
    EXPECT_THAT(lines[13],
                MatchesRegex(R"(\{"result":"<COL .*","byref":\{"iCols":[1-9][0-9]*\}\})"));
    EXPECT_EQ(lines[14], R"({"result":"Offline","byref":{}})");
}

TEST_F(Tool, RegistryGetSetDeleteList) {
    const std::string key = "HKCU\\Software\\Taviro\\Tests";
    EXPECT_THAT(run({"reg", "get", key, "Name"}), Exited(3, ""));
    EXPECT_THAT(run({"reg", "list", key}), Exited(3, ""));

    // set creates the whole key path.
    EXPECT_THAT(run({"reg", "set", key, "Name", "sz", "a b\tc"}), Exited(0, ""));
    EXPECT_THAT(run({"reg", "set", key, "Count", "dword", "4294967295"}), Exited(0, ""));
    EXPECT_THAT(run({"reg", "set", key, "Empty", "sz", ""}), Exited(0, ""));
    EXPECT_THAT(run({"reg", "get", "hkey_current_user\\software\\TAVIRO\\tests", "Name"}),
                Exited(0, "a b\tc\n"));
    EXPECT_THAT(run({"reg", "get", key, "Count"}), Exited(0, "4294967295\n"));
    EXPECT_THAT(run({"reg", "get", key, "Missing"}), Exited(3, ""));
    EXPECT_THAT(run({"reg", "get", "HKLM\\Software\\Taviro\\Tests", "Name"}), Exited(3, ""));

    // Setting an existing value keeps its place.
    EXPECT_THAT(run({"reg", "set", key, "Name", "dword", "7"}), Exited(0, ""));
    EXPECT_THAT(run({"reg", "list", key}),
                Exited(0, "Name\tREG_DWORD\t7\nCount\tREG_DWORD\t4294967295\nEmpty\tREG_SZ\t\n"));

    EXPECT_THAT(run({"reg", "delete", key, "Count"}), Exited(0, ""));
    EXPECT_THAT(run({"reg", "delete", key, "Count"}), Exited(3, ""));
    EXPECT_THAT(run({"reg", "list", key}), Exited(0, "Name\tREG_DWORD\t7\nEmpty\tREG_SZ\t\n"));

    EXPECT_THAT(run({"reg", "delete", "HKCU\\Software\\Taviro"}), Exited(0, ""));
    EXPECT_THAT(run({"reg", "list", key}), Exited(3, ""));
    EXPECT_THAT(run({"reg", "list", "HKCU\\Software"}), Exited(0, ""));
}

TEST_F(Tool, RegistryUsageErrors) {
    const std::string key = "HKCU\\Software\\Taviro";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"reg", "set", key, "N", "dword", "12x"},
             {"reg", "set", key, "N", "dword", "-1"},
             {"reg", "set", key, "N", "binary", "00"},
             {"reg", "set", key, "N", "sz"},
             {"reg", "get", key},
             {"reg", "list"},
             {"reg", "delete"},
             {"reg", "move", key},
             {"reg", "get", "HKCR\\CLSID", "N"},
         }) {
        const ProgramRun usage = run(args);
        EXPECT_EQ(usage.exitCode, 2) << testing::PrintToString(args) << usage.err;
        EXPECT_EQ(usage.out, "");
    }
    EXPECT_FALSE(fs::exists(root() / "registry"));
}

TEST_F(Tool, PathPrintsTheMappedLinuxPath) {
    EXPECT_THAT(run({"path", "c:\\taviro quillmere\\Log.txt"}),
                Exited(0, (root() / "C" / "taviro quillmere" / "Log.txt").string() + "\n"));
    call("Initialize");
    EXPECT_THAT(run({"path", "c:\\TAVIRO QUILLMERE\\LOG.TXT"}),
                Exited(0, install("log.txt").string() + "\n"));
    EXPECT_THAT(run({"path", "/etc/hosts"}), Exited(0, "/etc/hosts\n"));
}

TEST_F(Tool, NamedRootMustExistAndIsNeverCreated) {
    const fs::path missing = root() / "missing";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"call", "Initialize"},
             {"batch"},
             {"serve", "--port", "0"},
             {"reg", "set", kComponentKey, "Mode", "sz", "Offline"},
             {"reg", "get", kComponentKey, "Mode"},
             {"path", "C:\\x"}}) {
        std::vector<std::string> all = {"--root", missing.string()};
        all.insert(all.end(), args.begin(), args.end());
        const ProgramRun refused =
            testing_support::runProgram(kTool, all, scratch.dir().string(), "[\"Initialize\"]\n");
        EXPECT_EQ(refused.exitCode, 1) << testing::PrintToString(args);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err,
                  "quillmere: machine root " + missing.string() +
                      " (named by --root) does not exist; create it with \"mkdir -p '" +
                      missing.string() +
                      "/C'\" (a machine with drive C:), or leave out --root and "
                      "TAVIRO_ROOT to use the default root\n");
    }
    EXPECT_FALSE(fs::exists(missing));

    ::setenv("TAVIRO_ROOT", missing.string().c_str(), 1);
    const ProgramRun fromEnv =
        testing_support::runProgram(kTool, {"call", "Initialize"}, scratch.dir().string());
    ::unsetenv("TAVIRO_ROOT");
    EXPECT_EQ(fromEnv.exitCode, 1);
    EXPECT_THAT(fromEnv.err, HasSubstr("(named by TAVIRO_ROOT) does not exist"));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(Tool, DefaultRootIsMadeOnFirstUseWithDriveC) {
    ::setenv("XDG_DATA_HOME", root().string().c_str(), 1);
    const ProgramRun first =
        testing_support::runProgram(kTool, {"call", "Initialize"}, scratch.dir().string());
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_THAT(first, Exited(0, ""));
    EXPECT_TRUE(
        fs::is_regular_file(root() / "taviro" / "C" / "Taviro Quillmere" / "ZudivevEzored.xml"));
}

TEST_F(Tool, ExistingRootWithoutDriveCNeverGetsOne) {
    fs::remove_all(root() / "C");
    EXPECT_THAT(call("Initialize"), Exited(0, " C:\\Taviro Quillmere"));
    run({"batch"}, "[\"Initialize\"]\n");
    run({"reg", "set", kComponentKey, "Mode", "sz", "Offline"});
    EXPECT_FALSE(fs::exists(root() / "C"));
    EXPECT_THAT(run({"reg", "get", kComponentKey, "Mode"}), Exited(0, "Offline\n"));
}

TEST_F(Tool, CallExplainsEmptyTextsWhenTheFieldDefinitionsAreMissing) {
    call("Initialize");
    const ProgramRun without = call("GetI18NString", {"SLBEU0266"});
    EXPECT_THAT(without, Exited(0, ""));
    EXPECT_THAT(without.err, HasSubstr("quillmere: note: the field definitions C:\\Taviro "
                                       "Quillmere\\FieldMapper.xml are not installed"));
    EXPECT_THAT(without.err, HasSubstr("getFMapper"));

    installFieldDefinitions();
    const ProgramRun with = call("GetI18NString", {"SLBEU0266"});
    EXPECT_EQ(with.exitCode, 0);
    EXPECT_NE(with.out, "");
    EXPECT_EQ(with.err, "");
}

TEST_F(Tool, MethodsListsTheInterfaceFromTheMethodTable) {
    const ProgramRun methods =
        testing_support::runProgram(kTool, {"methods"}, scratch.dir().string());
    EXPECT_EQ(methods.exitCode, 0);
    std::vector<std::string> lines;
    std::string rest = methods.out;
    for (size_t end; (end = rest.find('\n')) != std::string::npos; rest.erase(0, end + 1))
        lines.push_back(rest.substr(0, end));
    ASSERT_EQ(lines.size(), 57u);
    EXPECT_EQ(lines.front(), "Initialize() -> variant");
    EXPECT_EQ(lines[8],
              "GetDetails(iObject string, iOrno string, iAcln string, iLine string, iXML string, "
              "iError int16) -> string");
    EXPECT_EQ(lines[15],
              "deleteNode(iorder variant, iActivity variant, iLine variant, iCostType variant) -> "
              "variant");
    EXPECT_EQ(lines[18], "SetCurrentmdb(byref iFName string) -> variant");
    EXPECT_EQ(lines[22], "LocalXmlExists() -> boolean");
    // Position 27 holds no method: the list goes on with OpenDataBase.
    EXPECT_EQ(lines[26],
              "HyperLinkAndZoom(iMode int16, iXmlTag string, iValue string, iFormName "
              "string) -> string");
    EXPECT_EQ(lines[27], "OpenDataBase() -> variant");
    EXPECT_EQ(lines.back(), "CompleteOrder() -> variant");
    EXPECT_EQ(run({"methods", "extra"}).exitCode, 2);
}

TEST_F(Tool, VersionIsTheProjectVersion) {
    EXPECT_THAT(testing_support::runProgram(kTool, {"--version"}, scratch.dir().string()),
                Exited(0, "quillmere 1.0.0\n"));
}

TEST_F(Tool, RootComesFromTheEnvironmentWithoutAnOption) {
    ::setenv("TAVIRO_ROOT", root().string().c_str(), 1);
    const ProgramRun fromEnv =
        testing_support::runProgram(kTool, {"call", "Initialize"}, scratch.dir().string());
    ::unsetenv("TAVIRO_ROOT");
    EXPECT_THAT(fromEnv, Exited(0, ""));
    EXPECT_TRUE(fs::exists(install("log.txt")));
}

TEST_F(Tool, ADeeplyNestedHiveIsReportedAndLeftAsItWas) {
    std::string hive;
    for (int i = 0; i < 50000; ++i) hive += R"({"name":"k","values":[],"subkeys":[)";
    for (int i = 0; i < 50000; ++i) hive += "]}";
    const fs::path file = root() / "registry" / "HKLM.json";
    writeFile(file, hive);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"call", "Initialize"},
                                                 {"call", "GetVariable", "Mode"},
                                                 {"reg", "get", kComponentKey, "Mode"},
                                                 {"reg", "set", kComponentKey, "Mode", "sz", "x"},
                                                 {"batch"}}) {
        const ProgramRun run = this->run(args, R"(["ListOrders"])");
        EXPECT_LT(run.exitCode, 128) << args[0] << " crashed: " << run.err;
        EXPECT_THAT(run.err + run.out, HasSubstr("damaged")) << args[0];
    }
    EXPECT_EQ(readFile(file), hive);
}

}  // namespace
