// kill -9 at random moments during the component's calls that change state: whatever moment a
// call dies at, the order store and the upload report hold their old or their new content, the
// registry hives read back, and the master-data database passes its integrity check.
// TAVIRO_CRASH_KILLS sets the kills per method (default 6) and TAVIRO_CRASH_SEED the random
// seed (printed with every failure).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "platform/registry.h"
#include "tests/component/support/store_markup.h"
#include "tests/support/killed_program.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_root.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::TempRoot;

const std::string kTool = std::string(TAVIRO_BINARY_DIR) + "/bin/quillmere";
const std::string kInstall = "C/Taviro Quillmere";

std::string sourceFile(const std::string& path) {
    return readFile(std::string(TAVIRO_SOURCE_DIR) + "/" + path);
}

// A store large enough that loading and saving it take a good part of a call: orders with an
// activity each, some of them new or changed (work waiting for the upload), and the orders the
// sample upload report speaks of.
std::string largeStore() {
    using namespace testing_support;
    std::string orders, activities;
    for (int i = 0; i < 3000; ++i) {
        const std::string number = "O-" + std::to_string(i);
        const std::string state = i % 50 == 0 ? "N" : i % 50 == 1 ? "M" : "O";
        orders += order(number, state, "15", "<Description>Boiler " + number + "</Description>");
        activities += activityGroup(number, state, activity("10", state));
    }
    for (const std::string number : {"SO-24017", "SO-24018"}) {
        orders += order(number, "MU");
        activities += activityGroup(number, "MU", activity("10", "MU"));
    }
    return store({.orders = orders, .activities = activities});
}

std::string newOrdersDownload() {
    std::string orders;
    for (int i = 0; i < 40; ++i) orders += testing_support::order("D-" + std::to_string(i), "O");
    return testing_support::store({.orders = orders});
}

struct CrashCase {
    std::string method;
    std::vector<std::string> args;
    // DownloadErrors keeps the server's report first, then saves the store it applied it to,
    // then the applied report: killed in between, it leaves the report as received beside the
    // old or the new store, and the next DownloadErrors applies the stored entries again.
    std::string reportReceived = {};
};

// A component machine ready for every crash case; each kill works on a copy of its folder.
class CrashMachine {
  public:
    CrashMachine() {
        run(temp_.dir(), {"call", "Initialize"});
        fs::copy_file(std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml",
                      install(temp_.dir(), "FieldMapper.xml"));
        const fs::path database = install(temp_.dir(), "MasterData/SC1.mdb");
        testing_support::writeFile(database, "");
        platform::db::connect("sqlite:" + database.string(), temp_.root())
            ->execute(sourceFile("data/masterdata/schema.sql"));
        run(temp_.dir(), {"call", "SetCurrentmdb", "SC1"});
        run(temp_.dir(), {"call", "SetODBCDataBase", "SC1.mdb"});
        testing_support::writeFile(install(temp_.dir(), "ZudivevEzored.xml"), largeStore());
    }
    const fs::path& dir() const { return temp_.dir(); }

    static fs::path install(const fs::path& root, const std::string& name) {
        return root / kInstall / name;
    }
    static testing_support::ProgramRun run(const fs::path& root, std::vector<std::string> args) {
        args.insert(args.begin(), {"--root", root.string()});
        const TempRoot scratch(false);
        return testing_support::runProgram(kTool, args, scratch.dir().string());
    }

  private:
    TempRoot temp_;
};

// The state files a call may leave, by their content ("" for a missing file).
struct StateFiles {
    std::string store;
    std::string report;

    static StateFiles of(const fs::path& root) {
        return {readFile(CrashMachine::install(root, "ZudivevEzored.xml")),
                readFile(CrashMachine::install(root, "UploadReport.xml"))};
    }
};

std::string integrity(const fs::path& root) {
    const fs::path database = CrashMachine::install(root, "MasterData/SC1.mdb");
    return platform::db::connect("sqlite:" + database.string(), platform::MachineRoot(root))
        ->query("PRAGMA integrity_check")
        .row(0)
        .at(0)
        .value_or("NULL");
}

