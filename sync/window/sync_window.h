#pragma once
// The window SyncForm: the progress text box (object name txtSync) and the buttons
// "Synchronize" (Command1) and "Close" (cmdClose). It shows the synchronizer's progress as it
// comes, repainting in the middle of a run, and keeps both buttons disabled while a run lasts.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "platform/machine_root.h"
#include "sync/core/progress.h"
#include "sync/core/synchronizer.h"

namespace brindlemoor {

// The progress of a run as the text box txtSync shows it.
class TextBoxProgress final : public Progress {
  public:
    explicit TextBoxProgress(QPlainTextEdit& textBox) : textBox_(textBox) {}
    void setText(std::string_view text) override;
    void append(std::string_view text) override;
    void repaint() override;

  private:
    QPlainTextEdit& textBox_;
};

class SyncWindow final : public QWidget {
  public:
    explicit SyncWindow(const platform::MachineRoot& root, RunOptions options = {});

    // The start-up when the window loads, before it is shown.
    Synchronizer::StartUpOutcome load();

    // A run: buttons disabled, window shown, the run, buttons enabled; unattended, the window
    // then closes.
    RunReport synchronize();
    // Unloads the window; the program ends.
    void closeAndEnd();

    QPlainTextEdit& progressText() { return *progressText_; }
    QPushButton& synchronizeButton() { return *synchronizeButton_; }
    QPushButton& closeButton() { return *closeButton_; }
    Synchronizer& synchronizer() { return synchronizer_; }

  private:
    QPlainTextEdit* progressText_;
    QPushButton* synchronizeButton_;
    QPushButton* closeButton_;
    TextBoxProgress progress_;
    Synchronizer synchronizer_;
};

// The program's window mode: loads the window, then waits for the operator, or runs at once
// and ends when the server database asks for unattended runs (with the run's exit status,
// as RunHeadless gives it). 1 when the start-up failed.
int RunWindow(const platform::MachineRoot& root, int& argc, char** argv, RunOptions options = {});

}  // namespace brindlemoor
