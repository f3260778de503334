// quelro-cli read, write and ports against quelro-radio-sim through a real
// pseudo-terminal and the program's own serial adapter.
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include "codes/conversions.h"
#include "e2e/link_e2e_support.h"
#include "image/memory_image.h"
#include "link/fake_system.h"
#include "support/qt_test_main.h"

namespace quelro::e2e {

namespace {

// The messages of the failures, as the user reads them.
const QString kNoAnswerText = "Communication error: no answer at all. Switch the radio on, and "
                              "push the programming cable fully into the radio's socket.";
const QString kOnlyEchoText =
    "Communication error: only the cable's own echo came back, the radio did not answer. Switch "
    "the radio on, and push the cable fully into the radio's socket.";
const QString kWrongModelText = "Communication error: this radio reports the model VN480; this "
                                "program programs the VN481 and the VN482 only.";
const QString kStoppedText = "Communication error: the radio stopped answering during the "
                             "transfer. Check the radio's battery and the cable's plugs, then "
                             "try again.";
const QString kLostText = "Communication lost: the programming cable was disconnected. Plug it "
                          "in again; the next Read or Write opens the port again.";
const QString kIncompleteText = "Write incomplete: the radio holds part of the new programming. "
                                "Write it again before use.";
QString Unknown(const char* bytes) {
    return QString("Communication error: the radio's answer was not understood (%1). Check that "
                   "the cable is made for this radio and its plugs are pushed fully in, then try "
                   "again.")
        .arg(bytes);
}

// Memory bytes 0..1023 holding their offset: 00 and FF among them, which the
// terminal marks and escapes on the way in.
QByteArray CountingMemory() {
    QByteArray bytes;
    for (int i = 0; i < 1024; ++i) bytes += static_cast<char>(i & 0xFF);
    return bytes;
}

QByteArray Bytes(const std::string& hex) {
    return QByteArray::fromStdString(BytesFromHex(hex));
}

// The image a write sends for a data file: the file decoded onto the
// start-up state and encoded again, as the program does after Open.
QByteArray EncodedImage(const QByteArray& dataFile) {
    ProgramState state = ProgramState::StartUp();
    if (!DecodeImage(state, HexFromBytes(dataFile.mid(5).toStdString()))) return {};
    return Bytes(EncodeImage(state));
}

// A programming to write: the start-up state with two lines of embedded text.
QByteArray SampleDataFile() {
    ProgramState state = ProgramState::StartUp();
    state.SetEmbeddedInfo(0, "E2E WRITE TEST");
    state.SetEmbeddedInfo(1, "QUELRO");
    return DataFile(Bytes(EncodeImage(state)));
}

// Whether radio address `address` (0x0010..0x035F) is written, by the write
// plan: 0x0010-0x017F, 0x0180-0x018F in service mode, 0x01B8-0x01C7 and
// 0x0200-0x035F.
bool Written(int address, bool service) {
    return (address < 0x0180) || (service && address < 0x0190) ||
           (address >= 0x01B8 && address < 0x01C8) || address >= 0x0200;
}

} // namespace

class LinkCli : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { VerifyNoSimDeviations(); }

    void readKeepsTheBytesAsTheRadioSentThem();
    void writeChangesExactlyTheWrittenRanges_data();
    void writeChangesExactlyTheWrittenRanges();
    void verifyFindsABlockTheRadioLost();
    void otherBandIsRefusedUnlessYes();
    void lineTroubleIsOvercome_data();
    void lineTroubleIsOvercome();
    void faultEndsWithOneMessageAndEnd_data();
    void faultEndsWithOneMessageAndEnd();
    void interruptedTransferEndsWithEnd_data();
    void interruptedTransferEndsWithEnd();
    void readOutputThatCannotBeWritten_data();
    void readOutputThatCannotBeWritten();
    void badInputFileIsRefusedBeforeAnyByte();
    void portsShowsTheMapping();
    void portsNameTheCableAndMarkMissingDevices();
    void doctorFindsWhatStandsInTheWay();
    void portsThatCannotBeOpened();
    void portHeldByAnotherProgramNamesIt_data();
    void portHeldByAnotherProgramNamesIt();
    void unprivilegedUserIsToldWhatToDo();
};

