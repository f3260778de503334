// The clone window: the count of radios so far (written / failed / skipped),
// the run's log as a list, Start and Stop, and what the user should do next.
// It shows what it is told and says when its buttons are pressed; the run
// itself belongs to whoever listens.
#pragma once

#include <QString>

#include "link/clone_control.h"
#include "windows/aux_window.h"

class QListWidget;
class QPushButton;

namespace quelro {

class CloneWindow : public AuxWindow {
    Q_OBJECT

  public:
    // `language` is the owner's: the language of the window's messages.
    CloneWindow(ProgramState& state, const int& language, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

    // A run starts (counts and log emptied, Start disabled) or is over.
    void SetRunning(bool running);
    void ShowInstruction(CloneInstruction instruction);
    // A radio is done; `soFar` counts it.
    void ShowRadio(const CloneRecord& record, qint64 elapsedMs, const CloneSummary& soFar);
    // A line of the log as it is (a transfer's message).
    void AddLine(const QString& line);
    void ShowSummary(const CloneSummary& summary);

    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QListWidget* Log() const { return log_; }
    QString CountText() const;
    QString InstructionShown() const;

  signals:
    void StartClicked();
    void StopClicked();

  private:
    void ShowCounts();
    QString Text(const Caption& caption) const;

    QLabel* instruction_;
    QLabel* counts_;
    QListWidget* log_;
    QPushButton* start_;
    QPushButton* stop_;
    CloneSummary counted_;
    const int& language_;
};

} // namespace quelro
