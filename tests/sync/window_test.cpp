// The window on the offscreen platform: its controls, a run from the button, and the
// unattended start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QPixmap>
#include <memory>

#include "sync/window/sync_window.h"
#include "tests/sync/support/server_machine.h"

namespace {

using brindlemoor::Synchronizer;
using brindlemoor::SyncWindow;
using sync_testing::ServerMachine;
using ::testing::HasSubstr;

class WindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "sync_tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }

    ServerMachine machine;
    static QApplication* application_;
};

QApplication* WindowTest::application_ = nullptr;

TEST_F(WindowTest, OperatorRunKeepsButtonsDisabledUntilItEnds) {
    machine.addCompany("500", 500);
    machine.addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5})");
    SyncWindow window(machine.root());
    EXPECT_EQ(window.windowTitle().toStdString(), "Taviro Quillmere  -> Synchronize Master Data");
    EXPECT_EQ(window.synchronizeButton().text().toStdString(), "Synchronize");
    EXPECT_EQ(window.closeButton().text().toStdString(), "Close");
    ASSERT_EQ(window.load(), Synchronizer::StartUpOutcome::WaitForOperator);
    EXPECT_EQ(window.progressText().toPlainText().toStdString(),
              "Press Synchronize to bring the master data up to date.\n");
    window.show();

    int changesDuringRun = 0;
    int changesWithButtonsEnabled = 0;
    QObject::connect(&window.progressText(), &QPlainTextEdit::textChanged, [&] {
        ++changesDuringRun;
        if (window.synchronizeButton().isEnabled() || window.closeButton().isEnabled())
            ++changesWithButtonsEnabled;
    });
    window.synchronizeButton().click();

    EXPECT_GT(changesDuringRun, 40);
    EXPECT_EQ(changesWithButtonsEnabled, 0);
    EXPECT_TRUE(window.synchronizeButton().isEnabled());
    EXPECT_TRUE(window.closeButton().isEnabled());
    EXPECT_TRUE(window.isVisible());
    const std::string text = window.progressText().toPlainText().toStdString();
    EXPECT_THAT(text, HasSubstr("Synchronizing Units........\nUnits done\n"));
    EXPECT_THAT(text, HasSubstr("\nThe master-data file of the company has been written.\n"
                                "Company 500: 1 inserted, 0 modified, 0 deleted; change file "));
    EXPECT_THAT(machine.changeFile("500"), HasSubstr("<CUNI ID=\"kg\" STATUS=\"I\">"));

    const QPixmap picture = window.grab();
    const std::filesystem::path png = machine.dir() / "sync-window.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(png.string()), "PNG"));
    EXPECT_GT(std::filesystem::file_size(png), 1000u);

    window.closeButton().click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, UnattendedStartRunsAndCloses) {
    machine.setParameter("MDSyncAuto", "yes");
    machine.addCompany("500", 500);
    SyncWindow window(machine.root());
    ASSERT_EQ(window.load(), Synchronizer::StartUpOutcome::RunUnattended);
    EXPECT_FALSE(window.isVisible());
    window.synchronize();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(machine.hasChangeFile("500"));
    EXPECT_THAT(window.progressText().toPlainText().toStdString(),
                ::testing::StartsWith("Synchronizing Problems......\n"));
}

TEST_F(WindowTest, FailedStartUpShowsTheError) {
    std::filesystem::remove(machine.serverDatabase());
    SyncWindow window(machine.root());
    EXPECT_EQ(window.load(), Synchronizer::StartUpOutcome::Failed);
    EXPECT_THAT(window.progressText().toPlainText().toStdString(), HasSubstr("Brindlemoor - "));
    EXPECT_TRUE(window.synchronizer().endAfterError());
}

}  // namespace
