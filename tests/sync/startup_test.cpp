// Start-up: folders, server connection, unattended setting, label texts, and what a failure of
// any of them shows, logs and answers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "sync/core/headless_run.h"
#include "sync/core/synchronizer.h"
#include "tests/sync/support/server_machine.h"

namespace {

using brindlemoor::StreamProgress;
using brindlemoor::Synchronizer;
using platform::Hive;
using sync_testing::ServerMachine;
using ::testing::HasSubstr;

constexpr const char* kMiddlewareKey = "SOFTWARE\\Taviro\\Taviro Corbelline";

class StartUpTest : public ::testing::Test {
  protected:
    Synchronizer::StartUpOutcome startUp() {
        std::ostringstream text;
        StreamProgress progress(text);
        Synchronizer synchronizer(machine.root(), progress);
        const Synchronizer::StartUpOutcome outcome = synchronizer.startUp();
        out = text.str();
        return outcome;
    }
    platform::Registry registry() const { return platform::Registry(machine.root()); }
    // The line that follows a failed start-up's texts when the log file could be written.
    std::string startUpFailed() const {
        return "The start-up failed; the log file is " + machine.logFile().string() + "\n";
    }

    ServerMachine machine;
    std::string out;
};

TEST_F(StartUpTest, OnlyYesInAnyCaseMeansUnattended) {
    EXPECT_EQ(startUp(), Synchronizer::StartUpOutcome::WaitForOperator);
    EXPECT_EQ(out, "Press Synchronize to bring the master data up to date.\n");
    for (const char* setting : {"yes", " YES ", "Yes"}) {
        machine.setParameter("MDSyncAuto", setting);
        EXPECT_EQ(startUp(), Synchronizer::StartUpOutcome::RunUnattended) << setting;
        EXPECT_EQ(out, "");
    }
    for (const char* setting : {"NO", "", "YESS"}) {
        machine.setParameter("MDSyncAuto", setting);
        EXPECT_EQ(startUp(), Synchronizer::StartUpOutcome::WaitForOperator) << setting;
    }
    // Of several rows the last one counts.
    machine.executeServer("insert into PARAMETERS values ('MDSyncAuto', 'yes')");
    EXPECT_EQ(startUp(), Synchronizer::StartUpOutcome::RunUnattended);
}

TEST_F(StartUpTest, UnattendedHeadlessRunShowsNoFirstLine) {
    machine.setParameter("MDSyncAuto", "YES");
    std::string out;
    EXPECT_EQ(machine.runHeadless(out), 0);
    EXPECT_EQ(out, "");
    EXPECT_THAT(machine.log(),
                HasSubstr("The master data of all companies has been synchronized."));
}

TEST_F(StartUpTest, LocaleWithoutLabelsLeavesThemEmpty) {
    machine.setParameter("DefaultLanguage", "1043");
    machine.addCompany("500", 500);
    std::string out;
    ASSERT_EQ(machine.runHeadless(out), 0);
    EXPECT_EQ(out.substr(0, 19), "\n......\n  \n.......\n");
    EXPECT_THAT(machine.log(), HasSubstr("OBJECTS : \r\n0 record(s) Deleted"));
}

TEST_F(StartUpTest, MissingWebRootFailsAndIsLogged) {
    registry().deleteValue(Hive::LocalMachine, "SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot");
    std::string out, err;
    EXPECT_EQ(machine.runHeadless(out, err), 1);
    const std::string description =
        "Unable to open registry key \"HKLM\\SOFTWARE\\Microsoft\\INetStp\\PathWWWRoot\" for "
        "reading.";
    EXPECT_EQ(out, "WshShell.RegRead - " + description + "\n" + startUpFailed());
    EXPECT_EQ(machine.log(), "WshShell.RegRead  -2147024894 " + description + " \r\n");
    EXPECT_EQ(err, "");
}

TEST_F(StartUpTest, MissingMiddlewareFolderCannotBeLogged) {
    registry().deleteValue(Hive::LocalMachine, kMiddlewareKey, "InstMainDir");
    std::string out, err;
    EXPECT_EQ(machine.runHeadless(out, err), 1);
    EXPECT_EQ(out,
              "WshShell.RegRead - Unable to open registry key "
              "\"HKLM\\SOFTWARE\\Taviro\\Taviro Corbelline\\InstMainDir\" for reading.\n"
              "The start-up failed; no log file could be written\n");
    EXPECT_THAT(err, HasSubstr("brindlemoor: the log could not be written: 76 Path not found"));
}

TEST_F(StartUpTest, MissingDatasourceComponentIsError429) {
    registry().deleteKey(Hive::LocalMachine, std::string(kMiddlewareKey) + "\\ConnectionStrings");
    std::string out;
    EXPECT_EQ(machine.runHeadless(out), 1);
    EXPECT_EQ(out, "\nBrindlemoor - ActiveX component can't create object\n" + startUpFailed());
    EXPECT_EQ(machine.log(),
              "Corbelline.dll was not registered on your system\r\n"
              "Brindlemoor  429 ActiveX component can't create object \r\n");
}

TEST_F(StartUpTest, ServerDatabaseFailureIsAGeneralFailure) {
    registry().setValue(Hive::LocalMachine, std::string(kMiddlewareKey) + "\\ConnectionStrings",
                        platform::RegistryValue::string("11", ""));
    std::string out;
    EXPECT_EQ(machine.runHeadless(out), 1);
    const std::string description =
        "The connection string names no data source (DSN=...), sqlite: file or postgresql:// "
        "server.";
    EXPECT_EQ(out, "Brindlemoor - " + description + "\n" + startUpFailed());
    EXPECT_EQ(machine.log(), "-2147467259 - " + description +
                                 "\r\nCould not Synchronize Master Data - Process Aborted\r\n"
                                 "Brindlemoor  -2147467259 " +
                                 description + " \r\n");
}

TEST_F(StartUpTest, TooManyRunLabelsFailTheStartUp) {
    machine.executeServer(
        "insert into I18NText values ('1033', 'SLBEU0462', 'again');"
        "insert into I18NText values ('1033', 'SLBEU0463', 'again')");
    std::string out;
    EXPECT_EQ(machine.runHeadless(out), 1);
    EXPECT_EQ(out, "Brindlemoor - Subscript out of range\n" + startUpFailed());
    EXPECT_EQ(machine.log(), "Brindlemoor  9 Subscript out of range \r\n");
}

TEST_F(StartUpTest, RunWithoutLogFolderShowsItsErrorAndReportsTheLog) {
    std::filesystem::remove_all(machine.logFolder());
    std::string out, err;
    EXPECT_EQ(machine.runHeadless(out, err), 3);
    EXPECT_EQ(out,
              "Press Synchronize to bring the master data up to date.\n"
              "Brindlemoor Error See the log file for details.\n"
              "The run stopped before the first company; no log file could be written\n");
    EXPECT_THAT(err, HasSubstr("the log could not be written: 53 File not found: "));
}

}  // namespace
