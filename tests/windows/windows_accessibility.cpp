// Every window but the channel grid as a screen reader and a keyboard user
// meet it, in the program as quelro starts it: each interactive control has a
// name in the current language (a drop-down list its label's, not its entry),
// each window is a dialog or a frame, and each settings window opens from the
// menus by keys, is walked with Tab, cancelled with Escape and applied with
// Enter, after which the focus is where it was.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <chrono>
#include <functional>
#include <memory>

#include "app/form1.h"
#include "app/program.h"
#include "channels/announcement_qt.h"
#include "channels/channel_grid_qt.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"
#include "windows/accessible_names.h"
#include "windows/aux_windows.h"
#include "windows/clone_window.h"
#include "windows/compare_window.h"
#include "windows/window_transfer_view_qt.h"

using namespace quelro;

namespace {

bool Interactive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

bool HasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x2E80; });
}

// What is wrong with the names of the showing controls under `iface`: no
// name, a list named by its entry or by anything but its label, a name given
// twice to controls of one kind, a Chinese name in English. The channel grid
// has its own interface and is passed over; so are the insides of a control.
void Walk(QAccessibleInterface* iface, bool english, QStringList& faults, QStringList& seen) {
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (child == nullptr || child->state().invisible) continue;
        const QObject* object = child->object();
        if (object != nullptr && object->objectName() == QLatin1String("Grid1")) continue;
        if (!Interactive(child->role())) {
            Walk(child, english, faults, seen);
            continue;
        }
        const QString id = object != nullptr ? object->objectName() : QStringLiteral("?");
        const QString name = child->text(QAccessible::Name).trimmed();
        const QString kind = QString::number(child->role()) + '/' + name;
        if (name.isEmpty()) {
            faults << id + ": no name";
        } else if (seen.contains(kind)) {
            faults << id + ": named \"" + name + "\" like another";
        } else if (english && HasChinese(name)) {
            faults << id + ": \"" + name + "\" in English";
        } else if (child->role() == QAccessible::ComboBox) {
            const auto labels = child->relations(QAccessible::Label);
            const QString label = labels.isEmpty()
                                      ? QString()
                                      : NameOfLabel(labels[0].first->text(QAccessible::Name));
            if (name == child->text(QAccessible::Value) || name != label)
                faults << id + ": named \"" + name + "\", not by its label \"" + label + "\"";
        }
        seen << kind;
    }
}

// The menu item reached with Alt+`menuKey` and the arrow keys, then Enter.
void OpenByKeys(Form1& form, Qt::Key menuKey, QAction* item) {
    QTest::keyClick(&form, menuKey, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    for (int step = 0; step < 20 && menu->activeAction() != item; ++step)
        QTest::keyClick(menu, Qt::Key_Down);
    QCOMPARE(menu->activeAction(), item);
    QTest::keyClick(menu, Qt::Key_Return);
}

void Keys(std::initializer_list<Qt::Key> keys) {
    for (Qt::Key key : keys) QTest::keyClick(QApplication::focusWidget(), key);
}

QString FocusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : QStringLiteral("(none)");
}

// One settings window as the keyboard test drives it.
struct KeyboardCase {
    const char* row;
    Qt::Key menuKey;
    const char* menuItem;
    QStringList tabOrder;                       // from the control that has the focus first
    int changeAt;                               // Tabs from there to the control changed
    std::function<void()> change;               // real keys changing one value
    std::function<std::string(Program&)> value; // the stored value the change reaches
};

