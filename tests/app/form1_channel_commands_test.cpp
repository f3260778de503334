// The channel-list commands of the main window: CSV import from the File
// menu, copy -> paste with the keys, undo after each kind of change, and the
// question before unsaved work is dropped.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include "app/channel_commands.h"
#include "app/channel_moves.h"
#include "app/edit_menu.h"
#include "channels/announcement_qt.h"
#include "channels/cell_edit.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "files/clipboard_form.h"
#include "files/data_file.h"
#include "image/memory_image.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"
#include "support/test_images.h"

using namespace quelro;
using namespace quelro::test;

class Form1ChannelCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;
    std::unique_ptr<StartedForm> started_;
    ChannelCommands* commands_ = nullptr;
    ChannelMoves* moves_ = nullptr;
    EditMenu* edit_ = nullptr;
    QString csvName_; // what the CSV dialog returns
    QString datName_; // what the data-file dialog returns
    int fileDialogs_ = 0;
    int files_ = 0;

    Form1& form() { return *started_->form; }
    ProgramState& state() { return started_->state; }

    // Every cell of the grid as shown, row by row.
    QStringList Table() {
        QStringList cells;
        for (int row = 1; row <= kChannels; ++row)
            for (int column = 1; column < kGridCols; ++column)
                cells << form().Grid1->CellText(row, column);
        return cells;
    }

    void WriteCsv(const QByteArray& text) {
        QFile file(csvName_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(form().Grid1, static_cast<Qt::Key>(key), modifiers);
    }

    // Every command that changes the table, as a user gives it; `locked`:
    // a command the lock disables (cell edits and the band cannot be reached
    // at all while locked: the grid and the panel are disabled).
    struct Change {
        const char* name;
        bool locked;
        std::function<void()> run;
    };
    std::vector<Change> Changes() {
        return {
            {"cell edit", false,
             [&] {
                 PressCell(form(), 3, 1);
                 TypeText("446.5");
                 PressKey(Qt::Key_Return);
             }},
            {"paste", true,
             [&] {
                 QApplication::clipboard()->setText("Frequency\n446.7\n");
                 form().Grid1->SelectCell(5, 1);
                 Key(Qt::Key_V);
             }},
            {"cut", true,
             [&] {
                 form().Grid1->SelectCell(5, 1);
                 Key(Qt::Key_X);
             }},
            {"delete", true,
             [&] {
                 form().Grid1->SelectCell(1, 1);
                 Key(Qt::Key_Delete, Qt::NoModifier);
             }},
            {"band change", false,
             [&] {
                 form().Combo1->setCurrentIndex(5);
                 emit form().Combo1->activated(5);
             }},
            {"import", true,
             [&] {
                 WriteCsv("Frequency\n446.9\n");
                 commands_->mnuImportCsv->trigger();
             }},
            {"new", false, [&] { form().mnuNew->trigger(); }},
            // A read replaces the table with the radio's programming.
            {"read", false,
             [&] {
                 const std::string radio =
                     Patch(FreshImage(), 0x20, "0000501400005014FFFFFFFFF8D0FCFF");
                 form().hooks().readRadio = [this, radio] {
                     form().ShowReadImage(radio + std::string(2048 - radio.size(), 'F'), 0);
                 };
                 if (commands_->Unsaved()) boxes_->Queue(BoxAnswer::kNo); // Discard
                 Key(Qt::Key_R);
             }},
        };
    }

    // Writes a data file of `imageHex`, opens it and returns the name.
    QString OpenImage(const std::string& imageHex) {
        datName_ = config_->FilePath(QString("in%1.DAT").arg(++files_));
        [&] { QVERIFY(WriteDataFile(datName_.toStdString(), imageHex).ok); }();
        form().OpenDataFile();
        return datName_;
    }
    // Saves under a new name and returns the saved image's hex.
    std::string SavedImage() {
        datName_ = config_->FilePath(QString("out%1.DAT").arg(++files_));
        form().SaveDataFile();
        return ReadDataFile(datName_.toStdString()).imageHex;
    }
    // The channel rows of our own clipboard form.
    static int ClipboardRows() {
        const QByteArray json = QApplication::clipboard()->mimeData()->data(kClipboardMimeType);
        return static_cast<int>(json.count("\"location\""));
    }
    // Rows first..last selected downwards, as a click and a Shift+click do.
    void SelectRows(int first, int last) {
        form().Grid1->SelectCell(first, 1);
        const QPoint end = form().Grid1->CellRect(last, 1).center();
        QTest::mouseClick(form().Grid1->viewport(), Qt::LeftButton, Qt::ShiftModifier, end);
        form().Grid1->setFocus();
    }

    // Channels 1..3 and 5 in use, 4 empty: 446.00000 low/wide/carrier, 446.1
    // high, 446.2 narrow with 88.5 and D023N, 446.3 busy lock off, scanned.
    static std::string GapFile() {
        std::string image = Patch(FreshImage(), 0x00, "0000604400006044FFFFFFFFF8D0FCFF");
        image = Patch(image, 0x10, "0000614400006144FFFFFFFFF8F0FCFF");
        image = Patch(image, 0x20, "000062440000624475031328F8C0FCFF");
        image = Patch(image, 0x40, "0000634400006344FFFFFFFFF0D0FCFF");
        return Patch(image, 0x16E, "1100");
    }
    // Values no CSV carries: 406.26300 with D777N / 300.0, busy lock off,
    // high, narrow; 446.10000 with D017N / .5, scanned.
    static std::string OddFile() {
        std::string image = Patch(FreshImage(), 0x00, "0063624000636240FF29B80BF0E0FCFF");
        image = Patch(image, 0x10, "00006144000061440F280500F8D0FCFF");
        return Patch(image, 0x16E, "0200");
    }

  private slots:
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
        csvName_ = config_->FilePath("list.csv");
        datName_.clear();
        fileDialogs_ = 0;
        started_ = StartForm([this](Form1& f) {
            f.hooks().chooseFileName = [this](bool, const QString&) {
                ++fileDialogs_;
                return datName_;
            };
            commands_ = new ChannelCommands(f.State(), f);
            commands_->chooseCsvFile = [this](bool) { return csvName_; };
            f.RegisterPart(commands_);
            moves_ = new ChannelMoves(f.State(), f, *commands_);
            f.RegisterPart(moves_);
            edit_ = new EditMenu(f, *commands_, *moves_);
            f.RegisterPart(edit_);
        });
        commands_->StartOver();
        form().mnuEnglish_Click();
        form().Grid1->setFocus();
    }
    void cleanup() {
        started_.reset();
        boxes_.reset();
        config_.reset();
    }

    void theFileItemsFollowSave() {
        const QList<QAction*> items = form().mnuFile->actions();
        const qsizetype save = items.indexOf(form().mnuAssave);
        QCOMPARE(items.value(save + 1), commands_->mnuImportCsv);
        QCOMPARE(items.value(save + 2), commands_->mnuExportCsv);
        QCOMPARE(commands_->mnuImportCsv->text(), QString("Import CSV..."));
        form().mnuChineseJ_Click();
        QCOMPARE(commands_->mnuExportCsv->text(), QString("导出CSV..."));
        QCOMPARE(commands_->pasteAction->text(), QString("粘贴(&P)"));
        form().mnuChineseF_Click();
        QCOMPARE(commands_->mnuImportCsv->text(), QString("導入CSV..."));
        QCOMPARE(commands_->deleteAction->text(), QString("刪除(&D)"));
    }

    void importReplacesTheTableAfterTheWarningAndReports() {
        QCOMPARE(CommitFrequency(state(), 16, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
        WriteCsv(
            "Location,Frequency,Tone,rToneFreq\r\n0,146.52,Tone,88.5\r\n1,446.1,,\r\n2,147,,\r\n");
        commands_->mnuImportCsv->trigger();
        QCOMPARE(boxes_->Asked().size(), size_t(2));
        QCOMPARE(boxes_->Asked()[0].prompt, QString("All channel data will be clear."));
        QCOMPARE(boxes_->Asked()[1].prompt,
                 QString("Band: 136-174MHz\nChannels imported: 2\n"
                         "line 3: 446.10000 MHz is outside the band 136-174MHz; left out"));
        QCOMPARE(form().Combo1->currentIndex(), 5);
        QCOMPARE(form().Grid1->CellText(1, kColRxFreq), QString("146.52000"));
        QCOMPARE(form().Grid1->CellText(1, kColTxTone), QString("88.5"));
        QVERIFY(state().ChannelEmpty(16));

        // Cancelling the warning changes nothing; a refused file says why.
        boxes_->Clear();
        boxes_->Queue(BoxAnswer::kCancel);
        WriteCsv("Location,Frequency\r\n1,146.0\r\n");
        const QStringList before = Table();
        commands_->mnuImportCsv->trigger();
        QCOMPARE(Table(), before);
        WriteCsv("Location,Name\r\n1,x\r\n");
        commands_->mnuImportCsv->trigger();
        QVERIFY(boxes_->Asked().back().prompt.endsWith(
            "line 1, column Frequency: the header has no Frequency column"));
        QCOMPARE(Table(), before);
    }

    void copyThenPasteThroughTheClipboard() {
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.00625"),
                 FrequencyOutcome::NewChannel);
        PickTone(state(), 1, kColTxTone, 60); // D053N
        QCOMPARE(CommitFrequency(state(), 2, kColRxFreq, "446.1"), FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
        // A click, then a Shift+click: two channels selected, no editor opened.
        PressCell(form(), 1, 3);
        PressKey(Qt::Key_Escape);
        const QPoint second = form().Grid1->CellRect(2, 3).center();
        QTest::mouseClick(form().Grid1->viewport(), Qt::LeftButton, Qt::ShiftModifier, second);
        form().Grid1->setFocus();
        Key(Qt::Key_C);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                         "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,"
                         "RPT1CALL,RPT2CALL,DVCODE\r\n"
                         "1,,446.006250,,0.000000,Cross,88.5,88.5,053,NN,023,DTCS->,FM,6.25,,Low,,"
                         ",,,\r\n"
                         "2,,446.100000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,Low,,"
                         ",,,\r\n"));
        form().Grid1->SelectCell(9, 1);
        Key(Qt::Key_V);
        for (int column = 1; column < kGridCols; ++column) {
            QCOMPARE(form().Grid1->CellText(9, column), form().Grid1->CellText(1, column));
            QCOMPARE(form().Grid1->CellText(10, column), form().Grid1->CellText(2, column));
        }
        // Tab-separated rows from a spreadsheet, past the last channel: the
        // report lists the first twenty rows left out and counts the rest.
        QString rows;
        for (int row = 1; row <= 23; ++row) rows += QString("%1\t\t446.%1\n").arg(row + 10);
        QApplication::clipboard()->setText(rows);
        form().Grid1->SelectCell(16, 1);
        Key(Qt::Key_V);
        QCOMPARE(form().Grid1->CellText(16, kColRxFreq), QString("446.11000"));
        const QStringList report = boxes_->Asked().back().prompt.split('\n');
        QCOMPARE(report.size(), 21);
        QCOMPARE(report.front(), QString("line 2: all 16 channels are taken; left out"));
        QCOMPARE(report.back(), QString("... and 2 more rows left out"));
    }

    void undoAndRedoEveryKindOfChange() {
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
        commands_->StartOver();
        for (const auto& [name, locked, change] : Changes()) {
            const QStringList before = Table();
            const int band = form().Combo1->currentIndex();
            change();
            const QStringList after = Table();
            QVERIFY2(after != before, name);
            Key(Qt::Key_Z);
            QVERIFY2(Table() == before, name);
            QCOMPARE(form().Combo1->currentIndex(), band);
            QCOMPARE(state().BandLow, band == 5 ? 136 : 400);
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(Table() == after, name);
            Key(Qt::Key_Z);
            Key(Qt::Key_Y);
            QVERIFY2(Table() == after, name);
        }
    }

    // While locked no command edits the table, by menu, context menu or key;
    // New and Read still replace it, as Open does.
    void theLockKeepsTheTableFromEveryEditingCommand() {
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
        QCOMPARE(CommitFrequency(state(), 5, kColRxFreq, "446.5"), FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
        commands_->RecordChange();
        form().mnulock->trigger();
        QVERIFY(form().Locked());
        for (QAction* a : {commands_->mnuImportCsv, commands_->pasteAction, commands_->cutAction,
                           commands_->deleteAction, commands_->undoAction, commands_->redoAction})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        for (const auto& [name, locked, change] : Changes()) {
            if (!locked) continue;
            const QStringList before = Table();
            change();
            Key(Qt::Key_Z);
            QVERIFY2(Table() == before, name);
        }
        boxes_->Clear();
        form().mnulock->trigger();
        QVERIFY(commands_->undoAction->isEnabled());
        Key(Qt::Key_Z);
        QVERIFY(state().ChannelEmpty(5));

        QCOMPARE(CommitFrequency(state(), 2, kColRxFreq, "446.2"), FrequencyOutcome::NewChannel);
        form().mnulock->trigger();
        form().mnuNew->trigger();
        QVERIFY(state().ChannelEmpty(2));
    }

    // Read asks first when the table holds unsaved work; Cancel keeps it.
    void readAsksBeforeItReplacesUnsavedWork() {
        int reads = 0;
        form().hooks().readRadio = [&] { ++reads; };
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
        boxes_->Queue(BoxAnswer::kCancel); // Cancel
        Key(Qt::Key_R);
        QCOMPARE(reads, 0);
        QCOMPARE(boxes_->Asked().back().style, 0x33);
        boxes_->Queue(BoxAnswer::kNo); // Discard
        form().Toolbar1_ButtonClick("read");
        QCOMPARE(reads, 1);
    }

    void unsavedWorkIsAskedAboutOnQuitAndOpen() {
        form().close();
        QVERIFY(boxes_->Asked().empty()); // nothing changed, nothing asked
        form().show();

        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
        boxes_->Queue(BoxAnswer::kCancel); // Cancel
        form().OpenDataFile();
        QCOMPARE(fileDialogs_, 0);
        QCOMPARE(boxes_->Asked().back().style, 0x33);
        QCOMPARE(boxes_->Asked().back().prompt,
                 QString("The data has changed and was neither saved nor written to the radio. "
                         "Save it?"));
        boxes_->Queue(BoxAnswer::kCancel);
        QVERIFY(!form().close());
        QVERIFY(form().isVisible());
        boxes_->Queue(BoxAnswer::kYes); // Save, then the save dialog is cancelled: still not gone
        QVERIFY(!form().close());
        QCOMPARE(fileDialogs_, 1);
        boxes_->Queue(BoxAnswer::kNo); // Discard
        QVERIFY(form().close());
    }

    void openingAFileStartsANewHistoryWithNothingUnsaved() {
        ProgramState saved = ProgramState::StartUp();
        QCOMPARE(CommitFrequency(saved, 4, kColRxFreq, "446.4"), FrequencyOutcome::NewChannel);
        datName_ = config_->FilePath("a.DAT");
        QVERIFY(WriteDataFile(datName_.toStdString(), EncodeImage(saved)).ok);
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "446.0"), FrequencyOutcome::NewChannel);
        commands_->RecordChange();
        boxes_->Queue(BoxAnswer::kNo); // Discard
        form().OpenDataFile();
        QCOMPARE(boxes_->Asked().size(), size_t(1));
        QCOMPARE(form().Grid1->CellText(4, kColRxFreq), QString("446.40000"));
        const QStringList opened = Table();
        Key(Qt::Key_Z);
        QCOMPARE(Table(), opened);
        QVERIFY(form().close());
        QCOMPARE(boxes_->Asked().size(), size_t(1));

        // The radio's programming is no longer the file's: the title names none.
        QCOMPARE(form().windowTitle(), "Quelro-" + datName_);
        form().ShowReadImage(FreshImage() + std::string(2048 - FreshImage().size(), 'F'), 0);
        QCOMPARE(form().windowTitle(), QString("Quelro Radio Software V1.20"));
        QVERIFY(form().FileName().isEmpty());
    }

    // Opens the editor of a cell by a press and types into it.
    void Type(int row, int column, const QString& text) {
        PressCell(form(), row, column);
        TypeText(text);
    }
    // A command given while an editor is open, from a menu (whose opening
    // by mouse leaves the editor open) or by its key; then a click elsewhere.
    void Command(QAction* action) {
        action->trigger();
        form().Grid1->setFocus();
    }

    // At channel 02, Ctrl with `key` and then Delete, which is heard.
    std::function<void()> FromChannel2(Qt::Key key, const char* heard) {
        return [this, key, heard] {
            form().Grid1->SelectCell(2, 1);
            form().Grid1->setFocus();
            Key(key);
            Key(Qt::Key_Delete, Qt::NoModifier);
            QCOMPARE(LastAnnouncement(form().Grid1), QString(heard));
        };
    }

    // Open a file, act as a user does, save: the bytes are these.
    void clipboardAndImportFlowsSaveTheseBytes() {
        const std::string gap = GapFile();
        const std::string odd = OddFile();
        const std::string oddFirst = "0063624000636240FF29B80BF0E0FCFF";
        // The channels of the gap file, and an empty one.
        const std::string ch1 = "0000604400006044FFFFFFFFF8D0FCFF";
        const std::string ch2 = "0000614400006144FFFFFFFFF8F0FCFF";
        const std::string ch3 = "000062440000624475031328F8C0FCFF";
        const std::string ch5 = "0000634400006344FFFFFFFFF0D0FCFF";
        const std::string none = "FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF";
        auto gapWith = [&](std::initializer_list<std::string> rows, const std::string& scan) {
            std::string image = gap;
            int offset = 0;
            for (const std::string& row : rows) {
                image = Patch(image, offset, row);
                offset += 0x10;
            }
            return Patch(image, 0x16E, scan);
        };
        const struct {
            const char* name;
            std::string file;
            std::function<void()> act;
            std::string saved;
            QString report; // the last box's text, when one is expected
        } flows[] = {
            // Channel 4 is empty: today 5..16 move up one.
            {"copy all, paste",
             gap,
             [&] {
                 Key(Qt::Key_A);
                 Key(Qt::Key_C);
                 Key(Qt::Key_V);
             },
             gap,
             {}},
            // Today the rows land at 03..05, from the current row.
            {"copy 01-03 downwards, paste",
             gap,
             [&] {
                 SelectRows(1, 3);
                 Key(Qt::Key_C);
                 Key(Qt::Key_V);
             },
             gap,
             {}},
            {"cut 01-05, paste",
             gap,
             [&] {
                 SelectRows(1, 5);
                 Key(Qt::Key_X);
                 Key(Qt::Key_V);
             },
             gap,
             {}},
            // Busy lock, odd tones and the off-raster frequency, exactly.
            {"copy 01, paste at 09",
             odd,
             [&] {
                 form().Grid1->SelectCell(1, 1);
                 Key(Qt::Key_C);
                 form().Grid1->SelectCell(9, 2);
                 Key(Qt::Key_V);
             },
             Patch(odd, 0x80, oddFirst),
             {}},
            // Ctrl+V in the editor of an empty row pastes the channel.
            {"copy 01, Ctrl+V in the editor of 04",
             odd,
             [&] {
                 form().Grid1->SelectCell(1, 1);
                 Key(Qt::Key_C);
                 PressCell(form(), 4, 1);
                 QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
             },
             Patch(odd, 0x30, oddFirst),
             {}},
            // Plain text: 406.263 comes onto the raster, and the box says so.
            {"paste text at 09", odd,
             [&] {
                 QApplication::clipboard()->setText("Frequency\n406.263\n");
                 form().Grid1->SelectCell(9, 1);
                 Key(Qt::Key_V);
             },
             Patch(Patch(odd, 0x80, "5062624050626240FFFFFFFFF8D0FCFF"), 0x16F, "01"),
             "line 2: \"406.263\" was taken as \"406.26250\""},
            // No Power column: a new channel's low power and carrier, not
            // channel 1's high power and busy lock off.
            {"import without Power", odd,
             [&] {
                 WriteCsv("Location,Frequency\n1,446.5\n");
                 commands_->mnuImportCsv->trigger();
             },
             Patch(Patch(FreshImage(), 0x00, "0000654400006544FFFFFFFFF8D0FCFF"), 0x16E, "01"),
             "Band: 400-500MHz\nChannels imported: 1"},
            // An open editor ends on its own channel before a command moves
            // the channels under it.
            {"editor on 02, Alt+Down",
             gap,
             [&] {
                 Type(2, 1, "446.5");
                 QTest::keySequence(QApplication::focusWidget(), QKeySequence("Alt+Down"));
                 form().Grid1->setFocus();
             },
             gapWith({ch1, ch3, "0000654400006144FFFFFFFFF8F0FCFF"}, "1100"),
             {}},
            {"editor on 05, Sort",
             gap,
             [&] {
                 Type(5, 1, "446.05");
                 Command(moves_->sortAction);
             },
             gapWith({ch1, "0050604400006344FFFFFFFFF0D0FCFF", ch2, ch3, none}, "0300"),
             {}},
            {"editor on 02, Delete",
             gap,
             [&] {
                 Type(2, 1, "446.5");
                 Command(commands_->deleteAction);
             },
             gapWith({ch1, none}, "1100"),
             {}},
            {"editor on 01, Delete and move up",
             gap,
             [&] {
                 Type(1, 1, "446.5");
                 Command(moves_->deleteMoveUpAction);
             },
             gapWith({ch2, ch3, none, ch5, none}, "0800"),
             {}},
            // Ctrl+Home takes the selection to channel 01, which Delete
            // empties and names; Ctrl+End to the empty channel 16.
            {"at 02, Ctrl+Home, Delete",
             gap,
             FromChannel2(Qt::Key_Home, "channel 01 deleted"),
             gapWith({none}, "1000"),
             {}},
            {"at 02, Ctrl+End, Delete",
             gap,
             FromChannel2(Qt::Key_End, "channel 16 deleted"),
             gap,
             {}},
            // The frequency is spoken as stored, on its raster.
            {"editor on 03, 446.0063",
             gap,
             [&] {
                 Type(3, 1, "446.0063");
                 PressKey(Qt::Key_Return);
                 QCOMPARE(LastAnnouncement(form().Grid1),
                          QString("RX frequency, channel 03, 446.00625"));
             },
             gapWith({ch1, ch2, "250660440000624475031328F8C0FCFF"}, "1100"),
             {}},
            // A tone typed for two selected channels, which then move up.
            {"tone editor on 02-03, Move up",
             gap,
             [&] {
                 ChannelGrid* grid = form().Grid1;
                 grid->SelectCell(2, kColRxTone);
                 grid->selectionModel()->select(
                     QItemSelection(grid->model()->index(1, 0),
                                    grid->model()->index(2, kGridCols - 1)),
                     QItemSelectionModel::ClearAndSelect);
                 grid->setFocus();
                 PressKey(Qt::Key_Return);
                 QVERIFY(form().Editors().Combo8()->isVisible());
                 TypeText("100");
                 Command(moves_->moveUpAction);
             },
             gapWith({"0000614400006144E803FFFFF8F0FCFF", "0000624400006244E8031328F8C0FCFF", ch1,
                      none, ch5},
                     "1400"),
             {}},
            // Undo takes its key at once, though a menu opened while there was
            // nothing to undo.
            {"Edit menu opened, Alt+Up, Ctrl+Z",
             gap,
             [&] {
                 QTest::keyClick(&form(), Qt::Key_E, Qt::AltModifier);
                 QCOMPARE(QApplication::activePopupWidget(), edit_->mnuEdit);
                 QTest::keyClick(edit_->mnuEdit, Qt::Key_Escape);
                 form().Grid1->setFocus();
                 form().Grid1->SelectCell(5, 1);
                 Key(Qt::Key_Up, Qt::AltModifier);
                 QCOMPARE(form().Grid1->CellText(4, kColRxFreq), QString("446.30000"));
                 Key(Qt::Key_Z);
             },
             gap,
             {}},
        };
        for (const auto& flow : flows) {
            OpenImage(flow.file);
            boxes_->Clear();
            flow.act();
            QCOMPARE(QString::fromStdString(SavedImage()), QString::fromStdString(flow.saved));
            // The paste did write: every row was on the clipboard.
            if (flow.saved == flow.file &&
                std::string_view(flow.name).find("paste") != std::string_view::npos)
                QVERIFY2(ClipboardRows() == 16 || ClipboardRows() == 3 || ClipboardRows() == 5,
                         flow.name);
            if (!flow.report.isEmpty()) {
                QVERIFY2(!boxes_->Asked().empty(), flow.name);
                QCOMPARE(boxes_->Asked().back().prompt, flow.report);
            }
        }
    }

    // Copy all -> paste and cut all -> undo give back the bytes opened.
    void copyPasteAndCutUndoKeepEveryEdgeFile() {
        const std::string files[] = {FreshImage(), GapFile(), OddFile()};
        const std::vector<std::pair<const char*, std::function<void()>>> moves = {
            {"copy all, paste",
             [&] {
                 Key(Qt::Key_A);
                 Key(Qt::Key_C);
                 Key(Qt::Key_V);
             }},
            {"cut all, undo",
             [&] {
                 Key(Qt::Key_A);
                 Key(Qt::Key_X);
                 Key(Qt::Key_Z);
             }},
        };
        for (const std::string& file : files)
            for (const auto& [name, move] : moves) {
                OpenImage(file);
                move();
                QCOMPARE(ClipboardRows(), 16);
                QVERIFY2(SavedImage() == file, name);
            }
    }
};

QUELRO_TEST_MAIN(Form1ChannelCommands)
#include "form1_channel_commands_test.moc"
