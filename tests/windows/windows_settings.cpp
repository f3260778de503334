// The test-frequency, key-setting, embedded-information, service-adjust and
// password windows: their rules, OK / Cancel and what they load.
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>

#include "channels/announcement_qt.h"
#include "support/qt_test_main.h"
#include "support/windows_test_support.h"
#include "windows/form2_service_adjust.h"
#include "windows/form3_password.h"
#include "windows/form4_test_frequencies.h"
#include "windows/form6_key_settings.h"
#include "windows/form7_embedded_info.h"

using namespace quelro;
using quelro::test::BoxScript;
using quelro::test::Find;
using quelro::test::Pick;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The cell editor the grid has open, or null.
QLineEdit* OpenEditor(QTableWidget* grid) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible()) return editor;
    return nullptr;
}

// Selects a cell as the user does, presses Enter and, when its editor opens, types `text`
// over the old text and presses Enter. Returns whether an editor opened.
bool TypeIntoCell(QTableWidget* grid, int row, int column, const QString& text) {
    // Step onto the cell from its row number, as the arrow keys would.
    grid->setCurrentCell(row - 1, 0);
    grid->setCurrentCell(row - 1, column);
    QTest::keyClick(grid, Qt::Key_Return);
    QLineEdit* editor = OpenEditor(grid);
    if (editor == nullptr) return false;
    editor->selectAll();
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Delete);
    else
        // Each character as a key carrying it, full-width digits included.
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), {});
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the grid commits an edit from its event queue
    return true;
}

QString Cell(QTableWidget* grid, int row, int column) {
    return grid->item(row - 1, column)->text();
}

} // namespace

class SettingsWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { quelro::test::VerifyCommaLocaleWhenAsked(); }
    void init() { state_ = ProgramState::StartUp(); }

    // ---- Form4 ----------------------------------------------------------------

    void receiveRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("on 6.25 kHz") << "462.5625"
                                     << "462.56250";
        QTest::newRow("nearer 6.25 kHz") << "462.5630"
                                         << "462.56250";
        QTest::newRow("nearer 5 kHz") << "146.0120"
                                      << "146.01000";
        QTest::newRow("on both") << "145.00000"
                                 << "145.00000";
        QTest::newRow("small 6.25 kHz step") << "145.00625"
                                             << "145.00625";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("highest") << "999.99999"
                                 << "999.99500";
        // What the stored digits cannot hold, or no number, is refused.
        for (const char* refused : {"46.25", "99.99999", "1000.5", "100000000000001", "1.2.3", "x"})
            QTest::newRow(refused) << refused << "(refused)";
    }
    void receiveRule() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(Q(TestReceiveAfterEdit(typed.toStdString()).value_or("(refused)").c_str()), kept);
    }

    void transmitRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("receive");
        QTest::addColumn<QString>("kept");
        QTest::newRow("6.25 kHz receive") << "462.5700"
                                          << "462.56250"
                                          << "462.56875";
        QTest::newRow("5 kHz receive") << "146.0130"
                                       << "146.01000"
                                       << "146.01000";
        QTest::newRow("on the raster") << "146.0150"
                                       << "146.01000"
                                       << "146.01500";
        QTest::newRow("empty takes receive") << ""
                                             << "146.01000"
                                             << "146.01000";
        QTest::newRow("refused") << "1000.5"
                                 << "146.01000"
                                 << "(refused)";
    }
    void transmitRule() {
        QFETCH(QString, typed);
        QFETCH(QString, receive);
        QFETCH(QString, kept);
        QCOMPARE(Q(TestTransmitAfterEdit(typed.toStdString(), receive.toStdString())
                       .value_or("(refused)")
                       .c_str()),
                 kept);
    }

    void gridLayoutAndLoad() {
        state_.TestFrequencyTable[4] = "440.01250";      // row 5 receive
        state_.TestFrequencyTable[4 + 16] = "445.00000"; // row 5 transmit
        Form4 form(state_, &main_);
        QTableWidget* grid = Find<QTableWidget>(&form, "mfgrid1");
        QCOMPARE(grid->rowCount(), 16);
        QCOMPARE(grid->columnCount(), 3);
        QCOMPARE(grid->columnWidth(0), 60);
        QCOMPARE(grid->columnWidth(1), 102);
        QCOMPARE(grid->columnWidth(2), 102);
        QCOMPARE(grid->rowHeight(15), 20);
        QCOMPARE(Cell(grid, 1, 0), Q("01"));
        QCOMPARE(Cell(grid, 16, 0), Q("16"));
        QCOMPARE(grid->item(0, 1)->textAlignment(), int(Qt::AlignCenter));
        QCOMPARE(Cell(grid, 5, 1), Q("440.01250"));
        QCOMPARE(Cell(grid, 5, 2), Q("445.00000"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), Q("接收频率"));
        form.ApplyLanguage(1);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), Q("Channel"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), Q("TX Frequency"));
        QCOMPARE(form.windowTitle(), Q("测试频率"));
    }

    void editingAppliesTheRules() {
        Form4 form(state_, &main_);
        form.show();
        QTableWidget* grid = Find<QTableWidget>(&form, "mfgrid1");

        // Transmit may not be edited while receive is empty.
        QVERIFY(!TypeIntoCell(grid, 3, 2, "462.5000"));
        QCOMPARE(Cell(grid, 3, 2), QString());

        QVERIFY(TypeIntoCell(grid, 3, 1, "462.5630"));
        QCOMPARE(Cell(grid, 3, 1), Q("462.56250"));
        QVERIFY(LastAnnouncement(grid).endsWith(Q(", 462.56250"))); // heard as stored
        QCOMPARE(Cell(grid, 3, 2), Q("462.56250"));

        QVERIFY(TypeIntoCell(grid, 3, 2, "462.5700"));
        QCOMPARE(Cell(grid, 3, 2), Q("462.56875"));
        // Stepping through the receive cell keeps the split pair; a refused
        // entry, or one the digits cannot hold, leaves the cell as it was.
        grid->setCurrentCell(2, 1);
        QTest::keyClick(grid, Qt::Key_Return);
        QVERIFY(OpenEditor(grid) != nullptr);
        QTest::keyClick(OpenEditor(grid), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(Cell(grid, 3, 2), Q("462.56875"));
        for (const char* refused : {"46.25", "1000.5", "100000000000001", "4.6.2"}) {
            QVERIFY(TypeIntoCell(grid, 3, 1, refused));
            QVERIFY(TypeIntoCell(grid, 3, 2, refused));
            QCOMPARE(Cell(grid, 3, 1), Q("462.56250"));
            QCOMPARE(Cell(grid, 3, 2), Q("462.56875"));
        }
        QVERIFY(TypeIntoCell(grid, 3, 2, ""));
        QCOMPARE(Cell(grid, 3, 2), Q("462.56250"));

        QVERIFY(TypeIntoCell(grid, 3, 1, ""));
        QCOMPARE(Cell(grid, 3, 1), QString());
        QCOMPARE(Cell(grid, 3, 2), QString());

        // The row numbers are not edited.
        QVERIFY(!TypeIntoCell(grid, 4, 0, "99"));
        QCOMPARE(Cell(grid, 4, 0), Q("04"));
    }

    void okCopiesTheGridCancelDoesNot() {
        Form4 form(state_, &main_);
        form.show();
        QTableWidget* grid = Find<QTableWidget>(&form, "mfgrid1");
        QVERIFY(TypeIntoCell(grid, 16, 1, "136.0250"));
        QTest::mouseClick(Find<QPushButton>(&form, "Command2"), Qt::LeftButton);
        QVERIFY(form.isHidden());
        QCOMPARE(state_.TestFrequencyTable[15], std::string());

        form.show();
        QCOMPARE(Cell(grid, 16, 1), Q("136.02500"));
        QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
        QVERIFY(form.isHidden());
        QCOMPARE(state_.TestFrequencyTable[15], std::string("136.02500"));
        QCOMPARE(state_.TestFrequencyTable[31], std::string("136.02500"));
    }

    void fullWidthDigitsAreDigits() {
        Form4 form(state_, &main_);
        form.show();
        QTableWidget* grid = Find<QTableWidget>(&form, "mfgrid1");
        QVERIFY(TypeIntoCell(grid, 2, 1, Q("４６２．５６２５")));
        QCOMPARE(Cell(grid, 2, 1), Q("462.56250"));
    }

    // ---- Form6 ----------------------------------------------------------------

    void sideKeyValuesOutsideTheListShowOff_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("-1") << -1 << 1;
        QTest::newRow("12") << 12 << 1;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("11") << 11 << 11;
    }
    void sideKeyValuesOutsideTheListShowOff() {
        QFETCH(int, stored);
        QFETCH(int, shown);
        state_.SideKeyFunction = {stored, stored};
        Form6 form(state_, &main_);
        form.ApplyLanguage(0);
        QCOMPARE(Find<QComboBox>(&form, "Combo1")->currentIndex(), shown);
        QCOMPARE(Find<QComboBox>(&form, "Combo2")->currentIndex(), shown);
        QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
        QCOMPARE(state_.SideKeyFunction[0], shown);
        QCOMPARE(state_.SideKeyFunction[1], shown);
    }

    void sideKeyListsAndCancel() {
        Form6 form(state_, &main_);
        QComboBox* pf1 = Find<QComboBox>(&form, "Combo1");
        QCOMPARE(pf1->currentIndex(), 10);
        QCOMPARE(Find<QComboBox>(&form, "Combo2")->currentIndex(), 0);
        QCOMPARE(pf1->itemText(8), Q("照明灯开关")); // the design text, before any language
        form.ApplyLanguage(0);
        QCOMPARE(pf1->itemText(8), Q("电量"));
        form.ApplyLanguage(1);
        QCOMPARE(pf1->itemText(7), Q("Scan & Delete temporary"));
        QCOMPARE(Find<QComboBox>(&form, "Combo2")->itemText(8), Q("electric quantity"));
        QCOMPARE(form.windowTitle(), Q("Keys Set"));
        QCOMPARE(Find<QLabel>(&form, "Label1")->text(), Q("PF1"));

        Pick(pf1, 3);
        QTest::mouseClick(Find<QPushButton>(&form, "Command2"), Qt::LeftButton);
        QCOMPARE(state_.SideKeyFunction[0], 10);
        QCOMPARE(pf1->currentIndex(), 3);
    }

    // ---- Form7 ----------------------------------------------------------------

    void limitEditRule_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("cursor");
        const QString full(32, QChar('a'));
        QTest::newRow("typed into room") << "abc"
                                         << "abXc"
                                         << "abXc" << 3;
        QTest::newRow("typed at 32") << full << full + "b" << full << 32;
        QTest::newRow("replacing a selection at 32")
            << full << "b" + full.mid(1) << "b" + full.mid(1) << 1;
        QTest::newRow("backspace") << full << full.left(31) << full.left(31) << 31;
        QTest::newRow("no single-byte code") << "ab" << Q("a中b") << "ab" << 1;
        QTest::newRow("Latin-1 accepted") << "ab" << Q("aéb") << Q("aéb") << 2;
        QTest::newRow("pasted tab and line break") << "ab"
                                                   << "a\tx\r\nb"
                                                   << "axb" << 2;
        QTest::newRow("DEL and escape") << "" << Q("\x7F\x1B[1m") << "[1m" << 3;
        QTest::newRow("paste filtered then cut")
            << "xy" << Q("x中文") + QString(40, QChar('p')) + "y"
            << "x" + QString(30, QChar('p')) + "y" << 31;
        QTest::newRow("emoji (two code units)") << "" << Q("a\U0001F600b") << "ab" << 2;
    }
    void limitEditRule() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, kept);
        QFETCH(int, cursor);
        const LimitedEdit result = LimitEdit(before, after, 32);
        QCOMPARE(result.text, kept);
        QCOMPARE(result.cursor, cursor);
    }

    void typingLimitInTheBox() {
        Form7 form(state_, &main_);
        form.show();
        auto* box = Find<QLineEdit>(&form, "Text1");
        box->setFocus();
        QTest::keyClicks(box, QString(32, QChar('k')));
        QTest::keyClick(box, Qt::Key_Z);
        QCOMPARE(box->text(), QString(32, QChar('k')));
        box->setSelection(0, 2);
        QTest::keyClick(box, Qt::Key_Z);
        QCOMPARE(box->text(), "z" + QString(30, QChar('k')));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text().size(), 30);
        QKeyEvent wideCharacter(QEvent::KeyPress, 0, Qt::NoModifier, Q("中"));
        QApplication::sendEvent(box, &wideCharacter);
        QCOMPARE(box->text().size(), 30);
        QKeyEvent latin1Character(QEvent::KeyPress, 0, Qt::NoModifier, Q("é"));
        QApplication::sendEvent(box, &latin1Character);
        QCOMPARE(box->text().size(), 31);
    }

    void pasteIsFilteredAndCut() {
        Form7 form(state_, &main_);
        form.show();
        auto* box = Find<QLineEdit>(&form, "Text2");
        box->setText("AB");
        box->setCursorPosition(1);
        QGuiApplication::clipboard()->setText(Q("中1文2") + QString(40, QChar('x')));
        box->paste();
        QCOMPARE(box->text(), "A12" + QString(28, QChar('x')) + "B");
    }

    void okStoresBytesCancelDoesNot() {
        state_.EmbeddedInfo = {std::string("HELLO\xFF", 6), std::string()};
        Form7 form(state_, &main_);
        form.ApplyLanguage(1);
        QCOMPARE(form.windowTitle(), Q("Embedded Information"));
        QCOMPARE(Find<QLineEdit>(&form, "Text1")->text(), Q("HELLOÿ"));
        Find<QLineEdit>(&form, "Text2")->setText(Q("Café"));
        QTest::mouseClick(Find<QPushButton>(&form, "Command2"), Qt::LeftButton);
        QCOMPARE(state_.EmbeddedInfo[1], std::string());
        QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
        QCOMPARE(state_.EmbeddedInfo[1], std::string("Caf\xE9"));
        QCOMPARE(state_.EmbeddedInfo[0], std::string("HELLO\xFF", 6));
    }

    // ---- Form2 and Form3 ------------------------------------------------------

    void serviceAdjustLoadsLockedWithTheLevels() {
        Form2 form(state_, &main_);
        QVERIFY(!Find<QSlider>(&form, "Slider1")->isEnabled());
        QVERIFY(!Find<QSlider>(&form, "Slider3")->isEnabled());
        QCOMPARE(Find<QLabel>(&form, "Lblpower1")->text(), Q("208"));
        QCOMPARE(Find<QLabel>(&form, "Lblpower3")->text(), Q("92"));
        QCOMPARE(Find<QSlider>(&form, "Slider1")->maximum(), 255);
        form.ApplyLanguage(1);
        QCOMPARE(Find<QGroupBox>(&form, "Frame1")->title(), Q("TX-Hight Power"));
        QCOMPARE(Find<QLabel>(&form, "Label8")->text(), Q("Hight"));
        QCOMPARE(form.windowTitle(), Q("Debug"));
    }

    void serviceAdjustOkStoresTheSliders() {
        state_.ServiceMode = 1;
        Form2 form(state_, &main_);
        QSlider* high = Find<QSlider>(&form, "Slider1");
        QVERIFY(high->isEnabled());
        high->setValue(255);
        QCOMPARE(Find<QLabel>(&form, "Lblpower1")->text(), Q("255"));
        Find<QSlider>(&form, "Slider3")->setValue(0);
        QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
        QVERIFY(form.isHidden());
        QCOMPARE(state_.TxPowerHigh, 255);
        QCOMPARE(state_.TxPowerLow, 0);
    }

    void passwordWindow() {
        Form3 form(state_, language_, &main_);
        form.ApplyLanguage(1);
        QCOMPARE(Find<QLabel>(&form, "Label1")->text(), Q("Password:"));
        QSignalSpy unlocked(&form, &Form3::Unlocked);
        auto* text = Find<QLineEdit>(&form, "Text1");
        form.show();
        {
            BoxScript boxes;
            text->setText("1234");
            QTest::keyClick(text, Qt::Key_Return); // Enter acts as OK
            QCOMPARE(boxes.Asked().size(), 1u);
            QCOMPARE(boxes.Asked()[0].prompt, Q("密码错误，请与管理员联系！"));
            QCOMPARE(boxes.Asked()[0].style, 16);
        }
        QVERIFY(form.isHidden());
        QCOMPARE(state_.ServiceMode, 0);
        QCOMPARE(unlocked.size(), 0);

        form.show();
        text->setText("5183");
        QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
        QVERIFY(form.isHidden());
        QCOMPARE(state_.ServiceMode, 1);
        QCOMPARE(unlocked.size(), 1);
    }

  private:
    ProgramState state_;
    const int language_ = kSimplified;
    QWidget main_;
};

QUELRO_TEST_MAIN(SettingsWindowsTest)
#include "windows_settings.moc"
