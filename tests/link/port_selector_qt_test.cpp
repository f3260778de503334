// SelectPort over real pseudo-terminals: check marks, close-then-open,
// SavedPort kept only on success, the in-use message and its permission line.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "link/fake_system.h"
#include "link/port_selector_qt.h"
#include "support/qt_test_main.h"

namespace quelro {

namespace {

// A pseudo-terminal whose terminal side the selector can open.
class Pty {
  public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~Pty() { HangUp(); }
    const std::string& path() const { return path_; }
    void HangUp() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    std::string path_;
};

// Root opens any device, and CI runs as root: for the scope of one of these,
// the process acts as nobody (the saved set-user-ID lets it come back), so
// that a refusal can be provoked there too. Does nothing for other users.
class ActAsNobody {
  public:
    ActAsNobody() : root_(::geteuid() == 0) {
        if (root_) QVERIFY(::seteuid(65534) == 0);
    }
    ~ActAsNobody() {
        if (root_) QVERIFY(::seteuid(0) == 0);
    }
    ActAsNobody(const ActAsNobody&) = delete;
    ActAsNobody& operator=(const ActAsNobody&) = delete;

  private:
    bool root_;
};

struct Rig {
    explicit Rig(SystemPaths paths = SystemPaths::FromEnvironment(), QString folder = {})
        : selector(link, language,
                   {[this](int port, bool on) {
                        marks[port] = on;
                        touched.push_back(port);
                    },
                    [this](const QString& prompt, BoxStyle style) {
                        QVERIFY(style == BoxStyle::kInformation);
                        messages << prompt;
                    }},
                   (folder.isEmpty() ? config.path() : folder).toStdString(), std::move(paths)),
          folder_(folder.isEmpty() ? config.path() : folder) {}
    QTemporaryDir config;
    SerialLink link;
    int language = kEnglish;
    std::map<int, bool> marks;
    std::vector<int> touched; // items whose mark was set or removed, in order
    QStringList messages;
    PortSelector selector;
    QString folder_; // the configuration folder

    void Ports(const std::vector<std::string>& lines) {
        std::ofstream out((folder_ + "/ports").toStdString());
        for (const std::string& line : lines) out << line << "\n";
    }
    std::vector<int> Marked() const {
        std::vector<int> on;
        for (auto [port, checked] : marks)
            if (checked) on.push_back(port);
        return on;
    }
};

} // namespace

class LinkPortSelector : public QObject {
    Q_OBJECT

