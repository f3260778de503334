// The optional-function window (Form5): the "Fixed" priority checks and their
// messages, load order, OK / Cancel / close box, the lists it builds and the
// three unlock labels.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

#include "i18n/traditional.h"
#include "support/channel_texts.h"
#include "support/qt_test_main.h"
#include "support/windows_test_support.h"
#include "windows/form5_optional_functions.h"

using namespace quelro;
using quelro::test::BoxScript;
using quelro::test::Find;
using quelro::test::Pick;

namespace {

constexpr const char* kFixedNeedsChannel = "当设定为‘固定’时信道不可为空，请重设！";
constexpr const char* kEmptyChannelPicked = "不可选择空信道，请重新选择！";

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class OptionalFunctionsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { quelro::test::VerifyCommaLocaleWhenAsked(); }
    void init() {
        state_ = ProgramState::StartUp();
        language_ = kSimplified;
    }

    void fixedWithEveryChannelEmptyFallsBackToNo() {
        Form5 form(state_, language_, &main_);
        QComboBox* mode = Find<QComboBox>(&form, "Combo11");
        QComboBox* channel = Find<QComboBox>(&form, "Combo12");
        BoxScript boxes;
        Pick(mode, 1);
        QCOMPARE(boxes.Asked().size(), 1u);
        QCOMPARE(boxes.Asked()[0].prompt, Q(kFixedNeedsChannel));
        QCOMPARE(boxes.Asked()[0].title, Q("提示"));
        QCOMPARE(boxes.Asked()[0].style, 0);
        QCOMPARE(mode->currentIndex(), 0);
        QCOMPARE(channel->currentText(), Q("02")); // the start-up "1" is kept
    }

    void fixedSearchAndEmptyChannelCheck() {
        state_.Channel(3) = test::ChannelAt("462.56250");
        state_.Channel(7) = test::ChannelAt("462.58750");
        Form5 form(state_, language_, &main_);
        QComboBox* mode = Find<QComboBox>(&form, "Combo11");
        QComboBox* channel = Find<QComboBox>(&form, "Combo12");
        BoxScript boxes;

        Pick(mode, 1);
        QCOMPARE(channel->currentText(), Q("03"));
        QVERIFY(boxes.Asked().empty());

        Pick(channel, 4); // "05", empty
        QCOMPARE(boxes.Asked().size(), 1u);
        QCOMPARE(boxes.Asked()[0].prompt, Q(kEmptyChannelPicked));
        QCOMPARE(boxes.Asked()[0].title, Q("Quelro")); // an empty title shows the program's
        QCOMPARE(channel->currentText(), Q("03"));

        Pick(channel, 6); // "07", used: accepted, not remembered
        QCOMPARE(boxes.Asked().size(), 1u);
        QCOMPARE(channel->currentText(), Q("07"));

        Pick(channel, 9); // "10", empty: back to the channel the search found
        QCOMPARE(boxes.Asked().size(), 2u);
        QCOMPARE(channel->currentText(), Q("03"));
        QCOMPARE(mode->currentIndex(), 1);
    }

