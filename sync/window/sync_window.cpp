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

SyncWindow::SyncWindow(const platform::MachineRoot& root)
    : txtSync_(new QPlainTextEdit(this)),
      command1_(new QPushButton(QStringLiteral("Synchronize"), this)),
      cmdClose_(new QPushButton(QStringLiteral("Close"), this)),
      progress_(*txtSync_),
      synchronizer_(root, progress_) {
    setWindowTitle(QString::fromUtf8(kCaption));
    txtSync_->setObjectName(QStringLiteral("txtSync"));
    txtSync_->setReadOnly(true);
    command1_->setObjectName(QStringLiteral("Command1"));
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtSync_);
    layout->addLayout(buttons);
    resize(560, 420);

    QObject::connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    QObject::connect(cmdClose_, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

Synchronizer::StartUpOutcome SyncWindow::load() {
    return synchronizer_.startUp();
}

void SyncWindow::Command1_Click() {
    command1_->setEnabled(false);
    cmdClose_->setEnabled(false);
    show();
    synchronizer_.ExportMasterData();
    command1_->setEnabled(true);
    cmdClose_->setEnabled(true);
    if (synchronizer_.unattended()) cmdClose_Click();
}

void SyncWindow::cmdClose_Click() {
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

int RunWindow(const platform::MachineRoot& root, int& argc, char** argv) {
    QApplication application(argc, argv);
    SyncWindow window(root);
    switch (window.load()) {
        case Synchronizer::StartUpOutcome::Failed:
            // The window ends before it was ever shown; its text is all the operator gets.
            std::cerr << window.txtSync().toPlainText().toStdString() << std::endl;
            return 1;
        case Synchronizer::StartUpOutcome::RunUnattended:
            window.Command1_Click();
            return 0;
        case Synchronizer::StartUpOutcome::WaitForOperator:
            window.show();
            return application.exec();
    }
    return 0;
}

}  // namespace brindlemoor