  private slots:
    void openingMarksAndSaves();
    void reselectingTheMarkedPortTouchesNoMark();
    void failedOpenLeavesNothingOpenAndKeepsSavedPort();
    void messageFollowsTheLanguage();
    void refusedDeviceGetsThePermissionLine();
    void portWithoutADeviceSaysSo();
    void savedPortOutsideTheRangeDoesNothing();
    void deviceThatGoesAwayLosesItsMark();
    void statusTipsNameTheDevices();
    void pickedAdapterIsOpenedUnderItsNewNumber();
};

void LinkPortSelector::openingMarksAndSaves() {
    Rig rig;
    Pty a, b;
    rig.Ports({a.path(), b.path()});
    rig.selector.SelectPort(1);
    QVERIFY(rig.link.IsOpen());
    QCOMPARE(rig.Marked(), std::vector<int>{1});
    QCOMPARE(rig.selector.SavedPort(), 1);
    rig.selector.SelectPort(2);
    QCOMPARE(rig.link.Device(), QString::fromStdString(b.path()));
    QCOMPARE(rig.Marked(), std::vector<int>{2});
    QCOMPARE(rig.selector.SavedPort(), 2);
    QVERIFY(rig.messages.isEmpty());
}

void LinkPortSelector::reselectingTheMarkedPortTouchesNoMark() {
    Rig rig;
    Pty a;
    rig.Ports({a.path()});
    rig.selector.SelectPort(1);
    rig.touched.clear();
    rig.selector.SelectPort(1);
    QVERIFY(rig.link.IsOpen());
    // Only the mark of the port that opened again is set.
    QCOMPARE(rig.touched, std::vector<int>{1});
    QCOMPARE(rig.Marked(), std::vector<int>{1});
}

void LinkPortSelector::failedOpenLeavesNothingOpenAndKeepsSavedPort() {
    Rig rig;
    Pty a;
    rig.Ports({a.path(), "", "/dev/quelro-no-such-device"});
    rig.selector.SelectPort(1);
    rig.selector.SelectPort(3);
    QVERIFY(!rig.link.IsOpen());
    QVERIFY(rig.Marked().empty());
    QCOMPARE(rig.selector.SavedPort(), 1);
    // A missing device is named as such, not as a port another program uses.
    QCOMPARE(rig.messages,
             QStringList{"The serial device /dev/quelro-no-such-device does not exist: plug in the "
                         "programming cable, or choose another port."});
    // The same when the port that fails was the marked one.
    rig.selector.SelectPort(1);
    QCOMPARE(rig.Marked(), std::vector<int>{1});
    rig.Ports({"/dev/quelro-no-such-device"});
    rig.selector.SelectPort(1);
    QVERIFY(rig.Marked().empty());
    QCOMPARE(rig.selector.SavedPort(), 1);
}

void LinkPortSelector::messageFollowsTheLanguage() {
    Rig rig;
    rig.language = kSimplified;
    rig.Ports({"", "", "", "", "", "", "/dev/quelro-no-such-device"});
    rig.selector.SelectPort(7);
    QCOMPARE(rig.messages,
             QStringList{QString::fromUtf8("串口设备 /dev/quelro-no-such-device "
                                           "不存在：请插上编程线，或选择其它串口。")});
}

void LinkPortSelector::refusedDeviceGetsThePermissionLine() {
    Rig rig;
    Pty a;
    QVERIFY(::chmod(a.path().c_str(), 0) == 0);
    rig.Ports({a.path()});
    // nobody must still read the ports file.
    QVERIFY(::chmod(rig.folder_.toLocal8Bit().constData(), 0755) == 0);
    {
        const ActAsNobody nobody;
        rig.selector.SelectPort(1);
    }
    QCOMPARE(rig.messages.size(), 1);
    // The device and its group, not the in-use message.
    QVERIFY(rig.messages.front().startsWith("No permission to open " +
                                            QString::fromStdString(a.path())));
    QVERIFY(!rig.messages.front().contains("other programs use"));
}

void LinkPortSelector::portWithoutADeviceSaysSo() {
    Rig rig;
    if (rig.selector.Device(8)) QSKIP("this machine has eight serial devices");
    const QString ports = rig.config.filePath("ports");
    rig.selector.SelectPort(8);
    rig.language = kSimplified;
    rig.selector.SelectPort(8);
    QCOMPARE(rig.messages,
             (QStringList{"No serial device is assigned to COM8: plug in the programming cable, or "
                          "name its device on line 8 of " +
                              ports + ".",
                          QString::fromUtf8("没有串行设备对应 COM8：请接上编程线，或在文件 ") +
                              ports + QString::fromUtf8(" 的第 8 行写明其设备。")}));
}

void LinkPortSelector::savedPortOutsideTheRangeDoesNothing() {
    for (int saved : {0, 9, 255}) {
        Rig rig;
        rig.selector.SetSavedPort(saved);
        rig.selector.SelectSavedPort();
        QVERIFY(rig.touched.empty());
        QVERIFY(rig.messages.isEmpty());
        QCOMPARE(rig.selector.SavedPort(), saved);
    }
}

void LinkPortSelector::deviceThatGoesAwayLosesItsMark() {
    Rig rig;
    auto a = std::make_unique<Pty>();
    rig.Ports({a->path()});
    rig.selector.SelectPort(1);
    QCOMPARE(rig.Marked(), std::vector<int>{1});
    a.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.link.IsOpen(), 5000);
    QVERIFY(rig.Marked().empty());
    QCOMPARE(rig.selector.SavedPort(), 1);
}

void LinkPortSelector::statusTipsNameTheDevices() {
    test::FakeSystem system;
    system.Adapter({"1-2", "1a86", "7523", "QinHeng Electronics", "USB Serial", "", "ttyUSB3",
                    "ch341", "usb-1a86_USB_Serial-if00-port0"});
    Rig rig(system.Paths());
    rig.Ports({"/dev/pts/77", "ttyUSB3"});
    QCOMPARE(rig.selector.StatusTip(1), QString("/dev/pts/77 (device missing)"));
    QCOMPARE(rig.selector.StatusTip(2),
             QString("/dev/ttyUSB3 - QinHeng Electronics USB Serial, USB 1a86:7523, "
                     "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"));
    rig.language = kSimplified;
    QCOMPARE(rig.selector.StatusTip(1), QString::fromUtf8("/dev/pts/77（设备不存在）"));
}

// The user picks COM2, a USB adapter; a second adapter plugged in before the
// next start takes its number, and the next start opens the picked one under
// COM1. Without the memory it would silently open the other one.
void LinkPortSelector::pickedAdapterIsOpenedUnderItsNewNumber() {
    Pty picked, other;
    test::FakeSystem system;
    system.Device(picked.path(), 0666);
    system.Device(other.path(), 0666);
    system.Link("/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0", picked.path());
    system.Link("/dev/serial/by-id/usb-Prolific_USB-Serial-if00-port0", other.path());
    QTemporaryDir config;
    {
        Rig rig(system.Paths(), config.path());
        rig.Ports({other.path(), picked.path()});
        rig.selector.SelectPort(2);
        QCOMPARE(rig.link.Device(), QString::fromStdString(picked.path()));
    }
    Rig next(system.Paths(), config.path());
    next.Ports({picked.path(), other.path()});
    next.selector.SetSavedPort(2);
    next.selector.SelectSavedPort();
    QCOMPARE(next.link.Device(), QString::fromStdString(picked.path()));
    QCOMPARE(next.Marked(), std::vector<int>{1});
    QCOMPARE(next.selector.SavedPort(), 1);

    // Picking a port that is no USB adapter forgets the adapter.
    Pty plain;
    next.Ports({plain.path()});
    next.selector.SelectPort(1);
    QVERIFY(!QFile::exists(config.filePath("adapter")));
}

} // namespace quelro

QUELRO_TEST_MAIN(quelro::LinkPortSelector)
#include "port_selector_qt_test.moc"
