// The auxiliary windows as the main window drives them: the service unlock
// gesture and relock on an injected clock, decoding reaching every window,
// the three languages over all seven windows, the about box and help.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>

#include <cstdio>

#include "i18n/traditional.h"
#include "i18n/translate_form_qt.h"
#include "support/qt_test_main.h"
#include "support/windows_test_support.h"
#include "windows/aux_windows.h"
#include "windows/form2_service_adjust.h"
#include "windows/form3_password.h"
#include "windows/form4_test_frequencies.h"
#include "windows/form5_optional_functions.h"
#include "windows/form6_key_settings.h"
#include "windows/form7_embedded_info.h"
#include "windows/help_manual.h"

using namespace quelro;
using quelro::test::BoxScript;
using quelro::test::Find;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// An image of 848 bytes, all FF, with the given bytes set.
std::string Image(std::initializer_list<std::pair<int, std::string_view>> fields) {
    std::string hex(kImageHexLength, 'F');
    for (const auto& [offset, bytes] : fields)
        hex.replace(static_cast<std::size_t>(2 * offset), bytes.size(), bytes);
    return hex;
}

} // namespace

class AuxWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        state_ = ProgramState::StartUp();
        language_ = kSimplified;
        now_ = 1000.0;
        buttonShown_.clear();
        main_ = std::make_unique<QWidget>();
        AuxWindowHooks hooks;
        hooks.setServiceExitVisible = [this](bool visible) { buttonShown_.push_back(visible); };
        hooks.clock = [this] { return now_; };
        hooks.openUrl = [this](const QUrl& url) {
            opened_.push_back(url);
            return browserWorks_;
        };
        opened_.clear();
        browserWorks_ = true;
        aux_ = new AuxWindows(state_, language_, main_.get(), hooks);
        for (LanguageWindow* window : aux_->LanguageWindows()) window->ApplyLanguage(0);
    }
    void cleanup() { main_.reset(); }

    void windowsAreOwnedByTheMainWindowInBindingOrder() {
        const auto windows = aux_->LanguageWindows();
        const QStringList names{"Form2", "Form3", "Form4", "Form5", "Form6", "Form7", "frmAbout"};
        for (int i = 0; i < AuxWindows::kWindowCount; ++i) {
            QWidget* w = windows[static_cast<std::size_t>(i)]->Window();
            QCOMPARE(w->objectName(), names[i]);
            QCOMPARE(w->parentWidget(), main_.get());
            QVERIFY(w->isWindow());
            QVERIFY(w->isHidden());
        }
        aux_->ShowAbout();
        QVERIFY(aux_->about()->isVisible());
        QVERIFY(aux_->about()->isWindow());
    }

    // ---- unlock gesture and relock ----------------------------------------

    void threeLabelsWithinFiveSecondsUnlock() {
        aux_->ShowServiceAdjust();
        QSlider* high = Find<QSlider>(aux_->form2(), "Slider1");
        QVERIFY(!high->isEnabled());
        ClickUnlockLabel(2, 1000.4); // the series starts at 1000
        ClickUnlockLabel(0, 1002.0);
        QCOMPARE(state_.ServiceMode, 0);
        ClickUnlockLabel(1, 1005.0); // 5 s after the start still counts
        QCOMPARE(state_.ServiceMode, 1);
        QVERIFY(high->isEnabled());
        QVERIFY(Find<QSlider>(aux_->form2(), "Slider3")->isEnabled());
        QCOMPARE(buttonShown_, std::vector<bool>{true});
    }

    void aSixSecondGapStartsANewSeries() {
        ClickUnlockLabel(0, 1000.0);
        ClickUnlockLabel(1, 1001.0);
        ClickUnlockLabel(2, 1007.0); // too late: only this label is marked now
        QCOMPARE(state_.ServiceMode, 0);
        QVERIFY(buttonShown_.empty());
        ClickUnlockLabel(1, 1008.0);
        QCOMPARE(state_.ServiceMode, 0);
        ClickUnlockLabel(0, 1009.0); // completes the new series
        QCOMPARE(state_.ServiceMode, 1);
    }

    void oneLabelClickedThriceDoesNotUnlock() {
        for (double t : {1000.0, 1001.0, 1002.0}) ClickUnlockLabel(1, t);
        QCOMPARE(state_.ServiceMode, 0);
    }

    // Decoding clears ServiceMode but not the gesture's unlocked state: the
    // next marking click runs the unlocking steps again.
    void decodingLeavesTheGestureUnlocked() {
        for (int label : {0, 1, 2}) ClickUnlockLabel(label, 1000.0);
        QCOMPARE(state_.ServiceMode, 1);
        QVERIFY(DecodeImage(state_, Image({})).has_value());
        QCOMPARE(state_.ServiceMode, 0);
        QVERIFY(Find<QSlider>(aux_->form2(), "Slider1")->isEnabled());
        ClickUnlockLabel(0, 1020.0); // a new series, only marked: nothing
        QCOMPARE(state_.ServiceMode, 0);
        ClickUnlockLabel(0, 1021.0); // marked within the series: unlock again
        QCOMPARE(state_.ServiceMode, 1);
        QCOMPARE(buttonShown_, (std::vector<bool>{true, true}));
    }

    void serviceExitTiming_data() {
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::addColumn<bool>("relocks");
        QTest::newRow("0.4 s") << 10.0 << 10.4 << true;
        QTest::newRow("0.49 s, start rounded down") << 10.49 << 10.98 << true;
        QTest::newRow("0.49 s, start rounded up") << 10.5 << 10.99 << true;
        QTest::newRow("0.9 s after a whole second") << 10.0 << 10.9 << true;
        QTest::newRow("1.5 s") << 10.0 << 11.5 << false;
        QTest::newRow("1.5 s, start rounded up") << 10.6 << 12.1 << false;
        QTest::newRow("2 s") << 10.0 << 12.0 << false;
    }
    void serviceExitTiming() {
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(bool, relocks);
        ServiceExitTiming timing;
        QVERIFY(!timing.Click(first));
        QCOMPARE(timing.Click(second), relocks);
    }

    void serviceExitDoubleClickRelocks() {
        aux_->ShowServiceAdjust();
        for (int label : {0, 1, 2}) ClickUnlockLabel(label, 1000.0);
        QCOMPARE(state_.ServiceMode, 1);

        ExitClick(1010.0);
        ExitClick(1012.0); // 2 s apart: only records the time
        QCOMPARE(state_.ServiceMode, 1);
        ExitClick(1012.6);
        QCOMPARE(state_.ServiceMode, 0);
        QVERIFY(!Find<QSlider>(aux_->form2(), "Slider1")->isEnabled());
        QVERIFY(!Find<QSlider>(aux_->form2(), "Slider3")->isEnabled());
        QCOMPARE(buttonShown_, (std::vector<bool>{true, false}));

        // Marks and unlocked state are gone: one click does not unlock.
        ClickUnlockLabel(0, 1013.0);
        QCOMPARE(state_.ServiceMode, 0);
        // A new timing starts after a relock.
        ExitClick(1020.0);
        QCOMPARE(buttonShown_.size(), 2u);
    }

    // The relock a main window with its own timing of button 7 calls.
    void relockAtOnce() {
        for (int label : {0, 1, 2}) ClickUnlockLabel(label, 1000.0);
        aux_->Relock();
        QCOMPARE(state_.ServiceMode, 0);
        QVERIFY(!Find<QSlider>(aux_->form2(), "Slider1")->isEnabled());
        QCOMPARE(buttonShown_, (std::vector<bool>{true, false}));
        ClickUnlockLabel(2, 1001.0); // marks alone do not unlock any more
        QCOMPARE(state_.ServiceMode, 0);
    }

    void passwordEnablesTheSliders() {
        auto* text = Find<QLineEdit>(aux_->form3(), "Text1");
        text->setText("5183");
        QTest::mouseClick(Find<QPushButton>(aux_->form3(), "Command1"), Qt::LeftButton);
        QCOMPARE(state_.ServiceMode, 1);
        QVERIFY(Find<QSlider>(aux_->form2(), "Slider1")->isEnabled());
    }

    // ---- decoding --------------------------------------------------------

    // The program builds its windows after its first paint, so a decode finds
    // them; one that does not finds them when they are built.
    void decodingReachesEveryWindow_data() {
        QTest::addColumn<bool>("builtBefore");
        QTest::newRow("windows built") << true;
        QTest::newRow("windows built later") << false;
    }
    void decodingReachesEveryWindow() {
        QFETCH(bool, builtBefore);
        if (builtBefore) aux_->CreateAll();
        state_.SideKeyFunction = {5, 7};
        const std::string image = Image({
            {0x20, "50622546"},            // channel 3 receives 462.56250
            {0x60, "50622546"},            // channel 7
            {0x10D, "03"},                 // PF1: key lock & backup
            {0x10E, "0C"},                 // PF2: out of range, stays 7
            {0x122, "02"},                 // PTT ID: both
            {0x127, "000000070500"},       // cancel, VOX inhibit, VOX, gain 7, delay 5, tone
            {0x12E, "FE"},                 // duplicate off
            {0x150, "0104015B022C010500"}, // Fixed, channel 5, 0.50 S, 5.00 S, return 2, 300, 5
            {0x173, "C8"},                 // high power 200
            {0x178, "40"},                 // low power 64
            {0x278, "5062254600752546"},   // test row 2: 462.56250 / 462.57500
            {0x2F0, "5155454C524F"},       // "QUELRO"
            {0x310, "E941"},               // "éA"
        });
        BoxScript boxes;
        const auto steps = DecodeImage(state_, image);
        QVERIFY(steps.has_value());
        aux_->ShowDecoded(*steps);

        Form6* keys = aux_->form6();
        QCOMPARE(Find<QComboBox>(keys, "Combo1")->currentIndex(), 3);
        QCOMPARE(Find<QComboBox>(keys, "Combo2")->currentIndex(), 7);

        Form5* functions = aux_->form5();
        const std::vector<std::pair<const char*, int>> lists{
            {"Combo4", 2},  {"Combo6", 0},  {"Combo7", 7},  {"Combo8", 5},   {"Combo9", 0},
            {"Combo10", 0}, {"Combo11", 1}, {"Combo13", 1}, {"Combo14", 91}, {"Combo15", 2}};
        for (const auto& [name, position] : lists)
            QVERIFY2(Find<QComboBox>(functions, name)->currentIndex() == position, name);
        QVERIFY(!Find<QCheckBox>(functions, "Check3")->isChecked());
        QVERIFY(!Find<QCheckBox>(functions, "Check4")->isChecked());
        QCOMPARE(Find<QLineEdit>(functions, "Text5")->text(), Q("300"));
        QCOMPARE(Find<QLineEdit>(functions, "Text6")->text(), Q("5"));
        // The decoded "Fixed" on the empty channel 5 is shown as stored, with
        // no message: the user chose nothing.
        QCOMPARE(boxes.Asked().size(), 0u);
        QCOMPARE(Find<QComboBox>(functions, "Combo12")->currentText(), Q("05"));

        QCOMPARE(Find<QSlider>(aux_->form2(), "Slider1")->value(), 200);
        QCOMPARE(Find<QLabel>(aux_->form2(), "Lblpower1")->text(), Q("200"));
        QCOMPARE(Find<QSlider>(aux_->form2(), "Slider3")->value(), 64);
        QCOMPARE(Find<QLabel>(aux_->form2(), "Lblpower3")->text(), Q("64"));

        auto* grid = Find<QTableWidget>(aux_->form4(), "mfgrid1");
        QCOMPARE(grid->item(1, 1)->text(), Q("462.56250"));
        QCOMPARE(grid->item(1, 2)->text(), Q("462.57500"));
        QCOMPARE(grid->item(0, 1)->text(), QString());

        QCOMPARE(Find<QLineEdit>(aux_->form7(), "Text1")->text(), Q("QUELRO"));
        QCOMPARE(Find<QLineEdit>(aux_->form7(), "Text2")->text(), Q("éA"));
    }

    // A stored "Fixed" without any channel stays "Fixed" and is written back
    // as stored; only the user's own choice of it is refused.
    void decodedFixedWithoutChannelsIsKept() {
        aux_->CreateAll();
        BoxScript boxes;
        const auto steps = DecodeImage(state_, Image({{0x150, "01"}}));
        QVERIFY(steps.has_value());
        aux_->ShowDecoded(*steps);
        QCOMPARE(boxes.Asked().size(), 0u);
        auto* mode = Find<QComboBox>(aux_->form5(), "Combo11");
        QCOMPARE(mode->currentIndex(), 1);
        mode->setCurrentIndex(0);
        mode->setCurrentIndex(1);
        emit mode->activated(1);
        QCOMPARE(boxes.Asked().size(), 1u);
        QCOMPARE(boxes.Asked()[0].title, Q("提示"));
        QCOMPARE(mode->currentIndex(), 0);
    }

    // ---- languages -------------------------------------------------------

    void englishReachesEveryWindow() {
        for (LanguageWindow* window : aux_->LanguageWindows()) window->ApplyLanguage(1);
        QCOMPARE(Find<QGroupBox>(aux_->form2(), "Frame2")->title(), Q("TX-Low Power"));
        QCOMPARE(Find<QLabel>(aux_->form3(), "Label1")->text(), Q("Password:"));
        QCOMPARE(Find<QTableWidget>(aux_->form4(), "mfgrid1")->horizontalHeaderItem(1)->text(),
                 Q("RX Frequency"));
        QCOMPARE(Find<QLabel>(aux_->form5(), "Label15")->text(), Q("Preferred channel"));
        QCOMPARE(Find<QPushButton>(aux_->form6(), "Command2")->text(), Q("Cancel"));
        QCOMPARE(aux_->form7()->windowTitle(), Q("Embedded Information"));
        QCOMPARE(Find<QLabel>(aux_->about(), "lblTitle")->text(), Q("Quelro Radio Software "));
        QCOMPARE(Find<QLabel>(aux_->about(), "lblVersion")->text(), Q("English version V1.20"));
        QCOMPARE(Find<QLabel>(aux_->about(), "Label2")->text(), Q("Issue：2012.01"));
        QCOMPARE(Find<QLabel>(aux_->about(), "lblDescription")->text(), QString());
    }

    // Start-up with a stored 2: the Simplified captions, then every window
    // converted in order, then the about box's own Traditional texts.
    void traditionalReachesEveryWindow() {
        if (!TraditionalAvailable()) QSKIP("conversion dictionaries missing");
        for (LanguageWindow* window : aux_->LanguageWindows()) TranslateForm(window->Window());
        aux_->ApplyTraditionalAboutTexts(true);

        QCOMPARE(Find<QGroupBox>(aux_->form2(), "Frame1")->title(), Q("發射高功率"));
        QCOMPARE(Find<QLabel>(aux_->form3(), "Label1")->text(), Q("請輸入密碼"));
        auto* grid = Find<QTableWidget>(aux_->form4(), "mfgrid1");
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), Q("頻道"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), Q("發射頻率"));
        // A listener hears a cell by its column and row in the same words.
        QCOMPARE(grid->item(1, 1)->data(Qt::AccessibleDescriptionRole).toString(),
                 Q("接收頻率, 02"));
        QCOMPARE(grid->item(15, 2)->data(Qt::AccessibleDescriptionRole).toString(),
                 Q("發射頻率, 16"));
        QCOMPARE(aux_->form4()->windowTitle(), Q("测试频率")); // titles are not converted
        QCOMPARE(Find<QLabel>(aux_->form5(), "Label15")->text(), Q("優先信道"));
        QCOMPARE(Find<QComboBox>(aux_->form5(), "Combo15")->itemText(1), Q("選定+當前"));
        QCOMPARE(Find<QCheckBox>(aux_->form5(), "Check4")->text(), Q("接收時禁止VOX"));
        QCOMPARE(Find<QComboBox>(aux_->form6(), "Combo1")->itemText(0), Q("自動撥號"));
        QCOMPARE(Find<QPushButton>(aux_->form7(), "Command1")->text(), Q("確定"));
        QCOMPARE(Find<QLabel>(aux_->about(), "lblTitle")->text(), Q("Quelro 對講機編程軟件"));
        QCOMPARE(Find<QLabel>(aux_->about(), "lblVersion")->text(), Q("繁體中文版 V1.0"));

        // Back to English: the table's rows are rewritten, the rest keeps its
        // converted text.
        for (LanguageWindow* window : aux_->LanguageWindows()) window->ApplyLanguage(1);
        QCOMPARE(Find<QLabel>(aux_->form5(), "Label15")->text(), Q("Preferred channel"));
        QCOMPARE(Find<QLabel>(aux_->about(), "lblVersion")->text(), Q("English version V1.20"));
        QCOMPARE(Find<QGroupBox>(aux_->form5(), "Frame1")->title(), Q("VOX"));
        QCOMPARE(grid->item(1, 1)->data(Qt::AccessibleDescriptionRole).toString(),
                 Q("RX Frequency, 02"));
    }

    // The windows are built after the main window's first paint, when start-up
    // has already applied the language to them; a window built late must show
    // what it would have shown had it taken every language step as it came.
    // Steps: "0" and "1" ApplyLanguage, "T" TranslateForm, "A" and "a" the
    // about box's Traditional texts at start-up and from the menu. A window
    // keeps the three steps of a start-up and is built by a fourth.
    void languageStepsReachAWindowBuiltLater_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("builtBySteps");
        QTest::newRow("Simplified start") << "0" << 0;
        QTest::newRow("English start") << "1" << 0;
        QTest::newRow("Traditional start") << "0TA" << 0;
        QTest::newRow("Traditional start, then English") << "0TA1" << 1;
        QTest::newRow("English, Traditional, Simplified") << "10Ta0" << 7;
        QTest::newRow("Traditional twice") << "0TA10Ta" << 7;
    }
    void languageStepsReachAWindowBuiltLater() {
        QFETCH(QString, steps);
        QFETCH(int, builtBySteps);
        if (steps.contains('T') && !TraditionalAvailable())
            QSKIP("conversion dictionaries missing");
        auto run = [&steps](AuxWindows& aux) {
            for (QChar step : steps) {
                if (step == 'A' || step == 'a') {
                    aux.ApplyTraditionalAboutTexts(step == 'A');
                    continue;
                }
                for (LanguageWindow* window : aux.LanguageWindows()) {
                    if (step == 'T')
                        window->Translate();
                    else
                        window->ApplyLanguage(step.digitValue());
                }
            }
        };
        QWidget earlyOwner;
        QWidget lateOwner;
        ProgramState earlyState = ProgramState::StartUp();
        ProgramState lateState = ProgramState::StartUp();
        AuxWindows early(earlyState, language_, &earlyOwner);
        AuxWindows late(lateState, language_, &lateOwner);
        early.CreateAll();
        run(early);
        run(late);
        QCOMPARE(lateOwner.findChildren<AuxWindow*>(Qt::FindDirectChildrenOnly).size(),
                 builtBySteps);
        late.CreateAll();
        for (int i = 0; i < AuxWindows::kWindowCount; ++i) {
            const std::size_t w = static_cast<std::size_t>(i);
            QCOMPARE(Texts(late.LanguageWindows()[w]->Window()),
                     Texts(early.LanguageWindows()[w]->Window()));
        }
    }

    // ---- about box and help ----------------------------------------------

    void aboutBoxHidesAndOpensTheMakersPage() {
        aux_->ShowAbout();
        frmAbout* about = aux_->about();
        QTest::mouseClick(Find<QLabel>(about, "lblDescription"), Qt::LeftButton);
        QCOMPARE(opened_.size(), 1u);
        QCOMPARE(opened_[0], QUrl("https://www.quelro.example/"));
        QTest::mouseClick(Find<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        QVERIFY(about->isHidden());
        aux_->ShowAbout();
        QVERIFY(!about->close());
        QVERIFY(about->isHidden());
    }

    void helpOpensTheManualInTheLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("page");
        QTest::newRow("Simplified") << 0 << "/zh/index.html";
        QTest::newRow("English") << 1 << "/en/index.html";
        QTest::newRow("Traditional") << 2 << "/zh/index.html";
    }
    void helpOpensTheManualInTheLanguage() {
        QFETCH(int, language);
        QFETCH(QString, page);
        language_ = language;
        BoxScript boxes;
        aux_->OpenHelp();
        QVERIFY(boxes.Asked().empty());
        QCOMPARE(opened_.size(), 1u);
        QVERIFY(opened_[0].isLocalFile());
        QVERIFY2(opened_[0].toLocalFile().endsWith(page), qPrintable(opened_[0].toString()));
        QVERIFY(QFileInfo(opened_[0].toLocalFile()).isFile());
    }

    void aMissingManualOrBrowserIsReported() {
        BoxScript boxes;
        const UrlOpener open = [this](const QUrl& url) {
            opened_.push_back(url);
            return browserWorks_;
        };
        QVERIFY(!OpenManual(1, open, {QDir::tempPath() + "/no-such-quelro-manual"}));
        QVERIFY(opened_.empty());
        QCOMPARE(boxes.Asked().size(), 1u);
        QVERIFY(boxes.Asked()[0].prompt.startsWith("The user manual could not be found."));

        browserWorks_ = false;
        QVERIFY(!OpenManual(0, open));
        QCOMPARE(boxes.Asked().size(), 2u);
        QVERIFY(boxes.Asked()[1].prompt.startsWith(Q("无法启动浏览器来显示用户手册：")));
        QVERIFY(boxes.Asked()[1].prompt.endsWith("/zh/index.html"));
    }

  private:
    // Every text of a window that the language machinery may write.
    static QStringList Texts(QWidget* window) {
        QStringList texts{window->windowTitle()};
        for (QObject* object : window->findChildren<QObject*>()) {
            if (auto* label = qobject_cast<QLabel*>(object))
                texts << label->text();
            else if (auto* button = qobject_cast<QAbstractButton*>(object))
                texts << button->text();
            else if (auto* frame = qobject_cast<QGroupBox*>(object))
                texts << frame->title();
            else if (auto* list = qobject_cast<QComboBox*>(object))
                for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
            else if (auto* grid = qobject_cast<QTableWidget*>(object))
                for (int c = 0; c < grid->columnCount(); ++c)
                    texts << grid->horizontalHeaderItem(c)->text();
        }
        return texts;
    }

    void ClickUnlockLabel(int label, double at) {
        now_ = at;
        aux_->ShowOptionalFunctions();
        QTest::mouseClick(Find<QLabel>(aux_->form5(), Form5::kUnlockLabels[label]), Qt::LeftButton);
    }
    void ExitClick(double at) {
        now_ = at;
        aux_->ServiceExitClicked();
    }

    ProgramState state_;
    double now_ = 0;
    std::vector<bool> buttonShown_;
    std::vector<QUrl> opened_;
    bool browserWorks_ = true;
    std::unique_ptr<QWidget> main_;
    AuxWindows* aux_ = nullptr;
    int language_ = kSimplified;
};

QUELRO_TEST_MAIN(AuxWindowsTest)
#include "windows_aux_windows.moc"
