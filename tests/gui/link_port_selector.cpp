// SelectPort over real pseudo-terminals: check marks, close-then-open,
// SavedPort kept only on success, the in-use message and its permission line.
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

#include "link/port_selector_qt.h"

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

struct Rig {
    QTemporaryDir config;
    SerialLink link;
    ProgramState state = ProgramState::StartUp(kEnglish);
    std::map<int, bool> marks;
    std::vector<int> touched; // items whose mark was set or removed, in order
    QStringList messages;
    PortSelector selector{link,
                          state,
                          {[this](int port, bool on) {
                               marks[port] = on;
                               touched.push_back(port);
                           },
                           [this](const QString& prompt, int style) {
                               QCOMPARE(style, 64);
                               messages << prompt;
                           }},
                          config.path().toStdString()};

    void Ports(const std::vector<std::string>& lines) {
        std::ofstream out(config.filePath("ports").toStdString());
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
    rig.state.LanguageMode = kSimplified;
    rig.Ports({"", "", "", "", "", "", "/dev/quelro-no-such-device"});
    rig.selector.SelectPort(7);
    QCOMPARE(rig.messages,
             QStringList{QString::fromUtf8("串口设备 /dev/quelro-no-such-device "
                                           "不存在：请插上编程线，或选择其它串口。")});
}

void LinkPortSelector::refusedDeviceGetsThePermissionLine() {
    if (::geteuid() == 0) QSKIP("root opens any device; no refusal to provoke");
    Rig rig;
    Pty a;
    QVERIFY(::chmod(a.path().c_str(), 0) == 0);
    rig.Ports({a.path()});
    rig.selector.SelectPort(1);
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
    rig.state.LanguageMode = kSimplified;
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
    Rig rig;
    rig.Ports({"/dev/pts/77", "ttyUSB3"});
    QCOMPARE(rig.selector.StatusTip(1), QString("/dev/pts/77"));
    QCOMPARE(rig.selector.StatusTip(2), QString("/dev/ttyUSB3"));
}

} // namespace quelro

QTEST_MAIN(quelro::LinkPortSelector)
#include "link_port_selector.moc"
