// The main window's reorder commands: move the selected channels up or down,
// insert an empty channel, delete channels and close the gap, sort by
// receive frequency, drag and drop. Each is one undo step; while the window is locked none
// of them runs, from a menu or by its key.
#pragma once

#include <QObject>

#include <vector>

#include "channels/program_state.h"
#include "i18n/language_window_qt.h"

class QAction;

namespace quelro {

class ChannelCommands;
class Form1;

class ChannelMoves : public QObject, public LanguagePart {
    Q_OBJECT

  public:
    // Adds the commands to the grid's context menu and their keys to the grid.
    ChannelMoves(ProgramState& state, Form1& form, ChannelCommands& commands);

    // LanguagePart: the actions are children of the main window, which
    // converts them to Traditional Chinese with its own texts.
    void ApplyLanguage(int languageMode) override;
    void Translate() override {}

    void MoveUp();
    void MoveDown();
    void InsertEmpty();
    void DeleteAndMoveUp();
    void SortByRxFrequency();
    // Channels dragged by their number and dropped on `row`.
    void DropOn(int row);

    QAction* moveUpAction;
    QAction* moveDownAction;
    QAction* insertAction;
    QAction* deleteMoveUpAction;
    QAction* sortAction;

  private:
    std::vector<int> SelectedRows() const;
    void Move(int delta);
    // Shows the table, records the undo step and selects `rows`.
    void Done(const std::vector<int>& rows);

    ProgramState& state_;
    Form1& form_;
    ChannelCommands& commands_;
};

} // namespace quelro