void LinkCli::readKeepsTheBytesAsTheRadioSentThem() {
    Home home;
    const QByteArray memory = CountingMemory();
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(memory)));
    // Paced: the replies, marked bytes among them, arrive in pieces.
    SimRadio sim({"--pace", "--load", home.File("radio.DAT"), "--band-byte", "0x15"});
    QVERIFY(!sim.Path().isEmpty());
    home.SetPorts({sim.Path()});

    const Run run = RunCli(home, {"read", "--port", "COM1", "-o", home.File("out.DAT")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("radio band 450-490MHz"), qPrintable(run.err));
    QCOMPARE(ReadAll(home.File("out.DAT")), DataFile(memory));
    QVERIFY(sim.WaitFor("end"));

    const QStringList backups = QDir(home.BackupFolder()).entryList({"*.DAT"}, QDir::Files);
    QCOMPARE(backups.size(), 1);
    QCOMPARE(ReadAll(QDir(home.BackupFolder()).filePath(backups.front())), DataFile(memory));

    // A band code that names no band is not reported as the first band.
    SimRadio unknown({"--band-byte", "0xFF"});
    const Run other = RunCli(home, {"read", "--port", unknown.Path(), "-o", home.File("b.DAT")});
    QCOMPARE(other.exitCode, 0);
    QVERIFY2(other.err.contains("(radio band unknown (band code FF))"), qPrintable(other.err));
}

void LinkCli::writeChangesExactlyTheWrittenRanges_data() {
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("echo");
    QTest::newRow("normal") << false << false;
    QTest::newRow("service mode") << true << false;
    // The verifying read follows the write at once: the echo of the write's
    // End may come in behind its PROGRAM.
    QTest::newRow("echoing cable") << false << true;
}

void LinkCli::writeChangesExactlyTheWrittenRanges() {
    QFETCH(bool, service);
    QFETCH(bool, echo);
    Home home;
    const QByteArray untouched(1024, '\x5A');
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(untouched)));
    const QByteArray input = SampleDataFile();
    QVERIFY(WriteAll(home.File("in.DAT"), input));
    // The service-mode write is paced: its acknowledges come at wire speed.
    QStringList simArguments{"--load", home.File("radio.DAT"), "--save", home.File("saved.DAT")};
    if (service) simArguments << "--pace";
    if (echo) simArguments << "--echo";
    SimRadio sim(simArguments);
    home.SetPorts({sim.Path()});

    QStringList arguments{"write", "--port", sim.Path(), "--verify", home.File("in.DAT")};
    if (service) arguments << "--service";
    const Run run = RunCli(home, arguments);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains("Verified"), qPrintable(run.err));
    QVERIFY(sim.WaitFor("end"));
    QVERIFY(sim.WaitFor("end")); // the verifying read
    // The read that checked the write is no backup of the radio.
    QVERIFY(QDir(home.BackupFolder()).entryList({"*.DAT"}, QDir::Files).isEmpty());
    QCOMPARE(QDir(home.File("data/quelro/read-backs")).entryList({"*.DAT"}, QDir::Files).size(), 1);

    const QByteArray expected = EncodedImage(input);
    const QByteArray saved = ReadAll(home.File("saved.DAT")).mid(5);
    QCOMPARE(saved.size(), 848);
    for (int offset = 0; offset < 848; ++offset) {
        const int address = 0x0010 + offset;
        const char want = Written(address, service) ? expected[offset] : '\x5A';
        if (saved[offset] != want)
            QFAIL(qPrintable(QString("radio address 0x%1 holds %2, expected %3")
                                 .arg(address, 4, 16, QChar('0'))
                                 .arg(static_cast<unsigned char>(saved[offset]), 2, 16)
                                 .arg(static_cast<unsigned char>(want), 2, 16)));
    }
}

void LinkCli::verifyFindsABlockTheRadioLost() {
    Home home;
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(QByteArray(1024, '\x5A'))));
    const QByteArray input = SampleDataFile();
    QVERIFY(WriteAll(home.File("in.DAT"), input));
    // Block 24 of a write is the one at 0x01B8.
    SimRadio sim({"--load", home.File("radio.DAT"), "--fault", "lose-write=24"});
    const QByteArray expected = EncodedImage(input);
    int first = 0x01B8;
    while (first < 0x01C8 && expected[first - 0x10] == '\x5A') ++first;
    QVERIFY(first < 0x01C8);

    const Run run = RunCli(home, {"write", "--port", sim.Path(), "--verify", home.File("in.DAT")});
    QCOMPARE(run.exitCode, 3);
    const QString at = "at 0x" + QString::number(first, 16).rightJustified(4, '0').toUpper();
    QVERIFY2(run.err.contains(at), qPrintable(run.err));

    // A write that went well and a read-back that failed: said as such.
    SimRadio badRead({"--fault", "wrong-address=3"});
    const Run checked =
        RunCli(home, {"write", "--port", badRead.Path(), "--verify", home.File("in.DAT")});
    QCOMPARE(checked.exitCode, 3);
    QVERIFY2(checked.err.startsWith("Write frequency success!\nCommunication error: ") &&
                 checked.err.endsWith("quelro-cli: verify: the write completed; only reading it "
                                      "back to check it failed (write --verify again checks it "
                                      "anew)\n"),
             qPrintable(checked.err));
}

