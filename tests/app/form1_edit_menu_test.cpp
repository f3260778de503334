// The Edit menu and the reorder commands of the main window: each command
// as the user gives it (key or menu), the table and its list positions
// afterwards, one undo step back, and the lock that disables them.
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/channel_commands.h"
#include "app/channel_moves.h"
#include "app/edit_menu.h"
#include "channels/cell_edit.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "support/channel_texts.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"

using namespace quelro;
using namespace quelro::test;

class Form1EditMenu : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;
    std::unique_ptr<StartedForm> started_;
    ChannelCommands* commands_ = nullptr;
    ChannelMoves* moves_ = nullptr;
    EditMenu* edit_ = nullptr;

    Form1& form() { return *started_->form; }
    ProgramState& state() { return started_->state; }

    // Receive frequency, receive tone text and its list position, row by row.
    QStringList Table() {
        QStringList rows;
        for (int row = 1; row <= kChannels; ++row)
            rows << form().Grid1->CellText(row, kColRxFreq) + "|" +
                        form().Grid1->CellText(row, kColRxTone) + "|" +
                        QString::number(test::Choice(state(), row, kColRxTone));
        return rows;
    }

    void SelectRows(int first, int last, int column = kColRxFreq) {
        ChannelGrid* grid = form().Grid1;
        grid->SelectCell(first, column);
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(first - 1, 0),
                           grid->model()->index(last - 1, kGridCols - 1)),
            QItemSelectionModel::ClearAndSelect);
    }

  private slots:
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
        started_ = StartForm([this](Form1& f) {
            commands_ = new ChannelCommands(f.State(), f);
            f.RegisterPart(commands_);
            moves_ = new ChannelMoves(f.State(), f, *commands_);
            f.RegisterPart(moves_);
            edit_ = new EditMenu(f, *commands_, *moves_);
            f.RegisterPart(edit_);
        });
        form().mnuEnglish_Click();
        // 430 with tone 88.5 (position 10 of the list), 420, an empty row, 410
        // with a digital tone.
        QCOMPARE(CommitFrequency(state(), 1, kColRxFreq, "430"), FrequencyOutcome::NewChannel);
        PickTone(state(), 1, kColRxTone, 10);
        QCOMPARE(CommitFrequency(state(), 2, kColRxFreq, "420"), FrequencyOutcome::NewChannel);
        QCOMPARE(CommitFrequency(state(), 4, kColRxFreq, "410"), FrequencyOutcome::NewChannel);
        PickTone(state(), 4, kColRxTone, 60);
        form().Grid1->ShowAll();
        commands_->StartOver();
        form().Grid1->setFocus();
    }
    void cleanup() {
        started_.reset();
        boxes_.reset();
        config_.reset();
    }

    void reorderCommandsAreOneUndoStepEach_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("command"); // a key, or the name of an action
        QTest::addColumn<QString>("order");   // the rows held before, "-" empty
        QTest::newRow("Alt+Up") << 2 << 2 << "Alt+Up"
                                << "2 1 - 4";
        QTest::newRow("Alt+Down block") << 1 << 2 << "Alt+Down"
                                        << "- 1 2 4";
        QTest::newRow("Alt+Up at row 1") << 1 << 1 << "Alt+Up"
                                         << "1 2 - 4";
        QTest::newRow("drag") << 1 << 1 << "drag to 4"
                              << "2 - 4 1";
        QTest::newRow("drag a selection") << 1 << 2 << "drag to 3"
                                          << "- 4 1 2";
        QTest::newRow("insert") << 2 << 2 << "Ins"
                                << "1 - 2 - 4";
        QTest::newRow("delete and move up") << 1 << 3 << "Ctrl+Del"
                                            << "4";
        QTest::newRow("sort") << 1 << 1 << "mnuSortRx"
                              << "4 2 1";
    }
    void reorderCommandsAreOneUndoStepEach() {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, command);
        QFETCH(QString, order);
        const QStringList before = Table();
        SelectRows(first, last);
        if (command.startsWith("drag to ")) {
            // Taken by the number of the first selected channel.
            QWidget* view = form().Grid1->viewport();
            const int to = command.mid(8).toInt();
            QTest::mousePress(view, Qt::LeftButton, {},
                              form().Grid1->CellRect(first, kColNumber).center());
            QTest::mouseMove(view, form().Grid1->CellRect(to, kColNumber).center());
            QTest::mouseRelease(view, Qt::LeftButton, {},
                                form().Grid1->CellRect(to, kColNumber).center());
        } else if (command.startsWith("mnu"))
            form().findChild<QAction*>(command)->trigger();
        else
            QTest::keySequence(form().Grid1, QKeySequence(command));
        QStringList expected;
        for (const QString& from : order.split(' '))
            expected << (from == "-" ? "||0" : before[from.toInt() - 1]);
        while (expected.size() < kChannels) expected << "||0";
        QCOMPARE(Table(), expected);
        QVERIFY(boxes_->Asked().empty());

        // A moved tone keeps its text through a language switch, which
        // writes every list cell anew from its list position.
        form().mnuChineseJ_Click();
        form().mnuEnglish_Click();
        QCOMPARE(Table(), expected);

        QTest::keySequence(form().Grid1, QKeySequence("Ctrl+Z"));
        QCOMPARE(Table(), before);
    }

    // An edit of one cell of a selection reaches every selected channel, the
    // empty row left alone; a refused value is listed once, by channel.
    void bulkEditIsOneStepAndListsRefusedRows() {
        const QStringList before = Table();
        // By mouse: a press on a cell of the selection keeps it.
        SelectRows(1, 4, kColPower);
        PressCell(form(), 2, kColPower);
        PickFromOpenList(form().Editors().Combo5(kColPower), 1);
        for (int row : {1, 2, 4})
            QCOMPARE(form().Grid1->CellText(row, kColPower), QString("Hight"));
        QCOMPARE(form().Grid1->CellText(3, kColPower), QString());
        QCOMPARE(Table(), before);

        SelectRows(1, 4, kColRxTone);
        PressKey(Qt::Key_Return);
        PickFromOpenList(form().Editors().Combo8(), 12);
        for (int row : {1, 2, 4}) QCOMPARE(test::Choice(state(), row, kColRxTone), 12);
        QTest::keySequence(form().Grid1, QKeySequence("Ctrl+Z"));
        QCOMPARE(Table(), before);
        QCOMPARE(form().Grid1->CellText(2, kColPower), QString("Hight"));

        SelectRows(1, 2);
        PressKey(Qt::Key_Return);
        TypeText("300");
        PressKey(Qt::Key_Return);
        QCOMPARE(boxes_->Asked().size(), size_t(1));
        QCOMPARE(boxes_->Asked()[0].prompt,
                 QString("Beyond the frequency range\nThese channels were not changed: 01, 02"));
        QCOMPARE(Table(), before);

        SelectRows(1, 2);
        PressKey(Qt::Key_Return);
        TypeText("435");
        PressKey(Qt::Key_Return);
        QCOMPARE(form().Grid1->CellText(1, kColRxFreq), QString("435.00000"));
        QCOMPARE(form().Grid1->CellText(2, kColRxFreq), QString("435.00000"));
        QTest::keySequence(form().Grid1, QKeySequence("Ctrl+Z"));
        QCOMPARE(Table(), before);
    }

    void insertIsRefusedWhenChannel16IsInUse() {
        QCOMPARE(CommitFrequency(state(), 16, kColRxFreq, "440"), FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
        const QStringList before = Table();
        SelectRows(1, 1);
        QTest::keyClick(form().Grid1, Qt::Key_Insert);
        QCOMPARE(Table(), before);
        QCOMPARE(boxes_->Asked().size(), size_t(1));
        QCOMPARE(boxes_->Asked()[0].prompt,
                 QString("Channel 16 is not empty, so no empty channel can be inserted."));
    }

    void editMenuFollowsFileAndTheLockDisablesItsEdits() {
        const QList<QAction*> bar = form().menuBar()->actions();
        QCOMPARE(bar.value(bar.indexOf(form().mnuFile->menuAction()) + 1),
                 edit_->mnuEdit->menuAction());
        QCOMPARE(edit_->mnuEdit->title(), QString("Edit(&E)"));
        // Every item has a key of its own; the context menu holds them all.
        QSet<QChar> mnemonics;
        for (QAction* a : edit_->mnuEdit->actions()) {
            if (a->isSeparator()) continue;
            QVERIFY2(commands_->contextMenu->actions().contains(a), qPrintable(a->text()));
            const qsizetype amp = a->text().indexOf('&');
            QVERIFY2(amp >= 0, qPrintable(a->text()));
            QVERIFY2(!mnemonics.contains(a->text()[amp + 1]), qPrintable(a->text()));
            mnemonics.insert(a->text()[amp + 1]);
        }
        QCOMPARE(mnemonics.size(), 12);

        form().mnulock->trigger();
        QVERIFY(form().Locked());
        for (QAction* a : {moves_->moveUpAction, moves_->moveDownAction, moves_->insertAction,
                           moves_->deleteMoveUpAction, moves_->sortAction})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(commands_->copyAction->isEnabled());
        QVERIFY(edit_->selectAllAction->isEnabled());
        const QStringList before = Table();
        SelectRows(2, 2);
        QTest::keySequence(form().Grid1, QKeySequence("Alt+Up"));
        moves_->SortByRxFrequency();
        QCOMPARE(Table(), before);
    }
};

QUELRO_TEST_MAIN(Form1EditMenu)
#include "form1_edit_menu_test.moc"
