#include "sync/window/sync_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTextCursor>
#include <QVBoxLayout>
#include <iostream>

namespace brindlemoor {

namespace {
constexpr const char* kCaption = "Taviro Quillmere  -> Synchronize Master Data";

QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

SyncWindow::SyncWindow(const platform::MachineRoot& root, RunOptions options)
    : progressText_(new QPlainTextEdit(this)),
      synchronizeButton_(new QPushButton(QStringLiteral("Synchronize"), this)),
      closeButton_(new QPushButton(QStringLiteral("Close"), this)),
      progress_(*progressText_),
      synchronizer_(root, progress_, options) {
    setWindowTitle(QString::fromUtf8(kCaption));
    progressText_->setObjectName(QStringLiteral("txtSync"));
    progressText_->setReadOnly(true);
    synchronizeButton_->setObjectName(QStringLiteral("Command1"));
    closeButton_->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(synchronizeButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progressText_);
    layout->addLayout(buttons);
    resize(560, 420);

    QObject::connect(synchronizeButton_, &QPushButton::clicked, this, [this] { synchronize(); });
    QObject::connect(closeButton_, &QPushButton::clicked, this, [this] { closeAndEnd(); });
}

Synchronizer::StartUpOutcome SyncWindow::load() {
    return synchronizer_.startUp();
}

RunReport SyncWindow::synchronize() {
    synchronizeButton_->setEnabled(false);
    closeButton_->setEnabled(false);
    show();
    RunReport report = synchronizer_.exportMasterData();
    synchronizeButton_->setEnabled(true);
    closeButton_->setEnabled(true);
    if (synchronizer_.unattended()) closeAndEnd();
    return report;
}

void SyncWindow::closeAndEnd() {
    close();
}

void TextBoxProgress::setText(std::string_view text) {
    textBox_.setPlainText(qtText(text));
}

void TextBoxProgress::append(std::string_view text) {
    textBox_.moveCursor(QTextCursor::End);
    textBox_.insertPlainText(qtText(text));
}

void TextBoxProgress::repaint() {
    textBox_.moveCursor(QTextCursor::End);
    textBox_.ensureCursorVisible();
    // The run holds the only thread; pending paints are done now, the operator's input waits
    // (the buttons are disabled anyway).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int RunWindow(const platform::MachineRoot& root, int& argc, char** argv, RunOptions options) {
    QApplication application(argc, argv);
    SyncWindow window(root, options);
    switch (window.load()) {
        case Synchronizer::StartUpOutcome::Failed:
            // The window ends before it was ever shown; its text is all the operator gets.
            std::cerr << window.progressText().toPlainText().toStdString() << std::endl;
            return 1;
        case Synchronizer::StartUpOutcome::RunUnattended:
            return window.synchronize().exitStatus();
        case Synchronizer::StartUpOutcome::WaitForOperator:
            window.show();
            return application.exec();
    }
    return 0;
}

}  // namespace brindlemoor