void LinkCli::otherBandIsRefusedUnlessYes() {
    Home home;
    const QByteArray before = DataFile(QByteArray(1024, '\x5A'));
    QVERIFY(WriteAll(home.File("radio.DAT"), before));
    QVERIFY(WriteAll(home.File("in.DAT"), SampleDataFile())); // band 400-500MHz
    // Identity band byte 0x01: a 136-174MHz radio.
    SimRadio sim({"--load", home.File("radio.DAT"), "--save", home.File("saved.DAT"), "--band-byte",
                  "0x01"});

    Run run = RunCli(home, {"write", "--port", sim.Path(), home.File("in.DAT")});
    QCOMPARE(run.exitCode, 4);
    // No question the terminal cannot answer: the two bands, and how to go on.
    QCOMPARE(run.err, QString("quelro-cli: the radio's band is 136-174MHz, the file's "
                              "400-500MHz: nothing was written; --yes writes the file anyway\n"));
    QVERIFY(sim.WaitFor("end")); // End went out
    QCOMPARE(ReadAll(home.File("saved.DAT")), before);

    run = RunCli(home, {"write", "--port", sim.Path(), "--yes", home.File("in.DAT")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(sim.WaitFor("end"));
    QVERIFY(ReadAll(home.File("saved.DAT")) != before);
}

void LinkCli::lineTroubleIsOvercome_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("simArguments");
    const struct {
        const char* name;
        QStringList arguments;
    } kLines[] = {
        {"echo", {"--echo"}},
        {"echo, paced", {"--echo", "--pace"}},
        {"noise before the first 06", {"--noise-before-first", "FF00FE3C"}},
        {"first entry frame ignored", {"--ignore-first-entries", "1"}},
        {"three entry frames ignored", {"--ignore-first-entries", "3"}},
        // An echoing cable's leftover from before: taken for the echo, it
        // would shift every reply, so the input is flushed first.
        {"stale input", {"--stale", "50524F4752414D06"}},
        {"echo, noise, two entry frames ignored",
         {"--echo", "--noise-before-first", "00FF", "--ignore-first-entries", "2"}},
    };
    for (const auto& line : kLines) {
        QTest::newRow(qPrintable(QString("read, ") + line.name)) << false << line.arguments;
        QTest::newRow(qPrintable(QString("write, ") + line.name)) << true << line.arguments;
    }
}

// A line that echoes, noise before the first answer, a radio that answers
// only a later entry frame and stale input all end in a read that gives the
// radio's bytes and a write that leaves exactly the written ranges changed.
void LinkCli::lineTroubleIsOvercome() {
    QFETCH(bool, write);
    QFETCH(QStringList, simArguments);
    Home home;
    const QByteArray memory = CountingMemory();
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(memory)));
    const QByteArray input = SampleDataFile();
    QVERIFY(WriteAll(home.File("in.DAT"), input));
    SimRadio sim(simArguments +
                 QStringList{"--load", home.File("radio.DAT"), "--save", home.File("saved.DAT")});
    QVERIFY(!sim.Path().isEmpty());

    const Run run =
        RunCli(home, write ? QStringList{"write", "--port", sim.Path(), home.File("in.DAT")}
                           : QStringList{"read", "--port", sim.Path(), "-o", home.File("out.DAT")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(sim.WaitFor("end"));
    if (!write) {
        QCOMPARE(ReadAll(home.File("out.DAT")), DataFile(memory));
        return;
    }
    const QByteArray expected = EncodedImage(input);
    const QByteArray saved = ReadAll(home.File("saved.DAT")).mid(5);
    QCOMPARE(saved.size(), 848);
    for (int offset = 0; offset < 848; ++offset)
        QCOMPARE(saved[offset], Written(0x10 + offset, false) ? expected[offset] : memory[offset]);
}

void LinkCli::faultEndsWithOneMessageAndEnd_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("halfWritten"); // for the write
    // Replies count from 1 (the 06 to PROGRAM, then the identity, then the
    // 06 to its acknowledge). A read's reply 4 is block 1, reply 5 the 06 to
    // its acknowledge; a write's reply 4 acknowledges block 1.
    const struct {
        const char* name;
        QStringList arguments;
        bool read, write;
        QString message;
        bool halfWritten;
    } kFaults[] = {
        {"silent radio", {"--fault", "silent"}, true, true, kNoAnswerText, false},
        {"silent radio behind an echoing cable",
         {"--fault", "silent", "--echo"},
         true,
         true,
         kOnlyEchoText,
         false},
        {"four entry frames ignored",
         {"--ignore-first-entries", "4"},
         true,
         true,
         kNoAnswerText,
         false},
        // Flushed at the start, the leftovers are never seen.
        {"stale input, silent radio",
         {"--fault", "silent", "--stale", "FF00"},
         true,
         false,
         kNoAnswerText,
         false},
        {"wrong model", {"--fault", "wrong-model"}, true, true, kWrongModelText, false},
        {"identity of 7 bytes",
         {"--fault", "short-identity"},
         true,
         true,
         Unknown("56 4E 34 38 31 21 00"),
         false},
        {"identity of 9 bytes",
         {"--fault", "long-identity"},
         true,
         true,
         Unknown("56 4E 34 38 31 21 00 00"),
         false},
        {"stray byte after reply 5",
         {"--fault", "stray-after=5"},
         true,
         true,
         Unknown("06 00"),
         true},
        {"wrong address in read reply 3",
         {"--fault", "wrong-address=3"},
         true,
         false,
         Unknown("57 00 D0 40 5A 5A 5A 5A"),
         false},
        {"stall after block 4, paced",
         {"--fault", "stall-after=4", "--pace"},
         true,
         true,
         kStoppedText,
         true},
        {"15 to written block 6",
         {"--fault", "nak-write=6"},
         false,
         true,
         "Communication error: the radio refused the block at 0x0060 (15). Check that the radio "
         "is of the model this program programs, then try again.",
         true},
        {"hang-up after reply 6, paced",
         {"--fault", "hang-up-after=6", "--pace"},
         true,
         true,
         kLostText,
         true},
        {"adapter gone after reply 6", {"--vanish-after", "6"}, true, true, kLostText, true},
        {"adapter gone after the identity", {"--vanish-after", "2"}, true, true, kLostText, false},
        {"adapter gone after reply 6, echo",
         {"--vanish-after", "6", "--echo"},
         true,
         true,
         kLostText,
         true},
        {"break after reply 7", {"--fault", "break-after=7"}, true, true, Unknown("06 00"), true},
        {"lost acknowledge, reply 7", {"--fault", "lose-reply=7"}, true, true, kStoppedText, true},
    };
    for (const auto& f : kFaults) {
        if (f.read)
            QTest::newRow(qPrintable(QString("read, ") + f.name))
                << false << f.arguments << f.message << false;
        if (f.write)
            QTest::newRow(qPrintable(QString("write, ") + f.name))
                << true << f.arguments << f.message << f.halfWritten;
    }
}