class ComponentCrash : public ::testing::TestWithParam<CrashCase> {
  protected:
    static void SetUpTestSuite() { machine_ = new CrashMachine(); }
    static void TearDownTestSuite() {
        delete machine_;
        machine_ = nullptr;
    }

    // A copy of the prepared machine, removed with the test.
    fs::path copy(const std::string& name) {
        const fs::path dir = scratch_.dir() / name;
        fs::copy(machine_->dir(), dir, fs::copy_options::recursive);
        return dir;
    }

    std::vector<std::string> callArgs(const fs::path& root) const {
        std::vector<std::string> args = {"--root", root.string(), "call", GetParam().method};
        args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
        return args;
    }

    std::chrono::microseconds timedRun(const fs::path& root) const {
        const auto started = std::chrono::steady_clock::now();
        const TempRoot output(false);
        const auto run = testing_support::runProgram(kTool, callArgs(root), output.dir().string());
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        return std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - started);
    }

    static inline CrashMachine* machine_ = nullptr;
    TempRoot scratch_{false};
};

TEST_P(ComponentCrash, KilledCallsLeaveOldOrNewFilesAndASoundDatabase) {
    const StateFiles before = StateFiles::of(machine_->dir());
    const fs::path reference = copy("reference");
    const auto runTime = std::min(timedRun(reference), timedRun(copy("timing")));
    const StateFiles after = StateFiles::of(reference);
    ASSERT_TRUE(after.store != before.store || after.report != before.report ||
                GetParam().method == "Synchronize_MasterData")
        << "the call changes nothing, so its kills prove nothing";

    const unsigned long kills = testing_support::environmentNumber("TAVIRO_CRASH_KILLS", 6);
    const unsigned long seed =
        testing_support::environmentNumber("TAVIRO_CRASH_SEED", std::random_device{}());
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int64_t> moment(0, runTime.count() * 11 / 10);
    for (unsigned long kill = 0; kill < kills; ++kill) {
        const std::chrono::microseconds delay(moment(random));
        SCOPED_TRACE("seed " + std::to_string(seed) + ", kill " + std::to_string(kill) + " after " +
                     std::to_string(delay.count()) + " us of " + std::to_string(runTime.count()));
        const fs::path root = copy("kill-" + std::to_string(kill));
        testing_support::killProgramAfter(kTool, callArgs(root), delay);

        const StateFiles left = StateFiles::of(root);
        EXPECT_TRUE(left.store == before.store || left.store == after.store);
        const bool receivedOnly =
            !GetParam().reportReceived.empty() && left.report == GetParam().reportReceived;
        EXPECT_TRUE(left.report == before.report || left.report == after.report || receivedOnly);
        EXPECT_NO_THROW(
            platform::Registry(platform::MachineRoot(root))
                .values(platform::Hive::LocalMachine, "SOFTWARE\\Taviro\\Taviro Quillmere"));
        EXPECT_EQ(integrity(root), "ok");
        // The call can be made again on what the killed one left.
        const auto again =
            testing_support::runProgram(kTool, callArgs(root), scratch_.dir().string());
        EXPECT_EQ(again.exitCode, 0) << again.err;
        fs::remove_all(root);
        if (HasFailure()) break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    StateChangingCalls, ComponentCrash,
    ::testing::Values(
        CrashCase{"DownloadXml", {newOrdersDownload()}},
        CrashCase{"updatexml",
                  {"<ccsocservcordr>" +
                   testing_support::order("O-7", "X", "15", "<Remarks>changed</Remarks>") +
                   "</ccsocservcordr>"}},
        CrashCase{"CreateXMLStringForUpdate", {}},
        CrashCase{"DownloadErrors",
                  {sourceFile("data/masterdata/sample-upload-report.xml")},
                  sourceFile("data/masterdata/sample-upload-report.xml")},
        CrashCase{"Synchronize_MasterData", {sourceFile("data/masterdata/sample-changes.xml")}}),
    [](const ::testing::TestParamInfo<CrashCase>& info) { return info.param.method; });

}  // namespace
