// The main window's clone command: Programming -> "Clone to several radios..."
// opens the clone window, whose Start runs a cloning run of what the grid
// holds on the program's serial link, with the main window locked as for a
// transfer and its status line and progress bar showing each transfer.
#pragma once

#include <QObject>
#include <QPointer>

#include "i18n/language_window_qt.h"
#include "link/clone_driver_qt.h"

class QAction;

namespace quelro {

class CloneWindow;
class Form1;

class CloneCommand : public QObject, public LanguagePart, private CloneReport {
    Q_OBJECT

  public:
    // `display` is the main window's side of a transfer. All must outlive
    // the command, which the main window owns.
    CloneCommand(SerialLink& link, ProgramState& state, Form1& form, TransferView& display);
    ~CloneCommand() override;

    void ApplyLanguage(int languageMode) override;
    void Translate() override;

    void Show();
    void Start();
    void Stop();

    CloneWindow& CloneView();
    QAction* MenuItem() const { return menuItem_; }
    bool Running() const { return driver_ != nullptr; }

  private:
    // CloneReport
    int Language() const override;
    void RadioDone(const CloneRecord& record, const QDateTime& startedUtc,
                   qint64 elapsedMs) override;
    void Instruct(CloneInstruction instruction) override;
    void TransferMessage(const std::string& text) override;
    void Finished(const CloneSummary& summary) override;

    SerialLink& link_;
    ProgramState& state_;
    Form1& form_;
    TransferView& display_;
    CloneWindow* window_ = nullptr;
    QAction* menuItem_;
    QPointer<CloneDriver> driver_;
    // The programming of the run under way, copied when it started (a driver
    // about to be deleted may still hold it).
    ProgramState written_;
};

} // namespace quelro