// Each fault ends the transfer with its own message: exit 3, the message
// once (and that the write is incomplete when the radio took part of it) and
// nothing else on stderr, End to a radio still on the line, no output file
// after a read, and after a write the radio's memory changed only in the
// blocks it took before the fault.
void LinkCli::faultEndsWithOneMessageAndEnd() {
    QFETCH(bool, write);
    QFETCH(QStringList, simArguments);
    QFETCH(QString, message);
    QFETCH(bool, halfWritten);
    Home home;
    const QByteArray before(1024, '\x5A');
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(before)));
    QVERIFY(WriteAll(home.File("in.DAT"), SampleDataFile()));
    SimRadio sim(simArguments +
                 QStringList{"--load", home.File("radio.DAT"), "--save", home.File("saved.DAT")});
    QVERIFY(WriteAll(home.File("out.DAT"), "an older file"));

    QElapsedTimer clock;
    clock.start();
    const Run run =
        RunCli(home, write ? QStringList{"write", "--port", sim.Path(), home.File("in.DAT")}
                           : QStringList{"read", "--port", sim.Path(), "-o", home.File("out.DAT")});
    // The watchdog's 3 s after the last accepted reply; the bound only
    // guards against a hang.
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(run.exitCode, 3);
    QCOMPARE(run.err,
             message + (halfWritten ? QString("\n\n") + kIncompleteText : QString()) + "\n");
    QCOMPARE(ReadAll(home.File("out.DAT")), QByteArray("an older file"));
    QVERIFY(!QDir(home.BackupFolder()).exists());
    // A radio that took no entry frame has no session for End to close.
    const QString faults = simArguments.join(' ');
    if (!faults.contains("ignore-first-entries"))
        QVERIFY(sim.WaitFor(faults.contains("hang-up")  ? "hung up"
                            : faults.contains("vanish") ? "vanished"
                                                        : "end"));

    // The radio took the first blocks of the write plan, up to the fault,
    // and nothing else changed (a read changes nothing; a radio without a
    // session saved nothing).
    const QByteArray saved = QFile::exists(home.File("saved.DAT"))
                                 ? ReadAll(home.File("saved.DAT")).mid(5)
                                 : before.left(848);
    const QByteArray image = EncodedImage(SampleDataFile());
    const QByteArray expected = write ? AfterPartialWrite(before, saved, image) : before.left(848);
    QCOMPARE(saved, expected);
    QCOMPARE(saved != before.left(848), halfWritten);
}

