// The main window's commands over the channel list as a whole: CSV import
// and export in the File menu, copy / cut / paste / delete of channels with
// the grid's context menu, undo and redo, and the question before unsaved
// work is dropped (quitting, opening another file).
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "channels/channel_history.h"
#include "channels/program_state.h"
#include "i18n/captions.h"
#include "i18n/language_window_qt.h"

class QAction;
class QMenu;

namespace quelro {

class Form1;

class ChannelCommands : public QObject, public LanguagePart {
    Q_OBJECT

  public:
    // Adds the menu items, shortcuts and context menu to the window, follows
    // its table through its signals and answers its confirmDiscard hook.
    ChannelCommands(ProgramState& state, Form1& form);

    // The CSV file dialog: returns the chosen name, empty when cancelled.
    std::function<QString(bool save)> chooseCsvFile;

    // LanguagePart: the File items and the context menu, which is converted
    // as a window of its own.
    void ApplyLanguage(int languageMode) override;
    void Translate() override;

    void ImportCsvFile();
    void ExportCsvFile();
    void Copy();
    void Cut();
    void Paste();
    void Delete();
    void Undo();
    void Redo();
    // The editing commands enabled as the history and the lock allow, each
    // time either changes, so that their keys work from the first press.
    void UpdateHistoryActions();

    // After a command that may have changed the channel table.
    void RecordChange();
    // The state is what a file or the radio holds (start-up, open, read,
    // write, save): a new undo history, nothing unsaved.
    void StartOver();
    void MarkSaved();
    bool Unsaved() const;
    // Asks Save / Discard / Cancel when there is unsaved work; true when the
    // caller may go on.
    bool ConfirmDiscard();

    QAction* mnuImportCsv;
    QAction* mnuExportCsv;
    QMenu* contextMenu;
    QAction* copyAction;
    QAction* cutAction;
    QAction* pasteAction;
    QAction* deleteAction;
    QAction* undoAction;
    QAction* redoAction;

  private:
    std::vector<int> SelectedRows() const;
    void ShowTable();
    // Speaks what a command did; `argument` fills its "%1".
    void Say(const Caption& caption, const QString& argument) const;
    void Report(const Caption& title, const QString& text, int style) const;

    ProgramState& state_;
    Form1& form_;
    ChannelHistory history_;
    std::string savedImage_;
};

} // namespace quelro