std::vector<KeyboardCase> KeyboardCases() {
    return {
        {"optional functions",
         Qt::Key_P,
         "mnudtmf",
         {"Combo6", "Combo7", "Combo8", "Combo9", "Check4", "Combo4", "Combo10", "Check3",
          "Combo11", "Combo12", "Combo13", "Combo14", "Combo15", "Text5", "Text6", "Command1",
          "Command2"},
         0,
         [] { Keys({Qt::Key_Up}); },
         [](Program& p) { return p.State().Functions.Text[kVoxEnable]; }},
        {"key settings",
         Qt::Key_P,
         "Key_enactment",
         {"Combo1", "Combo2", "Command1", "Command2"},
         0,
         [] { Keys({Qt::Key_Down}); },
         [](Program& p) { return std::to_string(p.State().SideKeyFunction[0]); }},
        {"embedded information",
         Qt::Key_P,
         "mnusetin",
         {"Text1", "Text2", "Command1", "Command2"},
         1,
         [] {
             Keys({Qt::Key_Q, Qt::Key_R});
         },
         [](Program& p) { return p.State().EmbeddedInfo[1]; }},
        {"service adjust",
         Qt::Key_P,
         "mnudebug",
         {"Slider1", "Slider3", "Command1"},
         1,
         [] { Keys({Qt::Key_PageUp}); },
         [](Program& p) { return std::to_string(p.State().TxPowerLow); }},
        // Enter in a cell's editor ends the edit only; Tab leaves the grid,
        // from an editor too, and Escape on the grid closes the window.
        {"test frequencies",
         Qt::Key_P,
         "mnutestfre",
         {"mfgrid1", "Command1", "Command2"},
         0,
         [] {
             // The arrows move between the cells; Enter opens the editor.
             Keys({Qt::Key_Right, Qt::Key_Return, Qt::Key_1, Qt::Key_4, Qt::Key_6, Qt::Key_Period,
                   Qt::Key_0, Qt::Key_1, Qt::Key_Return});
             QCoreApplication::processEvents(); // the grid commits from its event queue
             QCOMPARE(QApplication::activeWindow()->objectName(), QStringLiteral("Form4"));
             Keys({Qt::Key_Right, Qt::Key_Return, Qt::Key_1, Qt::Key_4, Qt::Key_6, Qt::Key_Period,
                   Qt::Key_0, Qt::Key_1, Qt::Key_Tab});
             QCOMPARE(FocusName(), QStringLiteral("Command1"));
             Keys({Qt::Key_Backtab});
             QCOMPARE(FocusName(), QStringLiteral("mfgrid1"));
         },
         [](Program& p) { return p.State().TestFrequencyTable[0]; }},
        {"about", Qt::Key_H, "mnuabout", {"cmdOK"}, 0, [] {}, [](Program&) { return ""; }},
    };
}

} // namespace

class WindowsAccessibilityTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        program_ = std::make_unique<Program>();
        program_->Start();
        Form1& form = program_->MainWindow();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        program_->Windows().CreateAll();
        // Both sliders, as an unlocked service mode has them.
        program_->Windows().form2()->SetSlidersEnabled(true);
    }
    void cleanupTestCase() { program_.reset(); }

    void everyControlIsNamed_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("language");
        for (const char* window : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form6", "Form7",
                                   "frmAbout", "frmClone", "CompareWindow"})
            for (int language : {kSimplified, kEnglish})
                QTest::addRow("%s %s", window, language == kEnglish ? "en" : "zh")
                    << window << language;
    }
    void everyControlIsNamed() {
        QFETCH(QString, window);
        QFETCH(int, language);
        Form1& form = program_->MainWindow();
        if (language == kEnglish)
            form.mnuEnglish_Click();
        else
            form.mnuChineseJ_Click();
        // The service-exit button, shown once the service functions are unlocked.
        form.TAnMa->setVisible(true);
        QCoreApplication::processEvents(); // the tool bar lays the button out
        std::unique_ptr<CompareWindow> compare;
        QWidget* shown = nullptr;
        if (window == "Form1") {
            shown = &form;
        } else if (window == "CompareWindow") {
            compare = std::make_unique<CompareWindow>(program_->State(), &form);
            Difference d;
            d.where = "CH01  RX frequency";
            compare->ShowDifferences("a.DAT", {d}, language);
            shown = compare.get();
        } else if (window == "frmClone") {
            form.findChild<QAction*>("mnuclone")->trigger();
            shown = form.findChild<CloneWindow*>();
        } else {
            for (LanguageWindow* w : program_->Windows().LanguageWindows())
                if (w->Window()->objectName() == window) shown = w->Window();
        }
        QVERIFY(shown != nullptr);
        shown->show();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(shown);
        QStringList faults;
        if (iface->role() != QAccessible::Dialog && iface->role() != QAccessible::Window)
            faults << "the window's role is " + QString::number(iface->role());
        QStringList seen;
        Walk(iface, language == kEnglish, faults, seen);
        if (shown != &form) shown->hide();
        form.TAnMa->setVisible(false);
        qInfo("%s: %d of %d showing controls unnamed or badly named", qPrintable(window),
              int(faults.size()), int(seen.size()));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void keyboardOnly_data() {
        QTest::addColumn<int>("index");
        const auto cases = KeyboardCases();
        for (int i = 0; i < static_cast<int>(cases.size()); ++i)
            QTest::newRow(cases[static_cast<std::size_t>(i)].row) << i;
    }
    void keyboardOnly() {
        QFETCH(int, index);
        const KeyboardCase c = KeyboardCases()[static_cast<std::size_t>(index)];
        Form1& form = program_->MainWindow();
        form.mnuEnglish_Click();
        auto* item = form.findChild<QAction*>(c.menuItem);
        // Where the user was in the main window.
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Combo3->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), form.Combo3);
        const std::string before = c.value(*program_);

        OpenByKeys(form, c.menuKey, item);
        QTRY_VERIFY(QApplication::activeWindow() != &form);
        QWidget* window = QApplication::activeWindow();
        QStringList visited;
        for (int i = 0; i < c.tabOrder.size(); ++i) {
            visited << FocusName();
            Keys({Qt::Key_Tab});
        }
        QCOMPARE(visited, c.tabOrder);
        QCOMPARE(FocusName(), c.tabOrder.first()); // round again

        // Escape: nothing is stored, and the focus is back where it was.
        for (int i = 0; i < c.changeAt; ++i) Keys({Qt::Key_Tab});
        c.change();
        Keys({Qt::Key_Escape});
        QVERIFY(window->isHidden());
        QCOMPARE(c.value(*program_), before);
        QTRY_COMPARE(QApplication::focusWidget(), form.Combo3);

        // Enter: what the window kept from the change is stored.
        OpenByKeys(form, c.menuKey, item);
        QTRY_COMPARE(QApplication::activeWindow(), window);
        // Enter on a cell of a grid edits the cell; OK is a Tab away.
        if (FocusName() == QLatin1String("mfgrid1")) Keys({Qt::Key_Tab});
        Keys({Qt::Key_Return});
        QVERIFY(window->isHidden());
        if (c.menuItem != std::string_view("mnuabout")) QVERIFY(c.value(*program_) != before);
        QTRY_COMPARE(QApplication::focusWidget(), form.Combo3);
    }

    // A reader walks a menu by its entries: each entry's parent is its menu,
    // the menu finds the entry at its place, and an entry with a check mark
    // is a check box, checked as its action is; pressing it runs the action.
    // The grid's context menu shares its entries with the Edit menu; while it
    // shows, they are its own.
    void menuEntriesHangTogether() {
        Form1& form = program_->MainWindow();
        QList<QMenu*> menus;
        for (QAction* top : form.menuBar()->actions())
            if (top->menu() != nullptr) menus << top->menu();
        for (qsizetype m = 0; m < menus.size() && m < 50; ++m)
            for (QAction* item : menus[m]->actions())
                if (item->menu() != nullptr) menus << item->menu();
        QStringList faults;
        int checkable = 0;
        auto walk = [&faults, &checkable](QMenu* menu) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
            for (int i = 0; i < iface->childCount(); ++i) {
                QAccessibleInterface* entry = iface->child(i);
                const auto* action = qobject_cast<const QAction*>(entry->object());
                const QString id = menu->objectName() + '/' + QString::number(i);
                if (entry->parent() != iface) faults << id + ": another parent";
                if (iface->indexOfChild(entry) != i)
                    faults << id + ": found at " + QString::number(iface->indexOfChild(entry));
                if (action == nullptr || !action->isCheckable()) continue;
                ++checkable;
                if (entry->role() != QAccessible::CheckBox || !entry->state().checkable)
                    faults << id + ": not a check box";
                if (entry->state().checked != action->isChecked())
                    faults << id + ": checked is " + (entry->state().checked ? "set" : "clear");
            }
        };
        for (QMenu* menu : menus) walk(menu);
        QMenu* context = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("Grid1Menu"))
                context = qobject_cast<QMenu*>(top);
        QVERIFY(context != nullptr);
        context->popup(form.Grid1->mapToGlobal(QPoint(10, 10)));
        walk(context);
        context->hide();
        walk(form.findChild<QMenu*>("mnuEdit")); // its own again
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        QCOMPARE(checkable, 1 + 8 + 3); // Lock, the ports, the languages

        QAccessibleInterface* lock = QAccessible::queryAccessibleInterface(form.mnulock);
        QVERIFY(lock != nullptr && lock->actionInterface() != nullptr);
        for (bool mark : {true, false}) {
            lock->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(form.mnulock->isChecked(), mark);
            QCOMPARE(lock->state().checked, mark);
            QCOMPARE(form.Grid1->isEnabled(), !mark);
        }
    }

    // The transfer's start is heard to its end: a quarter of the progress is
    // spoken only once the line before has had two seconds, never the full
    // bar; the outcome is spoken at once.
    void progressIsSpokenOnceTheLineBeforeIsHeard() {
        Form1& form = program_->MainWindow();
        WindowTransferView view(form.TransferParts(), form.LanguageMode(), {}, {});
        std::chrono::steady_clock::time_point now{};
        view.UseClock([&now] { return now; });
        const QString start = QStringLiteral("正在通信,请稍后……");
        view.SetStatusText(start.toStdString());
        view.ShowProgress(460);
        struct Step {
            int atMs;
            int value;
            QString heard;
        };
        const Step steps[] = {
            {100, 25, start},   // 5 %
            {300, 115, start},  // 25 %, while the start is spoken
            {1200, 230, start}, // 50 %
            {2000, 250, "50%"}, // two seconds after the start
            {2500, 345, "50%"}, // 75 %, while 50 % is spoken
            {4000, 350, "75%"}, //
            {6500, 460, "75%"}, // never the full bar
        };
        for (const Step& step : steps) {
            now = std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(step.atMs);
            view.SetProgress(step.value);
            QCOMPARE(LastAnnouncement(form.ProgressBar1), step.heard);
        }
        view.SetStatusText("读频成功！");
        QCOMPARE(LastAnnouncement(form.Label), QStringLiteral("读频成功！"));
        view.HideProgress();
    }

    // An announcement in a window that is not active (a box has just closed)
    // shows once the window is active again, else within a second: a reader
    // speaks the window's return over anything said before it.
    void announcementWaitsForItsWindow() {
        Form1& form = program_->MainWindow();
        QWidget other;
        other.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Announce(&other, "a");
        QAccessibleInterface* notification =
            QAccessible::queryAccessibleInterface(other.findChild<QWidget*>("quelroAnnouncement"));
        QVERIFY(notification != nullptr);
        QCOMPARE(notification->text(QAccessible::Name), QString("a"));
        QVERIFY(notification->state().invisible);
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!notification->state().invisible);
        Announce(&other, "b"); // told at once
        QVERIFY(!notification->state().invisible);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Announce(&other, "c");
        QVERIFY(notification->state().invisible);
        QTRY_VERIFY_WITH_TIMEOUT(!notification->state().invisible, 3000);
    }

    void focusComesBackAfterATransfer() {
        Form1& form = program_->MainWindow();
        const TransferWidgets widgets = form.TransferParts();
        WindowTransferView view(widgets, form.LanguageMode(), {}, {});
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.Combo4->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), form.Combo4);
        view.SetTransferLocked(true);
        view.FocusBandSelector();
        QCOMPARE(QApplication::focusWidget(), form.Combo4);
        form.Combo4->clearFocus(); // as a box closing in another window leaves it
        view.SetTransferLocked(false);
        QCOMPARE(QApplication::focusWidget(), form.Combo4);
    }

  private:
    test::ConfigFolder config_;
    test::BoxScript boxes_;
    std::unique_ptr<Program> program_;
};

QUELRO_TEST_MAIN(WindowsAccessibilityTest)
#include "windows_accessibility.moc"
