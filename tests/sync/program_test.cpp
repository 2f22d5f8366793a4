// The program build/bin/brindlemoor: its command line, its exit status and its output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_root.h"
#include "tests/sync/support/server_machine.h"

namespace {

using sync_testing::ServerMachine;
using ::testing::HasSubstr;
using testing_support::ProgramRun;

const std::string kProgram = std::string(TAVIRO_BINARY_DIR) + "/bin/brindlemoor";

// Runs the program as an operator does; standard input is empty.
ProgramRun runProgram(const std::vector<std::string>& args) {
    const testing_support::TempRoot scratch;
    return testing_support::runProgram(kProgram, args, scratch.dir().string());
}

TEST(ProgramTest, RunWritesTheProgressAndExitsZero) {
    ServerMachine machine;
    machine.addCompany("500", 500);
    machine.addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5})");
    const ProgramRun run = runProgram({"--root", machine.dir().string(), "--run"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("Synchronizing Units........\nUnits done\n"));
    EXPECT_THAT(machine.changeFile("500"), HasSubstr("<CUNI ID=\"kg\" STATUS=\"I\">"));
}

TEST(ProgramTest, RunEndingOnAnErrorStillExitsZero) {
    ServerMachine machine;
    machine.addCompany("500", 500);
    std::filesystem::remove(machine.auditDatabase("500"));
    const ProgramRun run = runProgram({"--run", "--root=" + machine.dir().string()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, HasSubstr("See the log file for details."));
}

TEST(ProgramTest, StartUpFailureExitsOne) {
    ServerMachine machine;
    platform::Registry(machine.root())
        .deleteValue(platform::Hive::LocalMachine, "SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot");
    const ProgramRun run = runProgram({"--root", machine.dir().string(), "--run"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.out, HasSubstr("WshShell.RegRead - Unable to open registry key"));
}

TEST(ProgramTest, UnknownArgumentsAreAUsageError) {
    EXPECT_EQ(runProgram({"--walk"}).exitCode, 2);
    EXPECT_EQ(runProgram({"--root"}).exitCode, 2);
    const ProgramRun help = runProgram({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("brindlemoor [--root R] --run"));
}

}  // namespace
