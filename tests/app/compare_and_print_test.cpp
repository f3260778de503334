// Compare, Compare with last read, Print and Export PDF of the main window,
// through their file-name and print-dialog seams: the list of differences in
// each language, the double-click that selects a channel, the one line of no
// difference, the newest backup, refusals, and the sheet on paper and in a PDF.
// With QUELRO_SCREENSHOT_DIR set (run under xvfb-run), the compare window is
// saved there as compare_window_<language>.png.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

#include "app/compare_and_print.h"
#include "channels/cell_edit.h"
#include "channels/channel_grid_qt.h"
#include "files/csv_form.h"
#include "files/data_file.h"
#include "image/memory_image.h"
#include "link/read_backup.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"
#include "windows/compare_window.h"

using namespace quelro;
using namespace quelro::test;

class CompareAndPrintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;
    std::unique_ptr<StartedForm> started_;
    CompareAndPrint* commands_ = nullptr;
    QString chosen_; // what the file dialogs return

    Form1& form() { return *started_->form; }
    ProgramState& state() { return started_->state; }
    CompareWindow& window() { return *commands_->compareWindow; }
    bool WindowShown() const {
        return commands_->compareWindow != nullptr && commands_->compareWindow->isVisible();
    }
    QString Cell(int row, int column) { return window().List1->item(row, column)->text(); }

    // A data file of the table on screen with channel 1 and the squelch changed.
    void WriteChangedFile(const QString& path) {
        ProgramState other = state();
        QCOMPARE(CommitFrequency(other, 1, kColRxFreq, "446.0125"), FrequencyOutcome::Written);
        other.MainSelectors[kSquelch] = 5;
        QVERIFY(WriteDataFile(path.toStdString(), EncodeImage(other)).ok);
    }

    static QString PdfText(const QString& pdf) {
        QProcess tool;
        tool.start("pdftotext", {"-layout", pdf, "-"});
        tool.waitForFinished(20000);
        return QString::fromUtf8(tool.readAllStandardOutput());
    }
    // The first page at 40 dots per inch, in grey.
    QImage Rendered(const QString& pdf) {
        const QString stem = pdf + "-page";
        QProcess tool;
        tool.start("pdftoppm", {"-r", "40", "-gray", "-singlefile", pdf, stem});
        tool.waitForFinished(20000);
        return QImage(stem + ".pgm");
    }
    static bool HavePdfTools() { return !QStandardPaths::findExecutable("pdftotext").isEmpty(); }

  private slots:
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
        chosen_.clear();
        started_ = StartForm([this](Form1& f) {
            commands_ = new CompareAndPrint(f);
            commands_->chooseFile = [this](CompareAndPrint::Dialog) { return chosen_; };
            commands_->backupFolder = config_->FilePath("backups").toStdString();
            f.RegisterPart(commands_);
        });
        form().mnuEnglish_Click();
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.00625"),
                 FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
    }
    void cleanup() {
        started_.reset();
        boxes_.reset();
        config_.reset();
    }

    void theItemsStandBeforeQuitInEachLanguage() {
        const QList<QAction*> items = form().mnuFile->actions();
        const qsizetype quit = items.indexOf(form().mnuQuit);
        QCOMPARE(items.value(quit - 2), commands_->mnuExportPdf);
        QCOMPARE(items.value(quit - 3), commands_->mnuPrint);
        QCOMPARE(items.value(quit - 4), commands_->mnuCompareLastRead);
        QCOMPARE(items.value(quit - 5), commands_->mnuCompare);
        QVERIFY(items.value(quit - 6)->isSeparator());
        QCOMPARE(commands_->mnuPrint->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        const QStringList en{"Compare...", "Compare with last read", "Print...", "Export PDF..."};
        const QStringList zh{"比较...", "与上次读频比较", "打印...", "导出PDF..."};
        const QStringList hant{"比較...", "與上次讀頻比較", "打印...", "導出PDF..."};
        for (const auto& [texts, choose] :
             {std::pair{en, &Form1::mnuEnglish_Click}, std::pair{zh, &Form1::mnuChineseJ_Click},
              std::pair{hant, &Form1::mnuChineseF_Click}}) {
            (form().*choose)();
            QCOMPARE(
                QStringList({commands_->mnuCompare->text(), commands_->mnuCompareLastRead->text(),
                             commands_->mnuPrint->text(), commands_->mnuExportPdf->text()}),
                texts);
        }
    }

    void theListFollowsTheLanguageAndSelectsTheChannel() {
        chosen_ = config_->FilePath("other.DAT");
        WriteChangedFile(chosen_);
        commands_->mnuCompare->trigger();
        QVERIFY(window().isVisible());
        QCOMPARE(window().List1->rowCount(), 2);
        QCOMPARE(Cell(0, 0), QString("CH01  RX frequency"));
        QCOMPARE(Cell(0, 1), QString("446.00625"));
        QCOMPARE(Cell(0, 2), QString("446.01250"));
        QCOMPARE(Cell(1, 0), QString("Function Set / Squelch Grade"));
        QCOMPARE(window().Label1->text(),
                 QString("Differences between the table on screen (old) and other.DAT (new):"));

        form().mnuChineseJ_Click();
        QCOMPARE(window().List1->rowCount(), 2);
        QCOMPARE(Cell(0, 0), QString("信道01  接收频率"));
        QCOMPARE(Cell(1, 2), QString("5 级"));
        QCOMPARE(window().List1->horizontalHeaderItem(1)->text(), QString("旧值"));
        form().mnuChineseF_Click();
        QCOMPARE(Cell(0, 0), QString("信道01  接收頻率"));
        QCOMPARE(Cell(1, 0), QString("功能設置 / 靜噪等級"));
        QCOMPARE(window().windowTitle(), QString("比較"));
        form().mnuEnglish_Click();
        QCOMPARE(window().List1->rowCount(), 2);
        QCOMPARE(Cell(1, 2), QString("5 Group"));

        // A double-click on the channel's row selects it in the grid.
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        form().Grid1->SelectCell(9, kColPower);
        const QRect cell = window().List1->visualItemRect(window().List1->item(0, 0));
        // The view takes a double-click on the item its press went to.
        QTest::mouseClick(window().List1->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(window().List1->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(form().Grid1->SelectedRow(), 1);
        // A setting's row leaves the grid alone.
        form().Grid1->SelectCell(9, kColPower);
        const QRect setting = window().List1->visualItemRect(window().List1->item(1, 0));
        QTest::mouseClick(window().List1->viewport(), Qt::LeftButton, {}, setting.center());
        QTest::mouseDClick(window().List1->viewport(), Qt::LeftButton, {}, setting.center());
        QCOMPARE(form().Grid1->SelectedRow(), 9);
    }

    void noDifferenceIsOneLine() {
        // The saved table, and its channels as a CSV list taken onto the table.
        chosen_ = config_->FilePath("same.DAT");
        QVERIFY(WriteDataFile(chosen_.toStdString(), EncodeImage(state())).ok);
        commands_->mnuCompare->trigger();
        QCOMPARE(window().Label1->text(),
                 QString("No differences: the table on screen and same.DAT are the same."));
        QVERIFY(!window().List1->isVisible());
        chosen_ = config_->FilePath("same.csv");
        QFile csv(chosen_);
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(QByteArray::fromStdString(ExportCsv(state()).text));
        csv.close();
        commands_->mnuCompare->trigger();
        QVERIFY(window().Differences().empty());
        QVERIFY(boxes_->Asked().empty());
    }

    void lastReadIsTheNewestBackup() {
        commands_->mnuCompareLastRead->trigger();
        QCOMPARE(boxes_->Asked().size(), size_t(1));
        QCOMPARE(boxes_->Asked()[0].prompt, QString("There is no backup of a read yet."));
        QVERIFY(!WindowShown());

        const std::filesystem::path folder = commands_->backupFolder;
        ProgramState older = state();
        older.MainSelectors[kBeep] = 0;
        QVERIFY(KeepReadBackup(folder, EncodeImage(older), "20240101-080000").ok);
        QVERIFY(KeepReadBackup(folder, EncodeImage(state()), "20240102-080000").ok);
        commands_->mnuCompareLastRead->trigger();
        QVERIFY(window().isVisible());
        QCOMPARE(window().Label1->text(),
                 QString("No differences: the table on screen and the last read, "
                         "20240102-080000.DAT, are the same."));
        QVERIFY(window().Differences().empty());

        // The read is what the radio held before, the screen what it gets now;
        // a channel the read did not hold shows whole, its row not cut.
        older.Channel(1).reset();
        QVERIFY(KeepReadBackup(folder, EncodeImage(older), "20240103-080000").ok);
        commands_->mnuCompareLastRead->trigger();
        QCOMPARE(window().Label1->text(),
                 QString("Differences between the last read, 20240103-080000.DAT (before), and "
                         "the table on screen (now):"));
        QCOMPARE(window().List1->horizontalHeaderItem(1)->text(), QString("Before"));
        QCOMPARE(window().List1->horizontalHeaderItem(2)->text(), QString("Now"));
        const int last = window().List1->rowCount() - 1;
        QCOMPARE(Cell(last, 1), QString("Off"));
        QCOMPARE(Cell(last, 2), QString("On"));
        QVERIFY(Cell(0, 2).contains("Carrow"));
        const QFontMetrics metrics = window().List1->fontMetrics();
        for (int row = 0; row <= last; ++row)
            for (int column = 0; column < 3; ++column)
                QVERIFY2(metrics.horizontalAdvance(Cell(row, column)) <
                             window().List1->columnWidth(column),
                         qPrintable(Cell(row, column)));
    }

    void aRefusedFileSaysWhyAndKeepsTheWindow() {
        chosen_ = config_->FilePath("bad.json");
        QFile bad(chosen_);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{ not json");
        bad.close();
        commands_->mnuCompare->trigger();
        QCOMPARE(boxes_->Asked().size(), size_t(1));
        QVERIFY(boxes_->Asked()[0].prompt.startsWith(chosen_ + "\nnot valid JSON: "));
        QCOMPARE(boxes_->Asked()[0].title, QString("Compare"));
        QVERIFY(!WindowShown());
        chosen_ = config_->FilePath("missing.DAT");
        commands_->mnuCompare->trigger();
        QVERIFY(boxes_->Asked().back().prompt.contains("missing.DAT"));
    }

    void exportPdfWritesTheSheet() {
        chosen_ = config_->FilePath("sheet");
        commands_->mnuExportPdf->trigger();
        QFile pdf(chosen_ + ".pdf");
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(boxes_->Asked().empty());
        if (!HavePdfTools()) QSKIP("poppler-utils is not installed");
        const QString text = PdfText(chosen_ + ".pdf");
        QVERIFY2(text.contains("Channel sheet: untitled"), qPrintable(text));
        QVERIFY(text.contains("446.00625"));
    }

    // The page from the printer is the page of the PDF: both rendered, they
    // differ by little more than the smoothing of their edges.
    void printDrawsTheSameSheetAsThePdf() {
        const QString printed = config_->FilePath("printed.pdf");
        int paints = 0;
        commands_->runPrintDialog = [&](QPrinter& printer,
                                        const std::function<void(QPrinter&)>& paint) {
            QVERIFY(printer.fullPage());
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printed);
            paint(printer);
            ++paints;
        };
        form().mnuChineseJ_Click();
        QTest::keyClick(&form(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(paints, 1);
        QVERIFY(QFile::exists(printed));
        chosen_ = config_->FilePath("exported.pdf");
        commands_->mnuExportPdf->trigger();
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
            QSKIP("poppler-utils is not installed");
        const QImage paper = Rendered(printed);
        const QImage pdf = Rendered(chosen_);
        QCOMPARE(paper.size(), pdf.size());
        double difference = 0;
        double ink = 0;
        for (int y = 0; y < pdf.height(); ++y)
            for (int x = 0; x < pdf.width(); ++x) {
                difference += std::abs(qGray(paper.pixel(x, y)) - qGray(pdf.pixel(x, y)));
                ink += 255 - qGray(pdf.pixel(x, y));
            }
        const double pixels = double(pdf.width()) * pdf.height();
        QVERIFY2(ink / pixels > 5, "the sheet is blank");
        // The same layout differs by about 2.4 levels a pixel here, one shifted
        // by a pixel by more than 5.
        QVERIFY2(difference / pixels < 4, qPrintable(QString::number(difference / pixels)));
    }

    void screenshotsOfTheCompareWindow() {
        const QString shots = qEnvironmentVariable("QUELRO_SCREENSHOT_DIR");
        if (shots.isEmpty()) QSKIP("QUELRO_SCREENSHOT_DIR is not set");
        QCOMPARE(CommitFrequency(state(), 2, kColRxFreq, "446.1"), FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
        ProgramState other = state();
        QCOMPARE(CommitFrequency(other, 1, kColRxFreq, "446.0125"), FrequencyOutcome::Written);
        PickTone(other, 1, kColTxTone, 12);
        PickListItem(other, 1, kColPower, 1);
        other.Channel(2).reset();
        QCOMPARE(CommitFrequency(other, 5, kColRxFreq, "462.5625"), FrequencyOutcome::NewChannel);
        other.MainSelectors[kSquelch] = 5;
        other.SideKeyFunction[0] = 4;
        other.SetEmbeddedInfo(0, "Club 2024");
        chosen_ = config_->FilePath("club.DAT");
        QVERIFY(WriteDataFile(chosen_.toStdString(), EncodeImage(other)).ok);
        commands_->mnuCompare->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QDir().mkpath(shots);
        for (const auto& [language, choose] : {std::pair{"en", &Form1::mnuEnglish_Click},
                                               std::pair{"zh-Hans", &Form1::mnuChineseJ_Click}}) {
            (form().*choose)();
            QVERIFY(window().grab().save(shots + "/compare_window_" + language + ".png"));
        }
    }

    void closingTheMainWindowClosesTheCompareWindow() {
        QVERIFY(form().close()); // before any comparison: nothing to close
        form().show();
        chosen_ = config_->FilePath("other.DAT");
        WriteChangedFile(chosen_);
        commands_->mnuCompare->trigger();
        QVERIFY(WindowShown());
        QVERIFY(form().close());
        QVERIFY(!WindowShown());
    }

    void aMissingFontIsSaid() {
        commands_->fontPath = config_->FilePath("none.ttf").toStdString();
        chosen_ = config_->FilePath("sheet.pdf");
        commands_->mnuExportPdf->trigger();
        QCOMPARE(boxes_->Asked().size(), size_t(1));
        QVERIFY(boxes_->Asked()[0].prompt.startsWith("The font of the channel sheet is missing: "));
        QVERIFY(!QFile::exists(chosen_));
    }
};

QUELRO_TEST_MAIN(CompareAndPrintTest)
#include "compare_and_print_test.moc"
