// The in-place editors of the channel grid - Text1 for the frequencies,
// Combo8 for the tones and Combo5(5..8) for the fixed lists - and the
// handlers that open them over a cell and commit what was chosen or typed.
#pragma once

#include <QObject>

#include <array>
#include <vector>

#include "channels/program_state.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;

namespace quelro {

class ChannelGrid;

class CellEditors : public QObject {
    Q_OBJECT

  public:
    // The editors are created hidden over the grid's cells.
    // `language` is the owner's: the language the editors' texts are in.
    CellEditors(ProgramState& state, const int& language, ChannelGrid* grid);

    QLineEdit* Text1() const { return text1_; }
    QComboBox* Combo8() const { return combo8_; }
    // Combo5(column), column 5..8.
    QComboBox* Combo5(int column) const { return combo5_.at(column); }

    // Combo8's item 0 and the four lists, for LanguageMode 0 or 1.
    void ApplyLanguage(int languageMode);

    // The row being edited, and the other selected channels the edit reaches
    // with it (a bulk edit).
    int EditRow() const { return editRow_; }
    const std::vector<int>& EditRows() const { return editRows_; }
    int EditCol() const { return editCol_; }
    bool EditArmed() const { return editArmed_; }

    // The grid's click: opens the editor of the selected cell, but only when
    // a left press or Enter armed it.
    void Grid1_Click();
    // Closes an open editor without committing what it holds, the grid
    // keeping the focus: Escape, and a window going away under an editor
    // (whose focus loss must not write into a table being torn down).
    void Cancel();
    // Ends an open editor as Enter does: a frequency or a tone goes into its
    // own cell (the one it was opened on), a list without a pick leaves its
    // cell alone, and the grid has the focus back. Every command that moves,
    // replaces or reads the channels runs this first.
    void Commit();

  signals:
    // A committed edit was written into the channel table.
    void Committed();
    // Ctrl+V in the frequency editor of an empty row, with channel rows on
    // the clipboard (lines or tab-separated cells): the editor closes, and the
    // rows are for the channel paste.
    void ChannelPasteRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Grid1_MouseDown();
    void Grid1_KeyPressEnter();
    void Grid1_MouseUp();
    // Opens a drop-down list at once, or once the press that opened its
    // editor is over (else that button-up would pick an entry).
    void OpenList(QComboBox* list);
    // Shows the list, its edit field's text selected.
    void ShowList(QComboBox* list);
    // The key filter of Text1 and Combo8; true when the key is swallowed.
    bool EditKeyPress(const QKeyEvent& key);
    void Text1_LostFocus();
    void Combo8_Click(int position);
    void Combo8_LostFocus();
    void Combo5_Click(int column, int position);
    void Combo5_LostFocus(int column);
    void ShowCommitted();
    // The band message, naming the rows of a bulk edit that kept their text.
    void ShowRefused(const std::vector<int>& rows) const;
    std::vector<int> SelectedRows() const;
    // One of the editors or of their drop-down lists.
    bool IsEditor(const QObject* object) const;

    ProgramState& state_;
    const int& language_;
    ChannelGrid* grid_;
    QLineEdit* text1_;
    QComboBox* combo8_;
    std::array<QComboBox*, kGridCols> combo5_{};
    int editRow_ = 1;
    int editCol_ = 1;
    std::vector<int> editRows_{1};
    bool editArmed_ = false;
    bool mouseDown_ = false;
    QComboBox* listOnMouseUp_ = nullptr;
    // Set while a focus-loss handler runs, so that the focus moves it makes
    // do not run it again.
    bool committing_ = false;
};

} // namespace quelro
