// The clone command between the main window, the clone window and the run.
#include "app/clone_command.h"

#include <QAction>
#include <QMenu>

#include "app/form1.h"
#include "channels/cell_editors_qt.h"
#include "windows/clone_window.h"

namespace quelro {

CloneCommand::CloneCommand(SerialLink& link, ProgramState& state, Form1& form,
                           TransferView& display)
    : QObject(&form), link_(link), state_(state), form_(form), display_(display) {
    menuItem_ = form.mnupro->addAction(QString::fromUtf8(
        clone_text::kMenuItem.zh.data(), static_cast<qsizetype>(clone_text::kMenuItem.zh.size())));
    menuItem_->setObjectName("mnuclone");
    connect(menuItem_, &QAction::triggered, this, &CloneCommand::Show);
}

CloneWindow& CloneCommand::CloneView() {
    // Built when first wanted: start-up shows the main window first.
    if (!window_) {
        window_ = new CloneWindow(state_, form_.LanguageMode(), &form_);
        connect(window_, &CloneWindow::StartClicked, this, &CloneCommand::Start);
        connect(window_, &CloneWindow::StopClicked, this, &CloneCommand::Stop);
        window_->ApplyLanguage(form_.LanguageMode());
        if (form_.LanguageMode() == kTraditional) window_->Translate();
    }
    return *window_;
}

CloneCommand::~CloneCommand() {
    delete driver_.data();
}

void CloneCommand::Translate() {
    // The menu item is converted with the main window's menus.
    if (window_) window_->Translate();
}

void CloneCommand::ApplyLanguage(int languageMode) {
    if (auto text = CaptionFor(clone_text::kMenuItem, languageMode))
        menuItem_->setText(QString::fromStdString(*text));
    if (window_) window_->ApplyLanguage(languageMode);
}

void CloneCommand::Show() {
    CloneView().ShowModeless();
}

void CloneCommand::Start() {
    if (driver_) return;
    if (!link_.IsOpen()) {
        display_.ShowMessage(msg::kNoPort);
        return;
    }
    // As Write does: a cell edit still open is committed before the image
    // is built, and the window is locked while the run lasts. Every radio
    // gets the programming as it was at the start, whatever the window shows.
    display_.FocusBandSelector();
    form_.Editors().Commit();
    display_.SetTransferLocked(true);
    form_.SetBusy(true);
    window_->SetRunning(true);
    const CloneOptions options{0, true, false, state_.ServiceMode != 0};
    written_ = state_;
    driver_ = new CloneDriver(link_, written_, options, *this, &display_, this);
    driver_->Start();
}

void CloneCommand::Stop() {
    if (driver_) driver_->Stop();
}

void CloneCommand::RadioDone(const CloneRecord& record, const QDateTime&, qint64 elapsedMs) {
    window_->ShowRadio(record, elapsedMs, driver_->Control().Summary());
}

void CloneCommand::Instruct(CloneInstruction instruction) {
    window_->ShowInstruction(instruction);
}

int CloneCommand::Language() const {
    return form_.LanguageMode();
}

void CloneCommand::TransferMessage(const std::string& text) {
    window_->AddLine(QString::fromStdString(text));
}

void CloneCommand::Finished(const CloneSummary& summary) {
    window_->ShowSummary(summary);
    window_->SetRunning(false);
    display_.SetTransferLocked(false);
    form_.SetBusy(false);
    // Finished is called from inside the driver's own step.
    driver_->deleteLater();
    driver_ = nullptr;
}

} // namespace quelro
