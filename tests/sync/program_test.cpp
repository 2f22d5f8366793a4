// The program build/bin/brindlemoor: its command line, its exit status and its output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "platform/registry.h"
#include "tests/sync/support/server_machine.h"

namespace {

using sync_testing::ServerMachine;
using ::testing::HasSubstr;

struct Outcome {
    int status = -1;
    std::string out;
};

// Runs the program with the arguments; standard input is empty, standard error is dropped.
Outcome runProgram(const std::string& arguments) {
    const std::string command = std::string("'") + TAVIRO_BINARY_DIR + "/bin/brindlemoor' " +
                                arguments + " </dev/null 2>/dev/null";
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return outcome;
    std::array<char, 4096> buffer{};
    size_t read;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        outcome.out.append(buffer.data(), read);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

TEST(ProgramTest, RunWritesTheProgressAndExitsZero) {
    ServerMachine machine;
    machine.addCompany("500", 500);
    machine.addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5})");
    const Outcome outcome = runProgram("--root " + quoted(machine.dir()) + " --run");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_THAT(outcome.out, HasSubstr("Synchronizing Units........\nUnits done\n"));
    EXPECT_THAT(machine.changeFile("500"), HasSubstr("<CUNI ID=\"kg\" STATUS=\"I\">"));
}

TEST(ProgramTest, RunEndingOnAnErrorStillExitsZero) {
    ServerMachine machine;
    machine.addCompany("500", 500);
    std::filesystem::remove(machine.auditDatabase("500"));
    const Outcome outcome = runProgram("--run --root=" + quoted(machine.dir()));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_THAT(outcome.out, HasSubstr("See the log file for details."));
}

TEST(ProgramTest, StartUpFailureExitsOne) {
    ServerMachine machine;
    platform::Registry(machine.root())
        .deleteValue(platform::Hive::LocalMachine, "SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot");
    const Outcome outcome = runProgram("--root " + quoted(machine.dir()) + " --run");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out, HasSubstr("WshShell.RegRead - Unable to open registry key"));
}

TEST(ProgramTest, UnknownArgumentsAreAUsageError) {
    EXPECT_EQ(runProgram("--walk").status, 2);
    EXPECT_EQ(runProgram("--root").status, 2);
    const Outcome help = runProgram("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("brindlemoor [--root R] --run"));
}

}  // namespace