void LinkCli::interruptedTransferEndsWithEnd_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("signal");
    QTest::newRow("read, SIGTERM") << false << SIGTERM;
    QTest::newRow("read, SIGINT (Ctrl+C)") << false << SIGINT;
    QTest::newRow("read, SIGHUP (terminal closed)") << false << SIGHUP;
    QTest::newRow("write, SIGHUP (ssh dropped)") << true << SIGHUP;
}

// A signal to end the program during a transfer ends the transfer first:
// End to the radio, exit 3, and a write that the radio took part of is
// called incomplete.
void LinkCli::interruptedTransferEndsWithEnd() {
    QFETCH(bool, write);
    QFETCH(int, signal);
    Home home;
    QVERIFY(WriteAll(home.File("in.DAT"), SampleDataFile()));
    SimRadio sim({"--pace", "--verbose", "--save", home.File("saved.DAT")});
    QProcess cli;
    cli.setProcessEnvironment(home.Environment());
    cli.start(QUELRO_CLI_PATH,
              write ? QStringList{"write", "--port", sim.Path(), home.File("in.DAT")}
                    : QStringList{"read", "--port", sim.Path(), "-o", home.File("out.DAT")});
    QVERIFY(cli.waitForStarted());
    // The simulator logs a line per byte. Sixty are past the handshake and
    // the first two data blocks (a write's are 20 bytes and an acknowledge
    // each), so a write is part taken, and the transfer still has about a
    // second to go.
    QByteArray seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen += sim.Stderr()).count('\n') > 60, 5000);
    QCOMPARE(::kill(static_cast<pid_t>(cli.processId()), signal), 0);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 3);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(err.contains("interrupted; the radio was sent End"), qPrintable(err));
    QCOMPARE(err.contains(kIncompleteText), write);
    QVERIFY(sim.WaitFor("end"));
    QVERIFY(!QFile::exists(home.File("out.DAT")));
}

void LinkCli::readOutputThatCannotBeWritten_data() {
    QTest::addColumn<bool>("goneAtTheEnd");
    QTest::newRow("read-only folder") << false;
    QTest::newRow("folder gone at the end") << true;
}

