// The window program on a real X server with a window manager (Xvfb, openbox,
// keys from xdotool), as a user meets it: each run opens a file named on the
// command line, opens a cell editor and leaves the program one way - File ->
// Quit, Alt+F4 or SIGTERM. Every way out exits with status 0 and writes the
// `parameter` file; the first run moves the edited channel and saves it.
// Skipped when Xvfb, openbox or xdotool is missing (sh scripts/deps.sh).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include "files/data_file.h"
#include "support/qt_test_main.h"
#include "support/test_images.h"

using namespace quelro;
using namespace quelro::test;

namespace {

constexpr int kWaitMs = 20000;

bool WaitFor(const std::function<bool()>& condition, int ms = kWaitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(100);
    }
    return true;
}

// Channels 1, 2, 3 and 5 in use (5 and 1 scanned); 4 empty.
std::string GapImage() {
    std::string image = Patch(FreshImage(), 0x00, "0000604400006044FFFFFFFFF8D0FCFF");
    image = Patch(image, 0x10, "0000614400006144FFFFFFFFF8F0FCFF");
    image = Patch(image, 0x20, "000062440000624475031328F8C0FCFF");
    image = Patch(image, 0x40, "0000634400006344FFFFFFFFF0D0FCFF");
    return Patch(image, 0x16E, "1100");
}

} // namespace

class DesktopSmoke : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess xvfb_;
    QProcess wm_;
    QString display_;
    int runs_ = 0;

    QProcessEnvironment Environment(const QString& config) const {
        QProcessEnvironment env;
        env.insert("PATH", qEnvironmentVariable("PATH"));
        env.insert("LANG", "C.UTF-8");
        env.insert("HOME", dir_.filePath("home"));
        env.insert("XDG_RUNTIME_DIR", dir_.filePath("runtime"));
        env.insert("XDG_CONFIG_HOME", config);
        env.insert("DISPLAY", display_);
        env.insert("QT_QPA_PLATFORM", "xcb");
        for (const char* sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(sanitizer))
                env.insert(sanitizer, qEnvironmentVariable(sanitizer));
        return env;
    }

    // xdotool's output, trimmed; empty when it failed or took too long.
    QString XdoTool(const QStringList& arguments) const {
        QProcess tool;
        tool.setProcessEnvironment(Environment(dir_.path()));
        tool.start("xdotool", arguments);
        if (!tool.waitForFinished(kWaitMs)) {
            tool.kill();
            tool.waitForFinished();
            return {};
        }
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    void Keys(const QStringList& keys) const {
        XdoTool(QStringList{"key", "--delay", "150"} + keys);
    }
    void Type(const QString& text) const { XdoTool({"type", "--delay", "80", text}); }
    QString ActiveTitle() const { return XdoTool({"getactivewindow", "getwindowname"}); }
    int VisibleWindows(qint64 pid) const {
        const QString ids = XdoTool({"search", "--onlyvisible", "--pid", QString::number(pid)});
        return ids.isEmpty() ? 0 : static_cast<int>(ids.split('\n').size());
    }

  private slots:
    void initTestCase() {
        for (const char* tool : {"Xvfb", "openbox", "xdotool"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QString("%1 is not installed (sh scripts/deps.sh)").arg(tool)));
        QVERIFY(dir_.isValid());
        for (const char* folder : {"home", "runtime"}) QVERIFY(QDir(dir_.path()).mkdir(folder));
        QFile::setPermissions(dir_.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Xvfb names the free display it took on the descriptor it is given.
        xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1600x1000x24", "-nolisten", "tcp",
                             "-noreset"});
        QVERIFY(WaitFor([&] { return xvfb_.canReadLine(); }));
        display_ = ":" + QString::fromUtf8(xvfb_.readLine()).trimmed();
        const QString ready = dir_.filePath("wm-ready");
        wm_.setProcessEnvironment(Environment(dir_.path()));
        wm_.start("openbox", {"--startup", "touch " + ready});
        QVERIFY2(WaitFor([&] { return QFile::exists(ready); }), "openbox did not start");
    }
    void cleanupTestCase() {
        for (QProcess* process : {&wm_, &xvfb_}) {
            process->terminate();
            if (!process->waitForFinished(5000)) process->kill();
        }
    }

    // way: how the program is left; moved: the edited channel is moved and saved.
    void everyWayOutExitsWithStatus0_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("language");
        QTest::newRow("File -> Quit, after a move and a save, Chinese") << "menu" << 0;
        QTest::newRow("Alt+F4 with an editor open, English") << "Alt+F4" << 1;
        QTest::newRow("SIGTERM with an edit open, English") << "SIGTERM" << 1;
    }
    void everyWayOutExitsWithStatus0() {
        QFETCH(QString, way);
        QFETCH(int, language);
        const QString config = dir_.filePath(QString("config%1").arg(++runs_));
        QVERIFY(QDir().mkpath(config + "/quelro"));
        const QByteArray parameter{"\x00\x00", 2};
        QFile file(config + "/quelro/parameter");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(parameter + char(language));
        file.close();
        const QString opened = dir_.filePath("gap.DAT");
        const QString saved = dir_.filePath(QString("saved%1.DAT").arg(runs_));
        QVERIFY(WriteDataFile(opened.toStdString(), GapImage()).ok);

        QProcess quelro;
        quelro.setProcessEnvironment(Environment(config));
        quelro.setProcessChannelMode(QProcess::ForwardedChannels);
        quelro.start(QUELRO_GUI_PATH, {opened});
        const QString id = XdoTool({"search", "--sync", "--onlyvisible", "--name", "Quelro-"});
        QVERIFY2(!id.isEmpty(), "the window did not open");
        XdoTool({"windowactivate", "--sync", id.split('\n').first()});
        QVERIFY(WaitFor([&] { return ActiveTitle() == "Quelro-" + opened; }));

        // Channel 05's receive frequency, from the keyboard.
        Keys({"Down", "Down", "Down", "Down", "Right", "Return"});
        if (way == "menu") {
            Type("430.0125");
            Keys({"alt+Down", "ctrl+s"});
            QVERIFY(WaitFor([&] { return !ActiveTitle().startsWith("Quelro-"); }));
            Type(saved);
            Keys({"Return"});
            QVERIFY(WaitFor([&] { return ActiveTitle() == "Quelro-" + saved; }));
            const int windows = VisibleWindows(quelro.processId());
            Keys({"alt+f"});
            QVERIFY(WaitFor([&] { return VisibleWindows(quelro.processId()) > windows; }));
            Keys({"q"});
        } else if (way == "Alt+F4") {
            Keys({"alt+F4"});
        } else {
            Type("440");
            quelro.terminate();
        }
        QVERIFY2(quelro.waitForFinished(kWaitMs), "the program did not end");
        QCOMPARE(quelro.exitStatus(), QProcess::NormalExit);
        QCOMPARE(quelro.exitCode(), 0);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().toHex(), (parameter + char(language)).toHex());
        if (way != "menu") return;
        // Channel 05, with the frequency typed, is channel 06 now.
        std::string expected = Patch(GapImage(), 0x40, "FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF");
        expected = Patch(expected, 0x50, "5012004300006344FFFFFFFFF0D0FCFF");
        expected = Patch(expected, 0x16E, "2100");
        QCOMPARE(QString::fromStdString(ReadDataFile(saved.toStdString()).imageHex),
                 QString::fromStdString(expected));
    }
};

QUELRO_TEST_MAIN(DesktopSmoke)
#include "desktop_smoke.moc"
