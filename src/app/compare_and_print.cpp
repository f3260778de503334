// Comparing the table on screen with a file or the last read, and printing
// or exporting its channel sheet.
#include "app/compare_and_print.h"

#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/form1.h"
#include "channels/channel_grid_qt.h"
#include "files/file_access.h"
#include "files/sheet_pdf.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/unicode_path_qt.h"
#include "link/read_backup.h"
#include "link/transfer_driver_qt.h"
#include "windows/compare_window.h"
#include "windows/sheet_painter.h"

namespace quelro {
namespace {

namespace caption {
constexpr Caption kCompare{"比较...", "Compare..."};
constexpr Caption kCompareLastRead{"与上次读频比较", "Compare with last read"};
constexpr Caption kPrint{"打印...", "Print..."};
constexpr Caption kExportPdf{"导出PDF...", "Export PDF..."};
constexpr Caption kCompareTitle{"比较", "Compare"};
constexpr Caption kPrintTitle{"打印", "Print"};
constexpr Caption kExportTitle{"导出PDF", "Export PDF"};
constexpr Caption kNoBackup{"还没有读频的备份。", "There is no backup of a read yet."};
constexpr Caption kNoFont{"找不到信道表的字体：", "The font of the channel sheet is missing: "};
constexpr Caption kUntitled{"未命名", "untitled"};
} // namespace caption

// Message-box styles.
constexpr int kStyleError = 16;
constexpr int kStyleInformation = 64;

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Letter where the locale measures in inches, else A4.
Paper LocalePaper() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
}

QString ChooseFile(QWidget* owner, CompareAndPrint::Dialog dialog) {
    if (dialog == CompareAndPrint::Dialog::Compare)
        return QFileDialog::getOpenFileName(
            owner, QString(), QString(),
            "Quelro (*.DAT *.dat *.json *.JSON *.csv *.CSV);;" + Text(std::string(kAppTitle)) +
                " (*.DAT *.dat);;JSON (*.json *.JSON);;CSV (*.csv *.CSV)");
    return QFileDialog::getSaveFileName(owner, QString(), QString(), "PDF (*.pdf *.PDF)", nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace

CompareAndPrint::CompareAndPrint(Form1& form) : QObject(&form), form_(form) {
    setObjectName("CompareAndPrint");
    chooseFile = [this](Dialog dialog) { return ChooseFile(&form_, dialog); };
    runPrintDialog = [this](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        QPrintPreviewDialog dialog(&printer, &form_);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                [&paint](QPrinter* p) { paint(*p); });
        dialog.exec();
    };

    // The four items stand together before the line above Quit.
    QMenu* file = form.mnuFile;
    QAction* before = form.mnuQuit;
    for (QAction* item : file->actions())
        if (item->isSeparator() &&
            file->actions().indexOf(item) + 1 == file->actions().indexOf(form.mnuQuit))
            before = item;
    const auto item = [&](const char* name, void (CompareAndPrint::*run)()) {
        auto* a = new QAction(file);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    mnuCompare = item("mnuCompare", &CompareAndPrint::CompareWithFile);
    mnuCompareLastRead = item("mnuCompareLastRead", &CompareAndPrint::CompareWithLastRead);
    mnuPrint = item("mnuPrint", &CompareAndPrint::Print);
    mnuPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuExportPdf = item("mnuExportPdf", &CompareAndPrint::ExportPdf);
    QAction* line = new QAction(file);
    line->setSeparator(true);
    line->setObjectName("mnuline2");
    file->insertActions(before, {line, mnuCompare, mnuCompareLastRead, mnuPrint, mnuExportPdf});
}

CompareWindow& CompareAndPrint::TheCompareWindow() {
    if (compareWindow == nullptr) {
        compareWindow = new CompareWindow(form_.State(), &form_);
        connect(compareWindow, &CompareWindow::ChannelChosen, this, [this](int row) {
            form_.Grid1->SelectCell(row, kColRxFreq);
            form_.Grid1->selectRow(row - 1);
            form_.raise();
            form_.activateWindow();
        });
    }
    return *compareWindow;
}

void CompareAndPrint::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    for (auto [action, text] : {std::pair{mnuCompare, caption::kCompare},
                                {mnuCompareLastRead, caption::kCompareLastRead},
                                {mnuPrint, caption::kPrint},
                                {mnuExportPdf, caption::kExportPdf}})
        action->setText(Text(Localize(text, languageMode)));
    // The list follows at once: the grid's cells are re-rendered after the
    // windows, so the table is taken in the new language here.
    if (!comparedName_.isEmpty()) Refresh(languageMode);
}

void CompareAndPrint::Translate() {
    for (auto [action, text] : {std::pair{mnuCompare, caption::kCompare},
                                {mnuCompareLastRead, caption::kCompareLastRead},
                                {mnuPrint, caption::kPrint},
                                {mnuExportPdf, caption::kExportPdf}})
        action->setText(Text(Localize(text, kTraditional)));
    if (!comparedName_.isEmpty()) Refresh(kTraditional);
}

// ---- compare ---------------------------------------------------------------------

void CompareAndPrint::CompareWithFile() {
    const QString name = chooseFile(Dialog::Compare);
    if (!name.isEmpty()) CompareWith(name, false);
}

void CompareAndPrint::CompareWithLastRead() {
    const std::filesystem::path folder =
        backupFolder.empty() ? DefaultBackupFolder() : backupFolder;
    const std::filesystem::path newest = folder.empty() ? folder : NewestReadBackup(folder);
    if (newest.empty()) {
        Report(caption::kCompareTitle, Text(Localize(caption::kNoBackup, form_.LanguageMode())),
               kStyleInformation);
        return;
    }
    CompareWith(NameOf(newest), true);
}

void CompareAndPrint::CompareWith(const QString& name, bool lastRead) {
    const FileBytes file = ReadRegularFile(PathOf(name), kMaxFormBytes + 1);
    if (!file.ok) {
        Report(caption::kCompareTitle,
               Text(OpenFailedText(name.toStdString(), file.code, form_.LanguageMode())),
               kStyleError);
        return;
    }
    const QString previousName = comparedName_;
    const std::string previousBytes = comparedBytes_;
    const ProgrammingForm previousForm = comparedForm_;
    const bool previousLastRead = comparedLastRead_;
    comparedName_ = name;
    comparedLastRead_ = lastRead;
    comparedBytes_ = file.bytes;
    comparedForm_ = FormOfName(name.toStdString());
    if (!Refresh(form_.LanguageMode())) {
        // A refused file leaves the window with what it compared before.
        comparedName_ = previousName;
        comparedBytes_ = previousBytes;
        comparedForm_ = previousForm;
        comparedLastRead_ = previousLastRead;
        return;
    }
    TheCompareWindow().ShowModeless();
}

bool CompareAndPrint::Refresh(int languageMode) {
    const ProgramState& screen = form_.State();
    // A form is taken as importing it onto the table would take it.
    const ProgrammingRead read =
        ReadProgramming(comparedBytes_, comparedForm_, screen, true, languageMode);
    if (!read.programming) {
        Report(caption::kCompareTitle, comparedName_ + "\n" + Text(read.problem), kStyleError);
        return false;
    }
    // The table as saving it would write it, so that its own file compares equal.
    const Programming table = SavedProgramming(screen);
    TheCompareWindow().ShowDifferences(
        QFileInfo(comparedName_).fileName(),
        comparedLastRead_ ? CompareProgrammings(*read.programming, table, languageMode)
                          : CompareProgrammings(table, *read.programming, languageMode),
        languageMode,
        comparedLastRead_ ? CompareWindow::Sides::LastReadAndScreen
                          : CompareWindow::Sides::ScreenAndFile);
    return true;
}

// ---- print -------------------------------------------------------------------------

std::optional<CompareAndPrint::LaidOut> CompareAndPrint::Page(Paper paper) {
    const int language = form_.LanguageMode();
    if (!font_) {
        TrueTypeFont::Loaded loaded = TrueTypeFont::FromFile(fontPath);
        if (!loaded.font) {
            Report(caption::kPrintTitle, Text(Localize(caption::kNoFont, language) + loaded.error),
                   kStyleError);
            return std::nullopt;
        }
        font_ = std::move(loaded.font);
    }
    const QString name = form_.FileName().isEmpty() ? Text(Localize(caption::kUntitled, language))
                                                    : QFileInfo(form_.FileName()).fileName();
    const Sheet sheet =
        BuildSheet(form_.State(), name.toStdString(),
                   QDate::currentDate().toString(Qt::ISODate).toStdString(), language);
    return LaidOut{LayOutSheet(sheet, *font_, paper), sheet.title};
}

void CompareAndPrint::Print() {
    // Said before the dialog opens, not at each page the preview draws.
    if (!Page(LocalePaper())) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(
        QPageSize(LocalePaper() == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(Text(Localize(caption::kPrintTitle, form_.LanguageMode())));
    runPrintDialog(printer, [this](QPrinter& target) {
        const bool letter = target.pageLayout().pageSize().id() == QPageSize::Letter;
        const std::optional<LaidOut> sheet = Page(letter ? Paper::Letter : Paper::A4);
        if (!sheet) return;
        QPainter painter(&target);
        PaintSheetPage(painter, sheet->page, target.resolution() / 72.0);
    });
}

void CompareAndPrint::ExportPdf() {
    const int language = form_.LanguageMode();
    QString name = chooseFile(Dialog::ExportPdf);
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += ".pdf";
    if (QFileInfo::exists(name) && ShowMessage(msg::kFileExists, language) == BoxAnswer::kNo)
        return;
    const std::optional<LaidOut> sheet = Page(LocalePaper());
    if (!sheet) return;
    const FileWrite written =
        WriteFileAtomically(PathOf(name), SheetPdf(sheet->page, sheet->title));
    if (!written.ok)
        Report(caption::kExportTitle,
               Text(SaveFailedText(name.toStdString(), written.code, language)), kStyleError);
}

void CompareAndPrint::Report(const Caption& title, const QString& text, int style) const {
    LocalMsgBox(text, style, Text(Localize(title, form_.LanguageMode())), form_.LanguageMode());
}

} // namespace quelro