    void otherModesAcceptAnyChannel_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("No") << 0;
        QTest::newRow("Selected") << 2;
    }
    void otherModesAcceptAnyChannel() {
        QFETCH(int, mode);
        Form5 form(state_, language_, &main_);
        BoxScript boxes;
        Pick(Find<QComboBox>(&form, "Combo11"), mode);
        Pick(Find<QComboBox>(&form, "Combo12"), 12);
        QVERIFY(boxes.Asked().empty());
        QCOMPARE(Find<QComboBox>(&form, "Combo12")->currentText(), Q("13"));
        QCOMPARE(Find<QComboBox>(&form, "Combo11")->currentIndex(), mode);
    }

    void messagesFollowTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::newRow("Simplified") << 0 << Q(kFixedNeedsChannel) << Q("提示");
        QTest::newRow("English") << 1
                                 << Q("When set to 'fixed' channel not is empty, please reset!")
                                 << Q("Tip");
        QTest::newRow("Traditional")
            << 2 << Q("當設定為‘固定’時信道不可為空，請重設！") << Q("提示");
    }
    void messagesFollowTheLanguage() {
        QFETCH(int, language);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        if (language == 2 && !TraditionalAvailable()) QSKIP("conversion dictionaries missing");
        language_ = language;
        Form5 form(state_, language_, &main_);
        BoxScript boxes;
        Pick(Find<QComboBox>(&form, "Combo11"), 1);
        QCOMPARE(boxes.Asked().size(), 1u);
        QCOMPARE(boxes.Asked()[0].prompt, prompt);
        QCOMPARE(boxes.Asked()[0].title, title);
    }

    // A stored "Fixed" mode is shown as stored, on an empty channel or with
    // no channel at all: no message, and an unchanged OK writes it back.
    void loadingAStoredFixedModeShowsWhatIsStored() {
        for (const bool anyChannel : {true, false}) {
            state_ = ProgramState::StartUp();
            if (anyChannel) state_.Channel(2) = test::ChannelAt("440.00000");
            state_.Functions.Text[kPriorityMode] = "1";
            state_.Functions.Text[kPriorityChannel] = "4"; // channel 5, empty
            BoxScript boxes;
            Form5 form(state_, language_, &main_);
            QCOMPARE(boxes.Asked().size(), 0u);
            QCOMPARE(Find<QComboBox>(&form, "Combo11")->currentIndex(), 1);
            QCOMPARE(Find<QComboBox>(&form, "Combo12")->currentText(), Q("05"));
            Find<QPushButton>(&form, "Command1")->click();
            QCOMPARE(state_.Functions.Text[kPriorityMode], std::string("1"));
            QCOMPARE(state_.Functions.Text[kPriorityChannel], std::string("4"));
        }
    }

    void okStoresEveryControlCancelKeepsTheStore() {
        Form5 form(state_, language_, &main_);
        form.show();
        Pick(Find<QComboBox>(&form, "Combo4"), 2);
        Pick(Find<QComboBox>(&form, "Combo7"), 10);
        Pick(Find<QComboBox>(&form, "Combo13"), 91);
        Pick(Find<QComboBox>(&form, "Combo15"), 3);
        Find<QLineEdit>(&form, "Text5")->setText("abc");
        Find<QCheckBox>(&form, "Check3")->setChecked(false);

        const FunctionSettings before = state_.Functions;
        QTest::mouseClick(Find<QPushButton>(&form, "Command2"), Qt::LeftButton);
        QVERIFY(form.isHidden());
        QCOMPARE(state_.Functions.Text, before.Text);

        form.show(); // the hidden window kept what was typed
        QCOMPARE(Find<QComboBox>(&form, "Combo4")->currentIndex(), 2);
        QCOMPARE(Find<QLineEdit>(&form, "Text5")->text(), Q("abc"));
        QVERIFY(!Find<QCheckBox>(&form, "Check3")->isChecked());

        QTest::mouseClick(Find<QPushButton>(&form, "Command1"), Qt::LeftButton);
        QVERIFY(form.isHidden());
        const auto& text = state_.Functions.Text;
        QCOMPARE(text[kPttIdMode], std::string("2"));
        QCOMPARE(text[kVoxGain], std::string("10"));
        QCOMPARE(text[kRetraceTimeA], std::string("91"));
        QCOMPARE(text[kReturnChannel], std::string("3"));
        QCOMPARE(text[kScanRxResumeDelay], std::string("abc"));
        QCOMPARE(text[kCancelOperation], std::string("0"));
        QCOMPARE(text[kVoxRxInhibit], std::string("1"));
        QCOMPARE(text[kPriorityMode], std::string("0"));
        QCOMPARE(text[kPriorityChannel], std::string("1"));
        // Fields the window does not show are left alone.
        QCOMPARE(text[kPttStartCode], before.Text[kPttStartCode]);
        QCOMPARE(state_.Functions.Value, before.Value);
    }

    void closeBoxOnlyHides() {
        QPointer<Form5> form = new Form5(state_, language_, &main_);
        form->show();
        Find<QLineEdit>(form, "Text6")->setText("12");
        QVERIFY(!form->close());
        QVERIFY(!form.isNull());
        QVERIFY(form->isHidden());
        QCOMPARE(Find<QLineEdit>(form, "Text6")->text(), Q("12"));
        delete form;
    }

    void retraceListsAreBuiltAtLoad() {
        Form5 form(state_, language_, &main_);
        for (const char* name : {"Combo13", "Combo14"}) {
            QComboBox* list = Find<QComboBox>(&form, name);
            QCOMPARE(list->count(), 92);
            QCOMPARE(list->itemText(0), Q("空"));
            QCOMPARE(list->itemText(1), Q("0.50 S"));
            QCOMPARE(list->itemText(2), Q("0.55 S"));
            QCOMPARE(list->itemText(91), Q("5.00 S"));
        }
        form.ApplyLanguage(1);
        QCOMPARE(Find<QComboBox>(&form, "Combo13")->itemText(0), Q("Empty"));
        QCOMPARE(Find<QComboBox>(&form, "Combo14")->itemText(45), Q("2.70 S"));
    }

    void languageWritesTheTableRowsOnly() {
        Form5 form(state_, language_, &main_);
        form.ApplyLanguage(1);
        QCOMPARE(form.windowTitle(), Q("Optional Function"));
        QCOMPARE(Find<QLabel>(&form, "Label10")->text(), Q("VOX GBIN"));
        QCOMPARE(Find<QLabel>(&form, "Label19")->text(), Q("Scan receive delay time(S)"));
        QCOMPARE(Find<QComboBox>(&form, "Combo15")->itemText(3), Q("priority+Current"));
        QCOMPARE(Find<QComboBox>(&form, "Combo7")->itemText(0), Q("Off"));
        QCOMPARE(Find<QComboBox>(&form, "Combo8")->itemText(0), Q("0.3S"));
        QCOMPARE(Find<QGroupBox>(&form, "Frame1")->title(), Q("VOX"));
        QCOMPARE(Find<QGroupBox>(&form, "Frame2")->title(), Q("Scan"));
        form.ApplyLanguage(5); // no column: nothing is written
        QCOMPARE(Find<QLabel>(&form, "Label10")->text(), Q("VOX GBIN"));
        form.ApplyLanguage(0);
        QCOMPARE(Find<QLabel>(&form, "Label10")->text(), Q("VOX增益电平"));
        QCOMPARE(Find<QComboBox>(&form, "Combo11")->itemText(1), Q("固定"));
    }

    void upperSpinnerArrowCountsUp() {
        Form5 form(state_, language_, &main_);
        form.show();
        QScrollBar* spinner = Find<QScrollBar>(&form, "VScroll1");
        QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, 2));
        QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, 2));
        QCOMPARE(Find<QLineEdit>(&form, "Text5")->text(), Q("2"));
        QTest::mouseClick(spinner, Qt::LeftButton, {},
                          QPoint(spinner->width() / 2, spinner->height() - 2));
        QCOMPARE(Find<QLineEdit>(&form, "Text5")->text(), Q("1"));
        QCOMPARE(Find<QLineEdit>(&form, "Text6")->text(), QString());
    }

    void theThreeUnlockLabelsReportTheirClicks() {
        Form5 form(state_, language_, &main_);
        form.show();
        QSignalSpy spy(&form, &Form5::UnlockLabelClicked);
        for (const char* name : {"Label18", "Label4", "Label8", "Label11"})
            QTest::mouseClick(Find<QLabel>(&form, name), Qt::LeftButton);
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy[0][0].toInt(), 2);
        QCOMPARE(spy[1][0].toInt(), 0);
        QCOMPARE(spy[2][0].toInt(), 1);
    }

  private:
    ProgramState state_;
    int language_ = kSimplified;
    QWidget main_;
};

QUELRO_TEST_MAIN(OptionalFunctionsTest)
#include "windows_optional_functions.moc"
