// The main window's commands that look at a programming without changing
// it: File -> Compare... (a file of any of the three forms), Compare with
// last read (the newest backup of a read), Print... (the system's print
// dialog with a preview) and Export PDF... (the sheet quelro-cli print
// writes). They reach the main window only through what it shows: its File
// menu, the store, the grid and the name of the file it holds.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "files/print_sheet.h"
#include "files/programming_file.h"
#include "files/sheet_layout.h"
#include "files/truetype_font.h"
#include "i18n/captions.h"
#include "i18n/language_window_qt.h"

class QAction;
class QPrinter;

namespace quelro {

class CompareWindow;
class Form1;

class CompareAndPrint : public QObject, public LanguagePart {
    Q_OBJECT

  public:
    // Adds the menu items to the window's File menu, before Quit.
    explicit CompareAndPrint(Form1& form);

    // The file dialogs: return the chosen name, empty when cancelled.
    enum class Dialog { Compare, ExportPdf };
    std::function<QString(Dialog)> chooseFile;
    // Runs the print dialog over `printer`; `paint` draws the sheet on it as
    // often as the preview or the printing needs.
    std::function<void(QPrinter& printer, const std::function<void(QPrinter&)>& paint)>
        runPrintDialog;
    // Where the backups of reads are; empty: the program's backups folder.
    std::filesystem::path backupFolder;
    // The font the sheet is set in.
    std::string fontPath = SheetFontFile();

    // LanguagePart: the menu items and the compare window, once built.
    void ApplyLanguage(int languageMode) override;
    void Translate() override;

    void CompareWithFile();
    void CompareWithLastRead();
    void Print();
    void ExportPdf();

    // Built at the first comparison, so that start-up builds no other window.
    CompareWindow* compareWindow = nullptr;
    QAction* mnuCompare;
    QAction* mnuCompareLastRead;
    QAction* mnuPrint;
    QAction* mnuExportPdf;

  private:
    CompareWindow& TheCompareWindow();
    // `lastRead`: the file is the backup of the last read, the side before.
    void CompareWith(const QString& name, bool lastRead);
    // Compares the table on screen with the file kept, in a language, and
    // shows the result; false (after saying why) when the file is refused.
    bool Refresh(int languageMode);
    struct LaidOut {
        PrintedPage page;
        std::string title;
    };
    // The sheet of the table on screen, laid out; nullopt after saying why.
    std::optional<LaidOut> Page(Paper paper);
    void Report(const Caption& title, const QString& text, int style) const;

    Form1& form_;
    QString comparedName_;
    std::string comparedBytes_;
    ProgrammingForm comparedForm_ = ProgrammingForm::DataFile;
    bool comparedLastRead_ = false;
    std::optional<TrueTypeFont> font_;
};

} // namespace quelro
