// Start-up and shutdown of the main window: the `parameter` file, the start
// values, menus, toolbar, lock, ports, the service-exit button and the
// language machinery over registered windows.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>

#include "channels/channel_grid_qt.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"

using namespace quelro;
using namespace quelro::test;

namespace {

// A window that joins the language machinery and logs what it is asked.
class LoggingWindow : public LanguageWindow {
  public:
    LoggingWindow(const char* name, std::vector<QString>& log) : name_(name), log_(log) {
        label_ = new QLabel("设定", &widget_);
    }
    QWidget* Window() override { return &widget_; }
    void ApplyLanguage(int languageMode) override {
        log_.push_back(QString("%1:%2").arg(name_).arg(languageMode));
        if (languageMode == 0) label_->setText("设定");
        if (languageMode == 1) label_->setText("Set");
    }
    QWidget widget_;
    QLabel* label_;

  private:
    const char* name_;
    std::vector<QString>& log_;
};

QStringList ItemTexts(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

} // namespace

class Form1Startup : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;

  private slots:
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
    }
    void cleanup() {
        boxes_.reset();
        config_.reset();
    }

    void firstStartWithoutParameterFile() {
        auto started = StartForm();
        Form1& form = *started->form;
        QVERIFY(boxes_->Asked().empty());
        QCOMPARE(form.windowTitle(), QString("Quelro 对讲机编程软件 V1.20"));
        QCOMPARE(form.mnuOpen->text(), QString("打开(&O)"));
        QCOMPARE(form.LanguageMode(), 0);
        QVERIFY(!form.Locked());
        QVERIFY(form.Grid1->isEnabled() && form.Frame1->isEnabled() && form.Frame2->isEnabled());
        for (int port = 1; port <= 8; ++port) QVERIFY(!form.mnucom(port)->isChecked());
        QCOMPARE(form.Combo1->currentText(), QString("400-500MHz"));
        QCOMPARE(started->state.BandIndex, 0);
        QCOMPARE(started->state.BandLow, 400);
        QCOMPARE(started->state.BandHigh, 500);
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(form.Grid1->CellText(row, 0), QString("%1").arg(row, 2, 10, QChar('0')));
            for (int c = 1; c < 9; ++c) QCOMPARE(form.Grid1->CellText(row, c), QString());
        }
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(form.MainSelector(i)->currentIndex(), 1);
            QCOMPARE(started->state.MainSelectors[i], 1);
        }
        for (int row = 1; row <= 16; ++row)
            for (int c = 0; c < 9; ++c) {
                const QBrush background = form.Grid1->item(row - 1, c)->background();
                if (row % 2 == 0)
                    QCOMPARE(background.color(), QColor(192, 192, 255));
                else
                    QCOMPARE(background.style(), Qt::NoBrush);
            }
        QCOMPARE(form.Grid1->rowHeight(0), 20);
        // Column widths from twips (15 to the pixel), widened only for a header.
        const int twips[9]{500, 1330, 1000, 1330, 1000, 800, 850, 1000, 900};
        for (int c = 0; c < 9; ++c) QVERIFY(form.Grid1->columnWidth(c) >= twips[c] / 15);
        QCOMPARE(form.Combo3->count(), 40);
        QCOMPARE(form.Combo3->itemText(0), QString("15 秒"));
        QCOMPARE(form.Combo3->itemText(39), QString("600 秒"));
        QVERIFY(form.ProgressBar1->isHidden());
        QVERIFY(!form.TAnMa->isVisible());
        QCOMPARE(started->state.TxPowerHigh, 208);
        QCOMPARE(started->state.SideKeyFunction[0], 10);

        form.mnuQuit->trigger();
        QCOMPARE(config_->ReadParameter(), QByteArray("\x00\x00\x00", 3));
    }

    void shutdownWritesLockPortAndLanguage() {
        auto started = StartForm();
        Form1& form = *started->form;
        form.mnulock->trigger();
        form.mnucom(5)->trigger();
        form.mnuEnglish->trigger();
        form.close();
        QCOMPARE(config_->ReadParameter(), QByteArray("\x01\x05\x01", 3));
    }

    void storedLockDisablesGridAndBandOnly() {
        config_->WriteParameter(QByteArray("\x01\x00\x00", 3));
        auto started = StartForm();
        Form1& form = *started->form;
        QVERIFY(form.mnulock->isChecked());
        QVERIFY(!form.Grid1->isEnabled());
        QVERIFY(!form.Frame1->isEnabled());
        QVERIFY(form.Frame2->isEnabled());
        form.mnulock->trigger();
        QVERIFY(!form.mnulock->isChecked());
        QVERIFY(form.Grid1->isEnabled() && form.Frame1->isEnabled() && form.Frame2->isEnabled());
        form.mnulock->trigger();
        QVERIFY(!form.Grid1->isEnabled() && !form.Frame1->isEnabled() && !form.Frame2->isEnabled());
    }

    void storedPortIsSelectedAtStart_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("marked");
        QTest::newRow("COM3") << 3 << true << 3 << 3;
        QTest::newRow("busy COM2") << 2 << false << 2 << 0;
        QTest::newRow("none") << 0 << true << 0 << 0;
        QTest::newRow("out of range") << 9 << true << 0 << 0;
    }
    void storedPortIsSelectedAtStart() {
        QFETCH(int, stored);
        QFETCH(bool, opens);
        QFETCH(int, opened);
        QFETCH(int, marked);
        config_->WriteParameter(QByteArray("\x00", 1) + char(stored) + QByteArray("\x00", 1));
        int asked = 0;
        auto started = StartForm([&](Form1& form) {
            form.hooks().openPort = [&](int port) {
                asked = port;
                return opens;
            };
        });
        QCOMPARE(asked, opened);
        for (int port = 1; port <= 8; ++port)
            QCOMPARE(started->form->mnucom(port)->isChecked(), port == marked);
        QCOMPARE(started->form->SavedPort(), stored);
        if (opens) {
            QVERIFY(boxes_->Asked().empty());
        } else {
            QCOMPARE(boxes_->Asked().size(), std::size_t{1});
            QCOMPARE(boxes_->Asked()[0].style, 64);
        }
    }

    void portMarksFollowTheLastOpen() {
        bool opens = true;
        auto started =
            StartForm([&](Form1& form) { form.hooks().openPort = [&](int) { return opens; }; });
        Form1& form = *started->form;
        form.mnucom(2)->trigger();
        form.mnucom(2)->trigger();
        QVERIFY(form.mnucom(2)->isChecked());
        opens = false;
        form.mnucom(6)->trigger();
        for (int port = 1; port <= 8; ++port) QVERIFY(!form.mnucom(port)->isChecked());
        QCOMPARE(form.SavedPort(), 2);
    }

    void storedTraditionalConvertsEveryWindow() {
        config_->WriteParameter(QByteArray("\x00\x00\x02", 3));
        std::vector<QString> log;
        LoggingWindow form2("Form2", log);
        LoggingWindow about("frmAbout", log);
        auto started = StartForm([&](Form1& form) {
            form.RegisterWindow(&form2);
            form.RegisterWindow(&about);
            form.hooks().traditionalAboutTexts = [&](bool atStartUp) {
                log.push_back(atStartUp ? "about:start-up" : "about:menu");
            };
        });
        Form1& form = *started->form;
        QCOMPARE(form.LanguageMode(), 2);
        // Simplified captions first, then the conversion, then the about box's own texts.
        QCOMPARE(log, (std::vector<QString>{"Form2:0", "frmAbout:0", "about:start-up"}));
        QCOMPARE(form.mnuOpen->text(), QString("打開(&O)"));
        QCOMPARE(form.Frame1->title(), QString("機型選擇"));
        QCOMPARE(form.Grid1->HeaderText(1), QString("接收頻率"));
        QCOMPARE(form.Combo2->itemText(1), QString("中文"));
        QCOMPARE(form.Combo6->itemText(0), QString("禁止"));
        QCOMPARE(form.Combo4->itemText(0), QString("關閉"));
        QCOMPARE(form2.label_->text(), QString("設定"));
        // The window's own title is no control and stays as applied.
        QCOMPARE(form.windowTitle(), QString("Quelro 对讲机编程软件 V1.20"));
        // Boxes follow the language.
        form.mnuNew->trigger();
        QCOMPARE(boxes_->Asked().back().title, QString("警告"));
        QCOMPARE(boxes_->Asked().back().prompt, QString("所有信道的數據將被清除！"));
    }

    void languageMenusRunOverRegisteredWindows() {
        std::vector<QString> log;
        LoggingWindow form2("Form2", log);
        LoggingWindow about("frmAbout", log);
        auto started = StartForm([&](Form1& form) {
            form.RegisterWindow(&form2);
            form.RegisterWindow(&about);
            form.hooks().traditionalAboutTexts = [&](bool atStartUp) {
                log.push_back(atStartUp ? "about:start-up" : "about:menu");
            };
        });
        Form1& form = *started->form;
        QCOMPARE(log, (std::vector<QString>{"Form2:0", "frmAbout:0"}));
        log.clear();
        form.mnuChineseJ->trigger();
        QVERIFY(log.empty());
        form.mnuEnglish->trigger();
        QCOMPARE(log, (std::vector<QString>{"Form2:1", "frmAbout:1"}));
        QCOMPARE(form2.label_->text(), QString("Set"));
        log.clear();
        // From English the Chinese texts are applied first, then converted.
        form.mnuChineseF->trigger();
        QCOMPARE(log, (std::vector<QString>{"Form2:0", "frmAbout:0", "about:menu"}));
        QCOMPARE(form2.label_->text(), QString("設定"));
        log.clear();
        form.mnuChineseF->trigger();
        QVERIFY(log.empty());
        form.mnuChineseJ->trigger();
        QCOMPARE(log, (std::vector<QString>{"Form2:0", "frmAbout:0"}));
        QCOMPARE(form2.label_->text(), QString("设定"));

        // The other windows end with the main window.
        form2.widget_.show();
        form.close();
        QVERIFY(!form2.widget_.isVisible());
    }

    void menuCaptionsAndKeys() {
        config_->WriteParameter(QByteArray("\x00\x00\x01", 3));
        auto started = StartForm();
        Form1& form = *started->form;
        QCOMPARE(form.windowTitle(), QString("Quelro Radio Software V1.20"));
        const QList<QPair<QAction*, QString>> captions{
            {form.mnuFile->menuAction(), "File(&F)"},
            {form.mnuNew, "New(&N)"},
            {form.mnuAssave, "Save(&S)"},
            {form.mnuQuit, "Quit(&Q)"},
            {form.mnupro->menuAction(), "Programming(&P)"},
            {form.mnureadFre, "Read Frequency(&R)"},
            {form.mnuwriteFre, "Write Frequency(&W)"},
            {form.mnudtmf, "Optional function "},
            {form.Key_enactment, "Keys set "},
            {form.mnusetin, "Embedded information"},
            {form.mnudebug, "Debug(&D)"},
            {form.mnutestfre, "Debug frequency"},
            {form.mnuset->menuAction(), "Settings(&S)"},
            {form.mnulock, "Lock(&L)"},
            {form.mnucomMenu->menuAction(), "Communication port(&V)"},
            {form.mnuLanguage->menuAction(), "Languages(&G)"},
            {form.mnuChineseJ, "Chinese(Simplified)"},
            {form.mnuChineseF, "Chinese(Traditional)"},
            {form.mnuEnglish, "Englist"},
            {form.mnuhelp->menuAction(), "Help(&H)"},
            {form.mnumainhelp, "The help topic  F1 \""},
            {form.mnuabout, "About"},
            {form.mnucom(1), "COM1(&1)"},
            {form.mnucom(8), "COM8(&8)"},
        };
        for (const auto& [action, text] : captions) QCOMPARE(action->text(), text);
        // Within a menu no two items share a key.
        for (QMenu* menu : {form.mnuFile, form.mnupro, form.mnuset, form.mnuhelp}) {
            QString keys;
            for (QAction* a : menu->actions()) {
                const qsizetype at = a->text().indexOf('&');
                if (at < 0 || at + 1 >= a->text().size()) continue;
                const QChar key = a->text().at(at + 1).toUpper();
                QVERIFY2(!keys.contains(key), qPrintable(a->text()));
                keys += key;
            }
        }
        // Qt's own texts (file dialog, standard buttons) follow the language.
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
            QSKIP("qt6-translations-l10n is not installed");
        const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
        QCOMPARE(cancel(), QString("Cancel"));
        form.mnuChineseJ_Click();
        QCOMPARE(cancel(), QString("取消"));
        form.mnuEnglish_Click();
        QCOMPARE(cancel(), QString("Cancel"));
        QCOMPARE(form.mnureadFre->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(form.mnuwriteFre->shortcut(), QKeySequence("Ctrl+W"));
        QCOMPARE(form.Label2->text(), QString());
        QCOMPARE(form.Label3->text(), QString("Channel"));
        QCOMPARE(form.Label1->text(), QString("Time-out Warn:"));
        QCOMPARE(ItemTexts(form.Combo2), (QStringList{"Off", "Chinese", "Englist"}));
        QCOMPARE(form.Combo3->itemText(39), QString("600 S"));
        QCOMPARE(form.Combo4->itemText(10), QString("10 S"));
        QCOMPARE(form.Combo9->itemText(9), QString("9 Group"));
        QCOMPARE(ItemTexts(form.Combo7), (QStringList{"Off", "On"}));
        QCOMPARE(form.Grid1->HeaderText(7), QString("Band"));

        int helps = 0;
        form.hooks().showHelp = [&] { ++helps; };
        QTest::keyClick(&form, Qt::Key_F1);
        QCOMPARE(helps, 1);
    }

    void toolbarButtonsAndKeys() {
        auto started = StartForm();
        Form1& form = *started->form;
        const QStringList keys{"new", "open", "save", "", "read", "write", "TAnMa"};
        const QStringList tips{"新建", "打开", "保存", "", "读频", "写频", ""};
        for (int position = 1; position <= 7; ++position) {
            QAction* button = form.Toolbar1Button(position);
            QCOMPARE(button->isSeparator(), position == 4);
            QCOMPARE(button->data().toString(), keys[position - 1]);
            QCOMPARE(button->toolTip(), tips[position - 1]);
            QVERIFY(!button->icon().isNull() || position == 4);
        }
        QStringList ran;
        form.hooks().readRadio = [&] { ran << "read"; };
        form.hooks().writeRadio = [&] { ran << "write"; };
        form.Toolbar1Button(5)->trigger();
        form.Toolbar1Button(6)->trigger();
        form.mnureadFre->trigger();
        form.Toolbar1_ButtonClick("Read");
        form.Toolbar1_ButtonClick("");
        QCOMPARE(ran, (QStringList{"read", "write", "read"}));
        QVERIFY(boxes_->Asked().empty());
        form.Toolbar1Button(1)->trigger();
        QCOMPARE(boxes_->Asked().size(), std::size_t{1});
        QCOMPARE(boxes_->Asked()[0].style, 305);
    }

    void serviceExitButtonCallsItsHook() {
        int clicks = 0;
        auto started =
            StartForm([&](Form1& form) { form.hooks().serviceExit = [&] { ++clicks; }; });
        started->form->TAnMa->setVisible(true);
        started->form->TAnMa->trigger();
        QCOMPARE(clicks, 1);
    }

    void windowCommandsCallTheirHooks() {
        auto started = StartForm();
        Form1& form = *started->form;
        QStringList ran;
        auto& h = form.hooks();
        h.showOptionalFunctions = [&] { ran << "Form5"; };
        h.showKeySettings = [&] { ran << "Form6"; };
        h.showEmbeddedInfo = [&] { ran << "Form7"; };
        h.showServiceAdjust = [&] { ran << "Form2"; };
        h.showTestFrequencies = [&] { ran << "Form4"; };
        h.showAbout = [&] { ran << "frmAbout"; };
        h.showHelp = [&] { ran << "help"; };
        for (QAction* a : {form.mnudtmf, form.Key_enactment, form.mnusetin, form.mnudebug,
                           form.mnutestfre, form.mnuabout, form.mnumainhelp})
            a->trigger();
        QCOMPARE(ran,
                 (QStringList{"Form5", "Form6", "Form7", "Form2", "Form4", "frmAbout", "help"}));
        QUrl opened;
        h.openUrl = [&](const QUrl& url) { opened = url; };
        QTest::mouseClick(form.Label2, Qt::LeftButton);
        QVERIFY(opened.isValid());
        QCOMPARE(opened.scheme(), QString("https"));
    }
};

QUELRO_TEST_MAIN(Form1Startup)
#include "form1_startup_test.moc"
