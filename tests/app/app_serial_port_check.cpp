// Help -> Serial port check on the main window: the item in the Help menu in
// each language, and the box with the findings of a system tree built here.
#include <QAction>
#include <QMenu>
#include <QTest>

#include "app/serial_port_check.h"
#include "i18n/traditional.h"
#include "link/fake_system.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"

namespace quelro {

class AppSerialPortCheck : public QObject {
    Q_OBJECT

  private slots:
    void itemFollowsTheLanguage();
    void boxListsTheFindings();
};

void AppSerialPortCheck::itemFollowsTheLanguage() {
    test::ConfigFolder config;
    test::FakeSystem system;
    SerialPortCheck* check = nullptr;
    auto started =
        test::StartForm([&](Form1& form) { check = new SerialPortCheck(form, system.Paths()); });
    Form1& form = *started->form;
    const QList<QAction*> items = form.mnuhelp->actions();
    // Between the help topics and the about box.
    QCOMPARE(items.indexOf(check->Action()), items.indexOf(form.mnuabout) - 1);
    QCOMPARE(check->Action()->text(), QString::fromUtf8("串口诊断"));
    form.mnuEnglish->trigger();
    QCOMPARE(check->Action()->text(), QString("Serial port check"));
    if (TraditionalAvailable()) {
        form.mnuChineseF->trigger();
        QCOMPARE(check->Action()->text(), QString::fromUtf8("串口診斷"));
    }
    form.mnuChineseJ->trigger();
    QCOMPARE(check->Action()->text(), QString::fromUtf8("串口诊断"));
}

void AppSerialPortCheck::boxListsTheFindings() {
    test::ConfigFolder config;
    test::BoxScript boxes;
    test::FakeSystem system;
    system.User("1000");
    const unsigned gid = system.Device("/dev/probe", 0660);
    system.File("/etc/group", "dialout:x:" + std::to_string(gid) + ":alice\n");
    system.Adapter(
        {"1-2", "1a86", "7523", "QinHeng Electronics", "USB Serial", "", "ttyUSB0", "ch341", ""});
    system.Process(77, "ModemManager");
    SerialPortCheck* check = nullptr;
    auto started =
        test::StartForm([&](Form1& form) { check = new SerialPortCheck(form, system.Paths()); });
    started->form->mnuEnglish->trigger();
    boxes.Clear();
    check->Action()->trigger();
    QCOMPARE(boxes.Asked().size(), std::size_t{1});
    const AskedBox& box = boxes.Asked().front();
    QCOMPARE(box.style, 64);
    QCOMPARE(box.title, QString("Serial port check"));
    QCOMPARE(box.prompt,
             QString("No permission to open /dev/ttyUSB0 (it belongs to the group dialout): you "
                     "were added to dialout, but this login session does not have it yet. Log "
                     "out and in again.\n\n"
                     "ModemManager (process 77) is running and probes every new serial port, "
                     "which disturbs the radio: run sudo systemctl stop ModemManager, or "
                     "reinstall this program to get its udev rule."));
}

} // namespace quelro

QUELRO_TEST_MAIN(quelro::AppSerialPortCheck)
#include "app_serial_port_check.moc"
