// Helpers of the radio-link end-to-end tests: a quelro-radio-sim on a
// pseudo-terminal, a temporary configuration and data folder whose `ports`
// file maps COM1 to it, and running quelro-cli there.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

#include "link/protocol_engine.h"
#include "support/process_run.h"

namespace quelro::e2e {

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// What the simulators of a test reported as sent outside the dialogue (their
// "deviation" lines); every test's cleanup() fails when there is any.
inline QStringList& SimDeviations() {
    static QStringList deviations;
    return deviations;
}
inline QStringList TakeSimDeviations() {
    return std::exchange(SimDeviations(), {});
}

// For each test class's cleanup(): the simulators of the test saw only the
// dialogue.
inline void VerifyNoSimDeviations() {
    const QStringList deviations = TakeSimDeviations();
    QVERIFY2(deviations.isEmpty(), qPrintable(deviations.join('\n')));
}

// A data file: the tag RMD47 and 848 image bytes.
inline QByteArray DataFile(const QByteArray& image) {
    return QByteArray("RMD47") + image.left(848);
}

// The radio memory `before` after a write of `image` that stopped part way:
// the blocks of the write plan that `saved` holds from `image`, in plan
// order up to the first one it does not, and nothing else.
inline QByteArray AfterPartialWrite(const QByteArray& before, const QByteArray& saved,
                                    const QByteArray& image) {
    QByteArray expected = before.left(848);
    for (const int address : WritePlan(false)) {
        const int offset = address - 0x10;
        if (saved.mid(offset, 16) != image.mid(offset, 16)) break;
        expected.replace(offset, 16, image.mid(offset, 16));
    }
    return expected;
}

class SimRadio {
  public:
    // Starts the simulator with `arguments`; Path() is empty when it failed.
    explicit SimRadio(const QStringList& arguments) {
        process_.start(QUELRO_SIM_PATH, arguments);
        if (process_.waitForReadyRead(5000) && process_.canReadLine())
            path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    // Stops the simulator; a deviation it reported goes to SimDeviations().
    ~SimRadio() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(3000)) {
                process_.kill();
                process_.waitForFinished(2000);
                SimDeviations() << "quelro-radio-sim did not stop when told to";
            }
        }
        Stderr();
        if (process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 3)
            for (const QByteArray& line : stderr_.split('\n'))
                if (line.contains("deviation")) SimDeviations() << QString::fromLocal8Bit(line);
    }
    const QString& Path() const { return path_; }

    // Waits until the simulator reports `line` ("end", "hung up"), at most
    // `timeoutMs`, running this program's event loop meanwhile.
    bool WaitFor(const QByteArray& line, int timeoutMs = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (process_.canReadLine()) {
                const QByteArray got = process_.readLine().trimmed();
                lines_ << QString::fromLocal8Bit(got);
                if (got == line) return true;
            }
            if (process_.state() == QProcess::NotRunning) {
                if (!process_.canReadLine()) return false;
                continue;
            }
            QTest::qWait(10);
        }
        return false;
    }
    // What the simulator wrote on stderr since the last call.
    QByteArray Stderr() {
        const QByteArray more = process_.readAllStandardError();
        stderr_ += more;
        return more;
    }

  private:
    QProcess process_;
    QString path_;
    QByteArray stderr_;
    QStringList lines_;
};

// A temporary home for the programs: XDG_CONFIG_HOME/quelro/ports and
// parameter, and XDG_DATA_HOME.
class Home {
  public:
    Home() {
        QDir(dir_.path()).mkpath("config/quelro");
        QDir(dir_.path()).mkpath("data");
    }
    QString File(const QString& name) const { return dir_.filePath(name); }
    QString BackupFolder() const { return dir_.filePath("data/quelro/backups"); }
    void SetPorts(const QStringList& devices) const {
        WriteAll(dir_.filePath("config/quelro/ports"), (devices.join('\n') + '\n').toLocal8Bit());
    }
    // The three bytes of the `parameter` file: lock flag, SavedPort, language.
    void SetParameter(const QByteArray& bytes) const {
        WriteAll(dir_.filePath("config/quelro/parameter"), bytes);
    }
    // Points this process's XDG_CONFIG_HOME and XDG_DATA_HOME here, for a
    // program started inside the test.
    void Enter() const {
        qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir_.filePath("data").toLocal8Bit());
    }
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
        env.insert("XDG_DATA_HOME", dir_.filePath("data"));
        if (!systemRoot_.isEmpty()) env.insert("QUELRO_SYSTEM_ROOT", systemRoot_);
        return env;
    }
    // The programs started here read the system's state under `root`.
    void SetSystemRoot(const QString& root) { systemRoot_ = root; }

  private:
    QTemporaryDir dir_;
    QString systemRoot_;
};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// quelro-cli under setpriv with `privileges` (another user), or as this user
// when they are empty.
inline Run RunCliAs(const Home& home, const QStringList& privileges, const QStringList& arguments,
                    int timeoutMs = 30000) {
    test::ProcessOptions options;
    const QProcessEnvironment environment = home.Environment();
    for (const QString& name : environment.keys())
        options.environment.push_back({name.toStdString(), environment.value(name).toStdString()});
    options.timeoutMs = timeoutMs;
    std::vector<std::string> args;
    for (const QString& arg : privileges) args.push_back(arg.toStdString());
    if (!privileges.isEmpty()) args.push_back(QUELRO_CLI_PATH);
    for (const QString& arg : arguments) args.push_back(arg.toStdString());
    const test::ProcessRun run =
        test::RunProcess(privileges.isEmpty() ? QUELRO_CLI_PATH : "setpriv", args, options);
    return {run.exit, QString::fromStdString(run.out), QString::fromStdString(run.err)};
}

inline Run RunCli(const Home& home, const QStringList& arguments, int timeoutMs = 30000) {
    return RunCliAs(home, {}, arguments, timeoutMs);
}

} // namespace quelro::e2e
