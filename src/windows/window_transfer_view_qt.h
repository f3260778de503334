// WindowTransferView: the main window's side of a transfer on its widgets -
// Toolbar1, the mnupro menu and toolbar buttons 5 and 6 locked, Frame1
// enabled and Combo1 focused for a moment, the blinking status Label, ProgressBar1, and the
// messages through LocalMsgBox in the current language. What a read brings back is handed to the
// window through a callback. The control that had the focus before the transfer has it back after.
#pragma once

#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <string>

#include "link/transfer_control.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QWidget;
class QToolBar;

namespace quelro {

struct TransferWidgets {
    QToolBar* toolbar;      // Toolbar1
    QMenu* programMenu;     // mnupro
    QAction* readButton;    // toolbar button 5, key "read"
    QAction* writeButton;   // toolbar button 6, key "write"
    QGroupBox* bandFrame;   // Frame1
    QComboBox* bandList;    // Combo1
    QLabel* status;         // Label
    QProgressBar* progress; // ProgressBar1
    QWidget* grid;          // Grid1, which takes the focus back from Combo1
};

class WindowTransferView : public TransferView {
  public:
    // Decodes `readImage` into the window and then sets BandIndex and Combo1
    // to `radioBand` without the band-change question.
    using ReadHandler = std::function<void(const std::string& readImage, int radioBand)>;
    // Shows a line as the status bar's tip (a backup that could not be kept).
    using TipHandler = std::function<void(const QString& tip)>;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    WindowTransferView(const TransferWidgets& widgets, const int& language, ReadHandler onRead,
                       TipHandler showTip);

    int Language() const override { return language_; }
    void SetTransferLocked(bool locked) override;
    void FocusBandSelector() override;
    void SetStatusText(const std::string& text) override;
    void ToggleStatusVisible() override;
    void HideStatus() override;
    void ShowProgress(int maximum) override;
    void SetProgress(int value) override;
    void HideProgress() override;
    BoxAnswer ShowMessage(const Message& message) override;
    // A critical box (style 16) with FailureText in the current language.
    void ShowFailure(const TransferFailure& failure) override;
    void ReadCompleted(const std::string& readImage, int radioBand) override;
    void WriteCompleted() override;
    // Told when the radio took a whole image.
    void OnWriteCompleted(std::function<void()> written) { onWrite_ = std::move(written); }
    void ShowBackupWarning(const std::string& text) override;
    // The clock that spaces what is spoken (steady_clock unless a test sets
    // its own).
    void UseClock(Clock clock) { now_ = std::move(clock); }

  private:
    // Speaks a line of the transfer and notes when.
    void Say(QWidget* where, const QString& text);

    TransferWidgets w_;
    const int& language_; // the window's
    ReadHandler onRead_;
    TipHandler showTip_;
    std::function<void()> onWrite_;
    static constexpr int kSpokenProgressStep = 25;
    // How long a spoken line needs before the next may cut it off: a reader
    // speaks each new line over the one before.
    static constexpr std::chrono::milliseconds kHeardIn{2000};
    // The last progress a listener heard, in percent.
    int progressSpoken_ = 0;
    Clock now_ = [] { return std::chrono::steady_clock::now(); };
    std::chrono::steady_clock::time_point spokenAt_{};
    // The control that had the focus when the transfer locked the window.
    QPointer<QWidget> focus_;
};

} // namespace quelro
