// Grid1 as a screen reader sees it: the table's shape, the names of its
// headers, cells and editors in each language, the focus event of a cell
// move, and walks of every child that must not crash - with nothing
// selected, after language switches, and while the window is destroyed.
#include <QAccessible>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTest>

#include "channels/cell_edit.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_accessible_qt.h"
#include "channels/channel_grid_qt.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"

using namespace quelro;
using namespace quelro::test;

namespace {

// Asks every child of the table everything a client may ask, and the table
// everything about its cells; returns the names that came back empty.
QStringList Walk(QAccessibleInterface* table) {
    QStringList unnamed;
    for (int i = 0; i < table->childCount(); ++i) {
        QAccessibleInterface* child = table->child(i);
        if (child == nullptr) {
            unnamed << QString("child %1 missing").arg(i);
            continue;
        }
        // The viewport, which holds the cell editors, is a plain container.
        const QString name = child->text(QAccessible::Name);
        if (name.isEmpty() && i != grid_accessible::kViewportChild)
            unnamed << QString("child %1").arg(i);
        (void)child->text(QAccessible::Description);
        (void)child->rect();
        (void)child->state();
        (void)child->window();
        if (child->parent() != table || table->indexOfChild(child) != i)
            unnamed << QString("child %1 not where its parent says").arg(i);
        if (QAccessibleTableCellInterface* cell = child->tableCellInterface()) {
            for (QAccessibleInterface* header : cell->columnHeaderCells() + cell->rowHeaderCells())
                if (header->text(QAccessible::Name).isEmpty())
                    unnamed << QString("header of child %1").arg(i);
            (void)cell->isSelected();
            (void)cell->table();
        }
    }
    QAccessibleTableInterface* cells = table->tableInterface();
    for (int r = -1; r <= cells->rowCount(); ++r)
        for (int c = -1; c <= cells->columnCount(); ++c)
            if (QAccessibleInterface* cell = cells->cellAt(r, c))
                (void)cell->text(QAccessible::Name);
    (void)cells->selectedCells();
    (void)cells->selectedRows();
    (void)cells->selectedColumns();
    (void)table->focusChild();
    return unnamed;
}

} // namespace

