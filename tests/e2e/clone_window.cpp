// The clone command in the main window: Programming -> Clone to several
// radios, Start, two radios from quelro-radio-sim, Stop between radios, with
// the window locked while the run lasts. With QUELRO_SCREENSHOT_DIR set the
// window is saved there in English and Chinese.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/clone_command.h"
#include "app/form1.h"
#include "channels/announcement_qt.h"
#include "channels/cell_edit.h"
#include "channels/channel_grid_qt.h"
#include "codes/conversions.h"
#include "e2e/link_e2e_support.h"
#include "i18n/local_msgbox_qt.h"
#include "image/memory_image.h"
#include "support/box_script.h"
#include "support/qt_test_main.h"
#include "windows/clone_window.h"
#include "windows/window_transfer_view_qt.h"

namespace quelro::e2e {

class CloneWindowRun : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { VerifyNoSimDeviations(); }
    void twoRadiosThenStopBetweenThem();
};

void CloneWindowRun::twoRadiosThenStopBetweenThem() {
    Home home;
    home.Enter();
    test::BoxScript boxes;
    boxes.AnswerWith([](const AskedBox&) { return BoxAnswer::kOk; });
    SimRadio sim(
        {"--radios", "3", "--stay", "1", "--off", "1", "--save-each", home.File("radio{n}.DAT")});
    QVERIFY(!sim.Path().isEmpty());

    ProgramState state = ProgramState::StartUp();
    Form1 form(state);
    form.Form_Load();
    form.mnuEnglish_Click();
    form.show();
    const TransferWidgets widgets = form.TransferParts();
    WindowTransferView view(
        widgets, form.LanguageMode(), [](const std::string&, int) {}, [](const QString&) {});
    SerialLink link;
    QVERIFY(link.Open(sim.Path()).ok);
    auto* clone = new CloneCommand(link, state, form, view);
    form.RegisterPart(clone);
    clone->ApplyLanguage(kEnglish);

    QCOMPARE(clone->MenuItem()->text(), QString("Clone to several radios..."));
    QVERIFY(form.mnupro->actions().contains(clone->MenuItem()));
    clone->MenuItem()->trigger();
    CloneWindow& window = clone->CloneView();
    QVERIFY(window.isVisible());
    QVERIFY(!window.StopButton()->isEnabled());

    // Every radio gets the programming as it was at Start; meanwhile nothing
    // edits the table.
    const QByteArray image = QByteArray::fromStdString(BytesFromHex(EncodeImage(state)));
    QTest::mouseClick(window.StartButton(), Qt::LeftButton);
    QVERIFY(!form.Toolbar1->isEnabled());
    QVERIFY(!window.StartButton()->isEnabled());
    QVERIFY(!form.Grid1->isEnabled());
    QVERIFY(form.Locked());
    QVERIFY(!form.ReadyToChange());
    QTRY_VERIFY_WITH_TIMEOUT(window.Log()->count() >= 1, 20000);
    QCOMPARE(CommitFrequency(state, 1, kColRxFreq, "446.5"), FrequencyOutcome::NewChannel);
    QTRY_VERIFY_WITH_TIMEOUT(window.Log()->count() >= 2, 20000);
    QCOMPARE(window.Log()->item(0)->text().left(13), QString("Radio 1: ok ("));
    QCOMPARE(window.Log()->item(1)->text().left(13), QString("Radio 2: ok ("));
    QCOMPARE(window.CountText(), QString("Written: 2   failed: 0   skipped: 0"));
    QCOMPARE(window.InstructionShown(),
             QString("turn the radio off, connect the next one and turn it on"));

    // Between radios Stop ends the run at once.
    QTest::mouseClick(window.StopButton(), Qt::LeftButton);
    QCOMPARE(window.Log()->count(), 3);
    QCOMPARE(window.Log()->item(2)->text(),
             QString("Done: written 2, verified 2, failed 0, skipped 0"));
    QCOMPARE(LastAnnouncement(&window), window.Log()->item(2)->text());
    QVERIFY(form.Toolbar1->isEnabled());
    QVERIFY(form.Grid1->isEnabled());
    QVERIFY(!form.Locked());
    QVERIFY(window.StartButton()->isEnabled());
    QVERIFY(!clone->Running());
    QVERIFY(boxes.Asked().empty());

    // With QUELRO_SCREENSHOT_DIR set (under xvfb-run), the window after the
    // run in English and, switched over, in Chinese.
    const QString shots = qEnvironmentVariable("QUELRO_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        QVERIFY(window.grab().save(shots + "/clone_window_en.png"));
        form.mnuChineseJ_Click();
        window.ShowInstruction(CloneInstruction::ConnectNext);
        QVERIFY(window.grab().save(shots + "/clone_window_zh-Hans.png"));
        QVERIFY(form.grab().save(shots + "/clone_menu_form1_zh-Hans.png"));
    }

    for (int n = 1; n <= 2; ++n)
        QCOMPARE(ReadAll(home.File(QString("radio%1.DAT").arg(n))).mid(5, 0x170),
                 image.left(0x170));
    QVERIFY(!QFile::exists(home.File("radio3.DAT")));
    delete clone;
}

} // namespace quelro::e2e

QUELRO_TEST_MAIN(quelro::e2e::CloneWindowRun)
#include "clone_window.moc"