// A read into a folder it may not write in is refused before a byte goes to
// the radio; a folder that goes away during the read leaves the read in the
// backup named.
void LinkCli::readOutputThatCannotBeWritten() {
    QFETCH(bool, goneAtTheEnd);
    Home home;
    const QByteArray memory = CountingMemory();
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(memory)));
    SimRadio sim({"--pace", "--verbose", "--load", home.File("radio.DAT")});
    QTemporaryDir top;
    QVERIFY(QDir(top.path()).mkdir("out"));
    const QString folder = top.filePath("out");
    const QString output = folder + "/r.DAT";
    const QStringList read{"read", "--port", sim.Path(), "-o", output};
    if (!goneAtTheEnd) {
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                  QFileDevice::ReadOther | QFileDevice::ExeOther));
        // Root writes in any folder: the read runs as nobody there.
        QStringList privileges;
        if (::geteuid() == 0) {
            if (QStandardPaths::findExecutable("setpriv").isEmpty()) QSKIP("setpriv is missing");
            privileges = {"--reuid=65534", "--regid=65534", "--clear-groups"};
            QVERIFY(::chmod(top.path().toLocal8Bit().constData(), 0755) == 0);
            QVERIFY(::chmod(sim.Path().toLocal8Bit().constData(), 0666) == 0);
        }
        const Run run = RunCliAs(home, privileges, read);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.err, "quelro-cli: " + output + ": cannot write: Permission denied\n");
        QTest::qWait(200);
        QCOMPARE(sim.Stderr(), QByteArray()); // the radio was not read
        return;
    }
    QProcess cli;
    cli.setProcessEnvironment(home.Environment());
    cli.start(QUELRO_CLI_PATH, read);
    QVERIFY(cli.waitForStarted());
    QByteArray seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen += sim.Stderr()).count('\n') > 12, 5000);
    QVERIFY(QDir(top.path()).rename("out", "moved"));
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 2);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    const QStringList backups = QDir(home.BackupFolder()).entryList({"*.DAT"}, QDir::Files);
    QCOMPARE(backups.size(), 1);
    const QString backup = QDir(home.BackupFolder()).filePath(backups.front());
    QVERIFY2(err.startsWith("quelro-cli: " + output + ": cannot write: ") &&
                 err.endsWith("; the read is kept in " + backup + "\n"),
             qPrintable(err));
    QCOMPARE(ReadAll(backup), DataFile(memory));
    QVERIFY(sim.WaitFor("end"));
}

void LinkCli::badInputFileIsRefusedBeforeAnyByte() {
    Home home;
    QVERIFY(WriteAll(home.File("in.DAT"), "RMD47 but far too short"));
    SimRadio sim({"--verbose"});
    const Run run = RunCli(home, {"write", "--port", sim.Path(), home.File("in.DAT")});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err.count('\n'), 1);
    QTest::qWait(200);
    QCOMPARE(sim.Stderr(), QByteArray()); // the simulator received nothing
}

