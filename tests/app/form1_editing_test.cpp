// Editing the channel grid with real mouse and key input: arming, the
// frequency box, the tone drop-down, the fixed lists, the key filter, and
// the grid worked from the keyboard alone.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QTest>

#include <set>

#include "app/channel_commands.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "codes/tone_codes.h"
#include "support/channel_texts.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"
#include "support/windows_test_support.h"

using namespace quelro;
using namespace quelro::test;

class Form1Editing : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;
    std::unique_ptr<StartedForm> started_;
    ChannelCommands* commands_ = nullptr;

    Form1& form() { return *started_->form; }
    ProgramState& state() { return started_->state; }
    CellEditors& editors() { return form().Editors(); }
    QString cell(int row, int column) { return form().Grid1->CellText(row, column); }

    // Band 136-174 MHz, confirmed.
    void SelectVhfBand() {
        boxes_->Queue(BoxAnswer::kOk);
        form().SelectBand(5);
        boxes_->Clear();
    }

    void EnterFrequency(int row, int column, const QString& text) {
        PressCell(form(), row, column);
        QLineEdit* box = editors().Text1();
        QVERIFY(box->isVisible());
        box->selectAll();
        if (text.isEmpty()) PressKey(Qt::Key_Backspace);
        TypeText(text);
        PressKey(Qt::Key_Return);
    }

  private slots:
    void initTestCase() { quelro::test::VerifyCommaLocaleWhenAsked(); }
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
        // The grid's context menu is the channel commands' own.
        started_ = StartForm([this](Form1& f) {
            commands_ = new ChannelCommands(f.State(), f);
            f.RegisterPart(commands_);
        });
        QVERIFY(QApplication::focusWidget() != nullptr || form().isActiveWindow());
    }
    void cleanup() {
        started_.reset();
        boxes_.reset();
        config_.reset();
    }

    void frequencyCommit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("lower limit") << "136"
                                     << "136.00000" << false;
        QTest::newRow("snapped") << "173.9999"
                                 << "173.99500" << false;
        QTest::newRow("6.25 kHz raster") << "155.0075"
                                         << "155.00625" << false;
        QTest::newRow("upper limit") << "174"
                                     << "" << true;
        QTest::newRow("below") << "135.99"
                               << "" << true;
        QTest::newRow("two points") << "150.1.2"
                                    << "" << false;
    }
    void frequencyCommit() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        SelectVhfBand();
        EnterFrequency(2, 1, typed);
        QCOMPARE(cell(2, 1), shown);
        QVERIFY(!editors().Text1()->isVisible());
        QCOMPARE(QApplication::focusWidget(), form().Grid1);
        if (refused) {
            QCOMPARE(boxes_->Asked().size(), std::size_t{1});
            QCOMPARE(boxes_->Asked()[0].prompt, QString("超出频段范围"));
            QCOMPARE(boxes_->Asked()[0].style, 0);
            QCOMPARE(boxes_->Asked()[0].title, QString("Quelro"));
        } else {
            QVERIFY(boxes_->Asked().empty());
        }
    }

    void newChannelGetsDefaults() {
        SelectVhfBand();
        EnterFrequency(7, 1, "145.5");
        const QStringList expected{"07", "145.50000", "关闭", "145.50000", "关闭",
                                   "低", "载波",      "宽带", "有"};
        for (int c = 0; c < 9; ++c) QCOMPARE(cell(7, c), expected[c]);
        QCOMPARE(test::Choice(state(), 7, 6), 1);
        QCOMPARE(cell(6, 1), QString());
        QCOMPARE(cell(8, 1), QString());
    }

    void emptyRowAlwaysEditsItsReceiveFrequency() {
        for (int column : {0, 4, 8}) {
            PressCell(form(), 3, column);
            QVERIFY(editors().Text1()->isVisible());
            QCOMPARE(editors().EditCol(), 1);
            QCOMPARE(editors().Text1()->geometry(), form().Grid1->CellRect(3, 1));
            PressKey(Qt::Key_Return);
            QVERIFY(!editors().Text1()->isVisible());
        }
        QVERIFY(state().ChannelEmpty(3));
    }

    void receiveEditKeepsTransmitAndErasingDeletes() {
        SelectVhfBand();
        EnterFrequency(4, 1, "150");
        EnterFrequency(4, 3, "151");
        EnterFrequency(4, 1, "152");
        QCOMPARE(cell(4, 1), QString("152.00000"));
        QCOMPARE(cell(4, 3), QString("151.00000"));
        EnterFrequency(4, 3, "");
        QCOMPARE(cell(4, 3), QString("151.00000"));
        EnterFrequency(5, 1, "160");
        EnterFrequency(4, 1, "");
        for (int c = 1; c < 9; ++c) QCOMPARE(cell(4, c), QString());
        QCOMPARE(cell(5, 1), QString("160.00000"));
    }

    void keyFilterTakesDigitsAndPointOnly() {
        SelectVhfBand();
        PressCell(form(), 1, 1);
        TypeText("1a4-5 .x5");
        QCOMPARE(editors().Text1()->text(), QString("145.5"));
        PressKey(Qt::Key_Backspace);
        QCOMPARE(editors().Text1()->text(), QString("145."));
        PressKey(Qt::Key_Return);
        QCOMPARE(cell(1, 1), QString("145.00000"));
    }

    // A Chinese input method sends full-width digits and stops, as keys or
    // as committed text.
    void fullWidthDigitsAreDigits() {
        SelectVhfBand();
        EnterFrequency(1, 1, QString::fromUtf8("１４６．５２５"));
        QCOMPARE(cell(1, 1), QString("146.52500"));
        PressCell(form(), 2, 1);
        CommitInput(QString::fromUtf8("１５０。０１２５"));
        PressKey(Qt::Key_Return);
        QCOMPARE(cell(2, 1), QString("150.01250"));
        PressCell(form(), 1, 2);
        QVERIFY(editors().Combo8()->view()->isVisible());
        TypeText(QString::fromUtf8("１００"));
        CommitInput(QString::fromUtf8("．５"));
        PressKey(Qt::Key_Return);
        QCOMPARE(cell(1, 2), QString("100.5"));
    }

    void typedTones_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("choice");
        QTest::newRow("in range") << "100"
                                  << "100.0" << 13;
        QTest::newRow("lowest") << "67"
                                << "67.0" << 1;
        QTest::newRow("between entries") << "68"
                                         << "68.0" << kToneNotListed;
        QTest::newRow("below 67") << "66.9"
                                  << "88.5" << 9;
        QTest::newRow("above 254.1") << "300"
                                     << "88.5" << 9;
    }
    void typedTones() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, choice);
        SelectVhfBand();
        EnterFrequency(2, 1, "150");
        // Pick 88.5 (position 9) first: the fallback of an out-of-range tone.
        PressCell(form(), 2, 4);
        QComboBox* tones = editors().Combo8();
        QVERIFY(tones->isVisible());
        PickFromOpenList(tones, 9);
        QCOMPARE(cell(2, 4), QString("88.5"));
        QVERIFY(!tones->isVisible());

        PressCell(form(), 2, 4);
        QVERIFY(tones->view()->isVisible());
        TypeText(typed);
        QVERIFY(!tones->view()->isVisible());
        PressKey(Qt::Key_Return);
        QCOMPARE(cell(2, 4), shown);
        QCOMPARE(test::Choice(state(), 2, 4), choice);
        QVERIFY(!tones->isVisible());
    }

    // The tone list's first opening in a session, by a press or by Enter: a
    // typed tone replaces the off text shown in the edit field.
    void typedToneOnFirstOpening_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("press") << false;
        QTest::newRow("Enter") << true;
    }
    void typedToneOnFirstOpening() {
        QFETCH(bool, byEnter);
        SelectVhfBand();
        EnterFrequency(2, 1, "150");
        if (byEnter) {
            form().Grid1->SelectCell(2, 2);
            form().Grid1->setFocus();
            PressKey(Qt::Key_Return);
        } else {
            PressCell(form(), 2, 2);
        }
        QComboBox* tones = editors().Combo8();
        QVERIFY(tones->view()->isVisible());
        TypeText("100");
        PressKey(Qt::Key_Return);
        QCOMPARE(cell(2, 2), QString("100.0"));
        // A typed tone is a tone in every language, not the off entry it replaced.
        form().mnuEnglish->trigger();
        QCOMPARE(cell(2, 2), QString("100.0"));
        QCOMPARE(cell(2, 4), QString("Off"));
    }

    void pickedDcsCode() {
        SelectVhfBand();
        EnterFrequency(9, 1, "150");
        QComboBox* tones = editors().Combo8();
        PressCell(form(), 9, 2);
        QCOMPARE(tones->geometry().topLeft(), form().Grid1->CellRect(9, 2).topLeft());
        QCOMPARE(tones->width(), form().Grid1->CellRect(9, 2).width());
        PickFromOpenList(tones, 51);
        QCOMPARE(cell(9, 2), QString("D023N"));
        QCOMPARE(test::Choice(state(), 9, 2), 51);
        QVERIFY(!tones->isVisible());
        QCOMPARE(QApplication::focusWidget(), form().Grid1);
    }

    void listPicksOpenAtOnce() {
        SelectVhfBand();
        EnterFrequency(1, 1, "150");
        const QStringList picked{"高", "关闭", "窄带", "无"};
        for (int column = 5; column <= 8; ++column) {
            PressCell(form(), 1, column);
            QComboBox* list = editors().Combo5(column);
            QVERIFY(list->isVisible());
            QVERIFY(list->view()->isVisible());
            QCOMPARE(list->currentIndex(), test::Choice(state(), 1, column));
            PickFromOpenList(list, column == 5 ? 1 : 0);
            QCOMPARE(cell(1, column), picked[column - 5]);
            QVERIFY(!list->isVisible());
        }
        QCOMPARE(test::Choice(state(), 1, 5), 1);
        QCOMPARE(test::Choice(state(), 1, 8), 0);
    }

    void clickWithoutPressOpensNothing() {
        SelectVhfBand();
        EnterFrequency(1, 1, "150");
        form().Grid1->SelectCell(1, 3);
        editors().Grid1_Click();
        QVERIFY(!editors().Text1()->isVisible());
        form().Grid1->SelectCell(1, 5);
        editors().Grid1_Click();
        QVERIFY(!editors().Combo5(5)->isVisible());
        // A right press only takes the focus.
        QTest::mousePress(form().Grid1->viewport(), Qt::RightButton, {},
                          form().Grid1->CellRect(1, 3).center());
        QVERIFY(!editors().Text1()->isVisible());
        QVERIFY(!editors().EditArmed());
    }

    void enterOnTheGridOpensTheEditor() {
        SelectVhfBand();
        EnterFrequency(1, 1, "150");
        form().Grid1->setFocus();
        form().Grid1->SelectCell(1, 2);
        PressKey(Qt::Key_Down);
        PressKey(Qt::Key_Up);
        PressKey(Qt::Key_Right);
        QCOMPARE(form().Grid1->SelectedColumn(), 3);
        PressKey(Qt::Key_Return);
        QVERIFY(editors().Text1()->isVisible());
        QCOMPARE(editors().EditCol(), 3);
        QCOMPARE(editors().Text1()->text(), QString("150.00000"));
    }

    // The wheel over a list without the focus changes nothing and asks
    // nothing, in this window and in any made later; a list with the focus
    // still follows the wheel.
    void wheelMovesOnlyAFocusedList() {
        EnterFrequency(1, 1, "450");
        // The list is where the pointer can reach it on a small screen.
        static_cast<QScrollArea*>(form().centralWidget())->ensureWidgetVisible(form().Combo9);
        form().Grid1->setFocus();
        TurnWheel(form().Combo1, -1);
        TurnWheel(form().Combo9, -1);
        {
            QComboBox later;
            later.addItems({"a", "b"});
            later.show();
            TurnWheel(&later, -1);
            QCOMPARE(later.currentIndex(), 0);
        }
        QCOMPARE(form().Combo1->currentIndex(), 0);
        QCOMPARE(form().Combo9->currentIndex(), 1);
        QCOMPARE(state().MainSelectors[3], 1);
        QVERIFY(boxes_->Asked().empty());
        QCOMPARE(cell(1, 1), QString("450.00000"));

        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        form().Combo9->setFocus(Qt::TabFocusReason);
        QVERIFY(form().Combo9->hasFocus());
        TurnWheel(form().Combo9, -1);
        QCOMPARE(form().Combo9->currentIndex(), 2);
        QCOMPARE(state().MainSelectors[3], 2);
    }

    // The grid from the keyboard alone: from a start cell in a table of
    // three channels, a sequence of keys, then where the current cell is,
    // which rows are selected, what is open, and the start cell's text.
    void keyboardOnly_data() {
        QTest::addColumn<QPoint>("start"); // (row, column)
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QPoint>("current");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, QPoint start, const char* keys, QPoint current,
                      const char* rows, const char* open, const char* text) {
            QTest::newRow(name) << start << keys << current << rows << open << text;
        };
        row("arrows", {1, 1}, "Down;Right", {2, 2}, "2", "", "150.00000");
        row("Home", {2, 5}, "Home", {2, 0}, "2", "", "低");
        row("End", {2, 1}, "End", {2, 8}, "2", "", "151.00000");
        row("Page Down", {1, 1}, "PgDown", {16, 1}, "16", "", "150.00000");
        row("Page Up", {16, 3}, "PgUp", {1, 3}, "1", "", "");
        row("Shift+Down selects two rows", {2, 1}, "Shift+Down", {3, 1}, "2,3", "", "151.00000");
        row("Shift+Up twice selects three", {3, 4}, "Shift+Up;Shift+Up", {1, 4}, "1,2,3", "",
            "关闭");
        row("F2 opens the editor", {1, 3}, "F2", {1, 3}, "1", "Text1", "150.00000");
        row("Enter opens the editor", {1, 3}, "Return", {1, 3}, "1", "Text1", "150.00000");
        row("typed and committed", {1, 3}, "F2;1;5;5;Return", {1, 3}, "1", "", "155.00000");
        row("Escape keeps the frequency", {1, 1}, "F2;1;6;0;Esc", {1, 1}, "1", "", "150.00000");
        row("Escape keeps the tone", {1, 2}, "F2;Down;Down;Esc", {1, 2}, "1", "", "关闭");
        row("Escape keeps a typed tone", {1, 4}, "F2;1;0;0;Esc", {1, 4}, "1", "", "关闭");
        row("arrows and Enter pick a tone", {1, 2}, "F2;Down;Return", {1, 2}, "1", "", "67.0");
        row("Escape keeps the list", {1, 5}, "F2;Down;Esc", {1, 5}, "1", "", "低");
        row("arrows and Enter pick from a list", {1, 5}, "F2;Down;Return", {1, 5}, "1", "", "高");
        row("Menu key", {2, 1}, "Menu", {2, 1}, "2", "Grid1Menu", "151.00000");
        row("Shift+F10", {3, 6}, "Shift+F10", {3, 6}, "3", "Grid1Menu", "载波");
    }
    void keyboardOnly() {
        QFETCH(QPoint, start);
        QFETCH(QString, keys);
        QFETCH(QPoint, current);
        QFETCH(QString, rows);
        QFETCH(QString, open);
        QFETCH(QString, text);
        SelectVhfBand();
        EnterFrequency(1, 1, "150");
        EnterFrequency(2, 1, "151");
        EnterFrequency(3, 1, "152");
        ChannelGrid* grid = form().Grid1;
        grid->setFocus(Qt::TabFocusReason);
        grid->SelectCell(start.x(), start.y());
        PressKeys(keys);

        QCOMPARE(QPoint(grid->SelectedRow(), grid->SelectedColumn()), current);
        std::set<int> selected;
        for (const QModelIndex& index : grid->selectionModel()->selectedIndexes())
            selected.insert(index.row() + 1);
        QStringList numbers;
        for (int r : selected) numbers << QString::number(r);
        QCOMPARE(numbers.join(','), rows);
        QWidget* shown = nullptr;
        for (QWidget* editor : std::initializer_list<QWidget*>{
                 editors().Text1(), editors().Combo8(), editors().Combo5(5), editors().Combo5(6),
                 commands_->contextMenu})
            if (editor->isVisible()) shown = editor;
        QCOMPARE(shown != nullptr ? shown->objectName() : QString(), open);
        if (open.isEmpty()) QCOMPARE(QApplication::focusWidget(), grid);
        commands_->contextMenu->hide();
        QCOMPARE(cell(start.x(), start.y()), text);
    }

    void leavingForAnotherCellCommits() {
        SelectVhfBand();
        PressCell(form(), 1, 1);
        TypeText("150");
        PressCell(form(), 2, 1);
        QCOMPARE(cell(1, 1), QString("150.00000"));
        QVERIFY(editors().Text1()->isVisible());
        QCOMPARE(editors().EditRow(), 2);
    }
};

QUELRO_TEST_MAIN(Form1Editing)
#include "form1_editing_test.moc"