class GridAccessibility : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;
    std::unique_ptr<StartedForm> started_;
    // The name and description of each focus event's cell.
    QStringList focused_;

    Form1& form() { return *started_->form; }
    QAccessibleInterface* table() { return QAccessible::queryAccessibleInterface(form().Grid1); }
    QString Name(int row, int column, QAccessible::Text t = QAccessible::Name) {
        return table()->tableInterface()->cellAt(row - 1, column)->text(t);
    }

  private slots:
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
        started_ = StartForm();
        ProgramState& state = started_->state;
        boxes_->Queue(BoxAnswer::kOk);
        form().SelectBand(5);
        QCOMPARE(CommitFrequency(state, 3, kColRxFreq, "146.00625"), FrequencyOutcome::NewChannel);
        form().Grid1->ShowAll();
        focused_.clear();
        grid_accessible::SetEventSink([this](QAccessibleEvent* event) {
            if (event->type() != QAccessible::Focus) return;
            QAccessibleInterface* cell = event->accessibleInterface();
            focused_ << (cell != nullptr ? cell->text(QAccessible::Name) + " | " +
                                               cell->text(QAccessible::Description)
                                         : QString("no cell"));
        });
    }
    void cleanup() {
        grid_accessible::SetEventSink({});
        started_.reset();
        boxes_.reset();
        config_.reset();
    }

    void tableNamesFollowTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("empty");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("txTone");
        QTest::newRow("Simplified") << 0 << "接收频率"
                                    << "空"
                                    << "信道 03"
                                    << "接收频率，信道 03"
                                    << "发射亚音频，信道 03";
        QTest::newRow("English") << 1 << "RX frequency"
                                 << "empty"
                                 << "channel 03"
                                 << "RX frequency, channel 03"
                                 << "TX QT/DQT, channel 03";
        QTest::newRow("Traditional") << 2 << "接收頻率"
                                     << "空"
                                     << "信道 03"
                                     << "接收頻率，信道 03"
                                     << "發射亞音頻，信道 03";
    }
    void tableNamesFollowTheLanguage() {
        QFETCH(int, language);
        QFETCH(QString, header);
        QFETCH(QString, empty);
        QFETCH(QString, channel);
        QFETCH(QString, place);
        QFETCH(QString, txTone);
        // Through another language first: the names follow every switch.
        form().mnuEnglish_Click();
        form().mnuChineseF_Click();
        if (language == 0) form().mnuChineseJ_Click();
        if (language == 1) form().mnuEnglish_Click();

        QAccessibleInterface* grid = table();
        QCOMPARE(grid->role(), QAccessible::Table);
        QVERIFY(!grid->text(QAccessible::Name).isEmpty());
        QAccessibleTableInterface* cells = grid->tableInterface();
        QVERIFY(cells != nullptr);
        QCOMPARE(cells->rowCount(), 16);
        QCOMPARE(cells->columnCount(), 9);
        QAccessibleTableCellInterface* cell = cells->cellAt(2, kColRxFreq)->tableCellInterface();
        QCOMPARE(cell->rowIndex(), 2);
        QCOMPARE(cell->columnIndex(), 1);
        QCOMPARE(cell->columnHeaderCells().value(0)->role(), QAccessible::ColumnHeader);
        QCOMPARE(cell->columnHeaderCells().value(0)->text(QAccessible::Name), header);
        QCOMPARE(cell->rowHeaderCells().value(0)->role(), QAccessible::RowHeader);
        QCOMPARE(cell->rowHeaderCells().value(0)->text(QAccessible::Name), channel);
        QCOMPARE(Name(3, kColRxFreq), QString("146.00625"));
        QCOMPARE(Name(3, kColRxFreq, QAccessible::Description), place);
        QCOMPARE(Name(3, kColNumber), QString("03"));
        // The two tone columns share a caption; a listener hears which is which.
        QCOMPARE(Name(3, kColTxTone, QAccessible::Description), txTone);
        QCOMPARE(Name(4, kColRxFreq), empty);
        QCOMPARE(Walk(grid), QStringList());

        // The editor is announced with the cell it edits.
        form().Grid1->setFocus();
        form().Grid1->SelectCell(3, kColRxFreq);
        PressKey(Qt::Key_F2);
        QCOMPARE(form().Editors().Text1()->accessibleName(), place);
        PressKey(Qt::Key_Escape);
        form().Grid1->SelectCell(3, kColPower);
        PressKey(Qt::Key_F2);
        QVERIFY(form().Editors().Combo5(kColPower)->isVisible());
        QVERIFY(form().Editors().Combo5(kColPower)->accessibleName().endsWith(channel));
        QVERIFY(Walk(grid).isEmpty());
    }

    void cellMoveRaisesAFocusEvent() {
        form().mnuEnglish_Click();
        form().Grid1->setFocus();
        form().Grid1->SelectCell(2, kColRxFreq);
        focused_.clear();
        PressKey(Qt::Key_Down);
        PressKey(Qt::Key_Down);
        QCOMPARE(focused_, QStringList({"146.00625 | RX frequency, channel 03",
                                        "empty | RX frequency, channel 04"}));
        // Moves the user did not make, away from the grid, say nothing.
        form().Combo1->setFocus();
        form().Grid1->SelectCell(1, kColTxFreq);
        QCOMPARE(focused_.size(), 2);
    }

    void walksWithNothingSelectedDoNotCrash() {
        ChannelGrid* grid = form().Grid1;
        grid->clearSelection();
        grid->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        QAccessibleInterface* iface = table();
        QCOMPARE(iface->tableInterface()->selectedCellCount(), 0);
        QCOMPARE(iface->focusChild(), nullptr);
        QCOMPARE(Walk(iface), QStringList());
        form().mnuChineseF_Click();
        QCOMPARE(Walk(iface), QStringList());
        // A client naming rows and columns outside the table gets a cell.
        QVERIFY(iface->tableInterface()->cellAt(99, -5) != nullptr);
    }

    // A client asking while the window goes away holds identities, not
    // pointers: once the grid's destruction has begun they lead nowhere, and
    // what the dying grid answers when asked afresh does no harm.
    void destroyingTheWindowWhileWalked() {
        ChannelGrid* grid = form().Grid1;
        QAccessibleInterface* iface = table();
        QCOMPARE(Walk(iface), QStringList());
        const QAccessible::Id gridId = QAccessible::uniqueId(iface);
        const QAccessible::Id cellId =
            QAccessible::uniqueId(iface->tableInterface()->cellAt(2, kColRxFreq));
        const QAccessible::Id editorId =
            QAccessible::uniqueId(QAccessible::queryAccessibleInterface(form().Editors().Text1()));
        int walkedWhileDying = 0;
        // The viewport goes with the grid's children, after the grid itself.
        connect(grid->viewport(), &QObject::destroyed, [&] {
            ++walkedWhileDying;
            QCOMPARE(QAccessible::accessibleInterface(gridId), nullptr);
            QCOMPARE(QAccessible::accessibleInterface(cellId), nullptr);
            if (QAccessibleInterface* dying = QAccessible::queryAccessibleInterface(grid)) {
                for (int i = 0; i < dying->childCount(); ++i)
                    if (QAccessibleInterface* child = dying->child(i))
                        (void)child->text(QAccessible::Name);
                if (QAccessibleTableInterface* cells = dying->tableInterface())
                    QCOMPARE(cells->rowCount(), 0);
            }
        });
        started_->form.reset();
        QCOMPARE(walkedWhileDying, 1);
        QCOMPARE(QAccessible::accessibleInterface(editorId), nullptr);
    }
};

QUELRO_TEST_MAIN(GridAccessibility)
#include "channel_grid_accessible_qt_test.moc"