void LinkCli::portsShowsTheMapping() {
    Home home;
    SimRadio sim({});
    home.SetPorts({sim.Path(), "", "ttyUSB7"});
    const Run run = RunCli(home, {"ports"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("COM1  " + sim.Path() + "  (ports file)"), qPrintable(run.out));
    QVERIFY2(run.out.contains("COM3  /dev/ttyUSB7  (ports file)"), qPrintable(run.out));
    QVERIFY(run.out.contains("Serial devices present:"));
}

void LinkCli::portsNameTheCableAndMarkMissingDevices() {
    test::FakeSystem system;
    system.Adapter({"1-2", "1a86", "7523", "QinHeng Electronics", "USB Serial", "", "ttyUSB0",
                    "ch341", "usb-1a86_USB_Serial-if00-port0"});
    Home home;
    home.SetSystemRoot(QString::fromStdString(system.Root().string()));
    home.SetPorts({"# the cables on this desk", "/dev/ttyUSB0", "/dev/ttyUSB9"});
    const Run run = RunCli(home, {"ports"});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = run.out.split('\n');
    QCOMPARE(lines.value(0), QString("COM1  /dev/ttyUSB0  (ports file)  QinHeng Electronics USB "
                                     "Serial, USB 1a86:7523, "
                                     "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0"));
    QCOMPARE(lines.value(1), QString("COM2  /dev/ttyUSB9  (ports file)  (device missing)"));
}

void LinkCli::doctorFindsWhatStandsInTheWay() {
    test::FakeSystem system;
    const unsigned gid = system.Device("/dev/probe", 0660);
    system.File("/etc/group", "dialout:x:" + std::to_string(gid) + ":alice\n");
    system.User("1000 " + std::to_string(gid));
    system.Adapter({"1-2", "1a86", "7523", "QinHeng Electronics", "USB Serial", "", "ttyUSB0",
                    "ch341", "usb-1a86_USB_Serial-if00-port0"});
    Home home;
    home.SetSystemRoot(QString::fromStdString(system.Root().string()));
    Run run = RunCli(home, {"doctor"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QString("/dev/ttyUSB0 (QinHeng Electronics USB Serial, USB 1a86:7523, "
                              "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0): ready to use.\n"
                              "Nothing wrong found.\n"));

    // A second cable taken by brltty, ModemManager without the rule, a stale lock.
    system.Adapter({"1-3", "067b", "2303", "", "", "", "", "usbfs", ""});
    system.Process(321, "brltty");
    system.Process(77, "ModemManager");
    system.File("/run/lock/LCK..ttyUSB1", "4711\nminicom\nhost\n");
    run = RunCli(home, {"doctor"});
    QCOMPARE(run.exitCode, 3);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[1].startsWith("PL2303 (USB 067b:2303) is plugged in but has no serial device: "
                                "brltty takes it for a braille display (process 321)."));
    QVERIFY(lines[2].startsWith("ModemManager (process 77) is running"));
    QVERIFY(lines[3].startsWith("Lock file /run/lock/LCK..ttyUSB1 is stale (process 4711"));

    // The devices the ports file names are looked at too, in the language
    // asked for.
    home.SetPorts({"# the desk", "/dev/probe", "ttyS4"});
    run = RunCli(home, {"doctor", "--lang", "zh"});
    QCOMPARE(run.exitCode, 3);
    const QStringList zh = run.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(zh.size(), 6);
    QCOMPARE(zh[1], QString("/dev/probe（/dev/probe）：可以使用。"));
    QCOMPARE(zh[2], QString("串口设备 /dev/ttyS4 不存在：请插上编程线，或选择其它串口。"));
}

// Ports that cannot be opened, each told for what it is: a device that is
// missing, by COM number or path; no port named; a COM number beyond COM8;
// a file, a folder or /dev/null, which are no serial devices.
void LinkCli::portsThatCannotBeOpened() {
    Home home;
    home.SetPorts({"", "", "", "", "", "", "", "/dev/quelro-no-such-device"});
    QVERIFY(WriteAll(home.File("plain.txt"), "not a port"));
    const QString missing = "The serial device /dev/quelro-no-such-device does not exist: plug in "
                            "the programming cable, or choose another port.\n";
    const QString usage = ": give COM1..COM8 or a device path such as /dev/ttyUSB0\n";
    const QString notSerial = " is not a serial device: choose the programming cable's port.\n";
    const struct {
        QString port;
        int exitCode;
        QString err;
    } cases[] = {
        {"COM8", 3, missing},
        {"/dev/quelro-no-such-device", 3, missing},
        {"", 1, "quelro-cli: --port names no port" + usage},
        {"COM9", 1, "quelro-cli: COM9: only COM1 to COM8 exist" + usage},
        {"com12", 1, "quelro-cli: com12: only COM1 to COM8 exist" + usage},
        {home.File("plain.txt"), 3, home.File("plain.txt") + notSerial},
        {QDir::tempPath(), 3, QDir::tempPath() + notSerial},
        {"/dev/null", 3, "/dev/null" + notSerial},
    };
    for (const auto& c : cases) {
        const Run run = RunCli(home, {"read", "--port", c.port, "-o", home.File("out.DAT")});
        QCOMPARE(run.exitCode, c.exitCode);
        QCOMPARE(run.err, c.err);
        QVERIFY(!QFile::exists(home.File("out.DAT")));
    }
    // In the language last chosen in the window program, unless --lang says.
    home.SetParameter(QByteArray("\x00\x00\x00", 3));
    const QString zh =
        QString::fromUtf8("串口设备 /dev/quelro-no-such-device 不存在：请插上编程线，"
                          "或选择其它串口。\n");
    QCOMPARE(RunCli(home, {"read", "--port", "COM8", "-o", home.File("out.DAT")}).err, zh);
    QCOMPARE(RunCli(home, {"write", "--port", "COM8", home.File("plain.txt")}).err,
             "quelro-cli: " + home.File("plain.txt") +
                 QString::fromUtf8(": 不是 Quelro 数据文件\n"));
    QCOMPARE(
        RunCli(home, {"read", "--port", "COM8", "-o", home.File("out.DAT"), "--lang", "en"}).err,
        missing);
}

void LinkCli::portHeldByAnotherProgramNamesIt_data() {
    QTest::addColumn<QString>("lockForm");
    QTest::newRow("another quelro-cli reading") << QString();
    QTest::newRow("ten-digit ASCII lock file") << QString("ascii");
    QTest::newRow("binary lock file") << QString("binary");
}

// The port is held: by a second quelro-cli reading it, or by a program that
// left a standard lock file (its pid as ten ASCII digits, or as four binary
// bytes) and still runs. Read and write refuse with the in-use message and
// the holder as doctor names it, and the lock file stays.
void LinkCli::portHeldByAnotherProgramNamesIt() {
    QFETCH(QString, lockForm);
    Home home;
    SimRadio sim({"--pace", "--latency", "3000"});
    home.SetPorts({sim.Path()});
    QVERIFY(WriteAll(home.File("in.DAT"), SampleDataFile()));
    const QString lock = "/run/lock/LCK.." + sim.Path().mid(5).replace('/', '_');
    QProcess holder;
    if (lockForm.isEmpty()) {
        holder.setProcessEnvironment(home.Environment());
        holder.start(QUELRO_CLI_PATH, {"read", "--port", "COM1", "-o", home.File("first.DAT")});
        QVERIFY(holder.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 5000);
    } else {
        holder.start("sleep", {"60"});
        QVERIFY(holder.waitForStarted());
        const auto pid = static_cast<qint32>(holder.processId());
        const QByteArray bytes = lockForm == "ascii"
                                     ? QString("%1\n").arg(pid, 10).toLatin1()
                                     : QByteArray(reinterpret_cast<const char*>(&pid), sizeof pid);
        if (!WriteAll(lock, bytes)) QSKIP("/run/lock is not writable here");
        // An hour old: a lock Qt cannot read counts as stale to Qt by then.
        QFile file(lock);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    }
    const QString program = lockForm.isEmpty() ? "quelro-cli" : "sleep";
    const QString expected = QString("Serial port 1 has been other programs use, please choose "
                                     "other serial or turn off its program.\n%1 is in use by "
                                     "process %2 (%3).\n")
                                 .arg(sim.Path())
                                 .arg(holder.processId())
                                 .arg(program);
    for (const QStringList& arguments :
         {QStringList{"read", "--port", "COM1", "-o", home.File("second.DAT")},
          QStringList{"write", "--port", "COM1", home.File("in.DAT")}}) {
        const Run run = RunCli(home, arguments);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.err, expected);
        QVERIFY(QFile::exists(lock));
    }
    QVERIFY(RunCli(home, {"doctor"})
                .out.contains(QString("process %1 (%2)").arg(holder.processId()).arg(program)));
    holder.terminate();
    QVERIFY(holder.waitForFinished(10000));
    if (!lockForm.isEmpty()) QFile::remove(lock);
    QVERIFY(!QFile::exists(home.File("second.DAT")));
}

