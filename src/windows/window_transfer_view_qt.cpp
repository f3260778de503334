// The transfer's effects on the main window's widgets.
#include "windows/window_transfer_view_qt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QToolBar>

#include "channels/announcement_qt.h"
#include "i18n/local_msgbox_qt.h"

namespace quelro {

WindowTransferView::WindowTransferView(const TransferWidgets& widgets, const int& language,
                                       ReadHandler onRead, TipHandler showTip)
    : w_(widgets), language_(language), onRead_(std::move(onRead)), showTip_(std::move(showTip)) {}

namespace {

// Whether the focus can go back to `widget`.
bool CanTakeFocus(const QWidget* widget) {
    return widget != nullptr && widget->isVisible() && widget->isEnabled();
}

} // namespace

void WindowTransferView::SetTransferLocked(bool locked) {
    if (locked)
        focus_ = QApplication::focusWidget();
    else if (QApplication::focusWidget() == nullptr && CanTakeFocus(focus_))
        // A box or a lock took the focus on the way; the user finds it back.
        focus_->setFocus(Qt::OtherFocusReason);
    w_.toolbar->setEnabled(!locked);
    // The menu's title in the menu bar, and with it every item inside.
    w_.programMenu->menuAction()->setEnabled(!locked);
    w_.readButton->setEnabled(!locked);
    w_.writeButton->setEnabled(!locked);
}

void WindowTransferView::FocusBandSelector() {
    w_.bandFrame->setEnabled(true);
    // Taking the focus commits a pending edit of the grid. The focus then goes
    // back where it was, else to the grid (or nowhere), but never stays on
    // the band selector, so that a wheel turned over it during or after the
    // transfer cannot change the band.
    if (QWidget* before = QApplication::focusWidget(); before != nullptr && before != w_.bandList)
        focus_ = before;
    w_.bandList->setFocus(Qt::OtherFocusReason);
    if (CanTakeFocus(focus_) && focus_ != w_.bandList)
        focus_->setFocus(Qt::OtherFocusReason);
    else if (w_.grid != nullptr && w_.grid->isEnabled())
        w_.grid->setFocus(Qt::OtherFocusReason);
    else
        w_.bandList->clearFocus();
}

void WindowTransferView::SetStatusText(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    // The blinking label is never focused; its news is spoken once.
    if (shown != w_.status->text()) Say(w_.status, shown);
    w_.status->setText(shown);
}

void WindowTransferView::ToggleStatusVisible() {
    // isHidden, not isVisible: the label's own state, whether or not the
    // window is on screen.
    w_.status->setHidden(!w_.status->isHidden());
}

void WindowTransferView::HideStatus() {
    w_.status->hide();
}

void WindowTransferView::ShowProgress(int maximum) {
    w_.progress->setRange(0, maximum);
    w_.progress->setValue(0);
    w_.progress->show();
    progressSpoken_ = 0;
}

void WindowTransferView::SetProgress(int value) {
    w_.progress->setValue(value);
    // A quarter at a time: often enough to know the transfer moves, seldom
    // enough to leave the listener in peace. A quarter reached while the
    // line before is still being heard (the transfer's start, in a transfer
    // of a second or two) is left out.
    const int maximum = w_.progress->maximum();
    if (maximum <= 0) return;
    const int percent = static_cast<int>(100LL * value / maximum);
    const int step = percent / kSpokenProgressStep * kSpokenProgressStep;
    if (step > progressSpoken_ && step < 100 && now_() - spokenAt_ >= kHeardIn) {
        progressSpoken_ = step;
        Say(w_.progress, QString("%1%").arg(step));
    }
}

void WindowTransferView::Say(QWidget* where, const QString& text) {
    Announce(where, text);
    spokenAt_ = now_();
}

void WindowTransferView::HideProgress() {
    w_.progress->hide();
}

BoxAnswer WindowTransferView::ShowMessage(const Message& message) {
    return quelro::ShowMessage(message, language_);
}

void WindowTransferView::ShowFailure(const TransferFailure& failure) {
    constexpr int kCriticalOk = 16; // as the communication error always was
    LocalMsgBox(QString::fromStdString(FailureText(failure, language_)), kCriticalOk, QString(),
                language_);
}

void WindowTransferView::WriteCompleted() {
    if (onWrite_) onWrite_();
}

void WindowTransferView::ReadCompleted(const std::string& readImage, int radioBand) {
    if (onRead_) onRead_(readImage, radioBand);
}

void WindowTransferView::ShowBackupWarning(const std::string& text) {
    if (showTip_) showTip_(QString::fromStdString(text));
}

} // namespace quelro
