// The compare window: every difference between the table on screen (old)
// and a file (new), one row each - the channel or setting, the old text and
// the new one - or one line saying there is none. Double-clicking a
// channel's row asks for that channel to be selected in the grid.
#pragma once

#include <QString>

#include <vector>

#include "files/programming_diff.h"
#include "windows/aux_window.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quelro {

class CompareWindow : public AuxWindow {
    Q_OBJECT

  public:
    CompareWindow(ProgramState& state, QWidget* owner);

    // Which side is which: the table on screen (old) against a file (new), or
    // the last read from the radio (before) against the table on screen (now).
    enum class Sides { ScreenAndFile, LastReadAndScreen };
    // The differences with `fileName`, their texts already in `languageMode`.
    void ShowDifferences(const QString& fileName, std::vector<Difference> differences,
                         int languageMode, Sides sides = Sides::ScreenAndFile);
    const std::vector<Difference>& Differences() const { return differences_; }

    void ApplyLanguage(int languageMode) override;
    // The Traditional captions come from the caption table, like the rows.
    void Translate() override;

    QLabel* Label1;        // what is compared with what, or that nothing differs
    QTableWidget* List1;   // channel or setting, old (before), new (now)
    QPushButton* Command1; // Close

  signals:
    // A channel's row was double-clicked: grid row 1..16.
    void ChannelChosen(int row);

  private:
    void Captions(int languageMode);

    QString fileName_;
    std::vector<Difference> differences_;
    int languageMode_ = 0;
    Sides sides_ = Sides::ScreenAndFile;
};

} // namespace quelro