// As a user without the device's group, and with a lock file a killed root
// process left: each named with its fix; once the lock file is gone and the
// device may be opened, the read works.
void LinkCli::unprivilegedUserIsToldWhatToDo() {
    if (::geteuid() != 0) QSKIP("needs root to run a program as another user");
    if (QStandardPaths::findExecutable("setpriv").isEmpty()) QSKIP("setpriv is missing");
    Home home;
    SimRadio sim({});
    QTemporaryDir out;
    QVERIFY(QFile::setPermissions(out.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther));
    const QString output = out.filePath("out.DAT");
    const auto asNobody = [&] {
        return RunCliAs(home, {"--reuid=65534", "--regid=65534", "--clear-groups"},
                        {"read", "--port", sim.Path(), "-o", output});
    };
    // The terminal belongs to root and the group tty, which nobody is not in;
    // as a USB adapter does for dialout, the group may read and write.
    QVERIFY(::chmod(sim.Path().toLocal8Bit().constData(), 0660) == 0);
    Run run = asNobody();
    QCOMPARE(run.exitCode, 3);
    const QString group = QFileInfo(sim.Path()).group();
    QVERIFY2(run.err.contains(QString("No permission to open %1 (it belongs to the group %2): run "
                                      "sudo usermod -aG %2 $USER, then log out and in again.")
                                  .arg(sim.Path(), group)),
             qPrintable(run.err));

    // Anyone may open it now, but a root process that was killed left its
    // lock file, which nobody may not remove.
    QVERIFY(::chmod(sim.Path().toLocal8Bit().constData(), 0666) == 0);
    const QString lock = "/run/lock/LCK.." + sim.Path().mid(5).replace('/', '_');
    QVERIFY(WriteAll(lock, "999999\nquelro\nelsewhere\n"));
    run = asNobody();
    QFile::remove(lock);
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains(QString("%1 is locked by the stale lock file %2 (process 999999 no "
                                      "longer runs): remove it with sudo rm %2, then try again.")
                                  .arg(sim.Path(), lock)),
             qPrintable(run.err));
    run = asNobody();
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(QFile::exists(output));
    QVERIFY(sim.WaitFor("end"));
}

} // namespace quelro::e2e

QUELRO_TEST_GUILESS_MAIN(quelro::e2e::LinkCli)
#include "link_cli.moc"
