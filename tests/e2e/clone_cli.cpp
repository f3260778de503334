// quelro-cli clone against quelro-radio-sim serving radios one after another
// on a pseudo-terminal: each radio written once, the log, and Ctrl+C.
#include <QDir>
#include <QProcess>
#include <QTest>

#include "codes/conversions.h"
#include "e2e/link_e2e_support.h"
#include "image/memory_image.h"
#include "support/qt_test_main.h"

namespace quelro::e2e {

namespace {

QByteArray CloneDataFile() {
    ProgramState state = ProgramState::StartUp();
    state.SetEmbeddedInfo(0, "CLONE TEST");
    return DataFile(QByteArray::fromStdString(BytesFromHex(EncodeImage(state))));
}

// 0x0010-0x017F, 0x01B8-0x01C7 and 0x0200-0x035F: what a write without the
// service block sends, as offsets from 0x0010.
bool Written(int offset) {
    const int address = offset + 0x10;
    return address < 0x0180 || (address >= 0x01B8 && address < 0x01C8) ||
           (address >= 0x0200 && address < 0x0360);
}

} // namespace

class CloneCli : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { VerifyNoSimDeviations(); }

    void threeRadiosEachWrittenOnceAndLogged();
    void interruptBetweenRadiosGivesTheSummary();
    void otherBandIsSkippedUnlessYes();
    void pulledCableEndsTheRun_data();
    void pulledCableEndsTheRun();
};

void CloneCli::threeRadiosEachWrittenOnceAndLogged() {
    Home home;
    const QByteArray file = CloneDataFile();
    QVERIFY(WriteAll(home.File("in.DAT"), file));
    // A full backup folder: the read-backs that check each radio push none
    // of these out.
    QVERIFY(QDir().mkpath(home.BackupFolder()));
    for (int i = 0; i < 100; ++i)
        QVERIFY(WriteAll(QDir(home.BackupFolder())
                             .filePath(QString("20240101-0000%1-%2.DAT")
                                           .arg(i / 10, 2, 10, QChar('0'))
                                           .arg(i % 10 + 2)),
                         file));
    const QStringList backups = QDir(home.BackupFolder()).entryList(QDir::Files);
    QCOMPARE(backups.size(), 100);
    SimRadio sim(
        {"--radios", "3", "--stay", "1", "--off", "1", "--save-each", home.File("radio{n}.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    const Run run = RunCli(home,
                           {"clone", home.File("in.DAT"), "--port", sim.Path(), "--count", "3",
                            "--log", home.File("log.csv")},
                           60000);
    QCOMPARE(run.exitCode, 0);
    for (int n = 1; n <= 3; ++n)
        QVERIFY2(run.out.contains(QString("radio %1: ok, ").arg(n)), qPrintable(run.out));
    QVERIFY(run.out.contains("written 3, verified 3, failed 0, skipped 0"));
    QVERIFY(run.err.contains("turn the radio off, connect the next one and turn it on"));

    QCOMPARE(QDir(home.BackupFolder()).entryList(QDir::Files), backups);
    QCOMPARE(QDir(home.File("data/quelro/read-backs")).entryList(QDir::Files).size(), 3);

    const QByteArray image = file.mid(5);
    for (int n = 1; n <= 3; ++n) {
        const QByteArray saved = ReadAll(home.File(QString("radio%1.DAT").arg(n))).mid(5);
        QCOMPARE(saved.size(), 848);
        for (int i = 0; i < 848; ++i) QCOMPARE(saved[i], Written(i) ? image[i] : '\xFF');
    }

    const QStringList rows = QString::fromUtf8(ReadAll(home.File("log.csv"))).split('\n');
    QCOMPARE(rows.size(), 5); // header, three radios, the final newline
    QCOMPARE(rows[0], QString("radio,start,seconds,band,result,first_difference"));
    for (int n = 1; n <= 3; ++n) {
        const QStringList cells = rows[n].split(',');
        QCOMPARE(cells.size(), 6);
        QCOMPARE(cells[0], QString::number(n));
        QVERIFY2(cells[1].endsWith('Z') && cells[1].contains('T'), qPrintable(cells[1]));
        QCOMPARE(cells[3], QString("400-500MHz")); // the simulator's band byte 0x21
        QCOMPARE(cells[4], QString("ok"));
        QCOMPARE(cells[5], QString());
    }
}

void CloneCli::interruptBetweenRadiosGivesTheSummary() {
    Home home;
    QVERIFY(WriteAll(home.File("in.DAT"), CloneDataFile()));
    SimRadio sim({"--radios", "2", "--stay", "30", "--save-each", home.File("radio{n}.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    QProcess cli;
    cli.setProcessEnvironment(home.Environment());
    cli.start(QUELRO_CLI_PATH,
              {"clone", home.File("in.DAT"), "--port", sim.Path(), "--lang", "zh"});
    // Every line in the language asked for.
    const QByteArray radio1 = QString("第1台：成功").toUtf8();
    QByteArray out;
    for (int i = 0; i < 1000 && !out.contains(radio1); ++i) {
        cli.waitForReadyRead(20);
        out += cli.readAllStandardOutput();
    }
    QVERIFY2(out.contains(radio1), out.constData());
    // The same radio keeps answering: probes get End, nothing is written.
    QTest::qWait(1500);
    cli.terminate();
    QVERIFY(cli.waitForFinished(5000));
    out += cli.readAllStandardOutput();
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY2(out.contains(QString("已写 1 台，校验通过 1 台，失败 0 台，跳过 0 台").toUtf8()),
             out.constData());
    QVERIFY(!out.contains(QString("第2台").toUtf8()));
    QVERIFY(QString::fromUtf8(cli.readAllStandardError()).contains("请关闭电台，连接下一台并开机"));
}

void CloneCli::otherBandIsSkippedUnlessYes() {
    Home home;
    QVERIFY(WriteAll(home.File("in.DAT"), CloneDataFile())); // band 400-500MHz
    // Identity band byte 0x01: a 136-174MHz radio.
    SimRadio sim({"--band-byte", "0x01", "--save", home.File("saved.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    Run run = RunCli(home, {"clone", home.File("in.DAT"), "--port", sim.Path(), "--count", "1"});
    QCOMPARE(run.exitCode, 4);
    QVERIFY2(run.out.contains("radio 1: skipped-band") && run.out.contains("136-174MHz"),
             qPrintable(run.out));
    QCOMPARE(ReadAll(home.File("saved.DAT")).mid(5), QByteArray(848, '\xFF'));

    run =
        RunCli(home, {"clone", home.File("in.DAT"), "--port", sim.Path(), "--count", "1", "--yes"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("radio 1: ok"), qPrintable(run.out));
}

void CloneCli::pulledCableEndsTheRun_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("halfWritten");
    // Right after the 06 to the first entry frame: whether it came through
    // before the hang-up, nothing was written.
    QTest::newRow("before the first write") << "hang-up-after=1" << false;
    // In the write's session, after a few blocks.
    QTest::newRow("in the middle of radio 1") << "hang-up-after=8" << true;
}

void CloneCli::pulledCableEndsTheRun() {
    QFETCH(QString, fault);
    QFETCH(bool, halfWritten);
    Home home;
    QVERIFY(WriteAll(home.File("in.DAT"), CloneDataFile()));
    SimRadio sim({"--radios", "2", "--fault", fault});
    QVERIFY(!sim.Path().isEmpty());
    const Run run = RunCli(home, {"clone", home.File("in.DAT"), "--port", sim.Path()}, 20000);
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains("The serial port went away; the cloning run has stopped."),
             qPrintable(run.err));
    QCOMPARE(run.err.contains("Write incomplete: radio 1 holds part of the new programming. "
                              "Write it again before use."),
             halfWritten);
    QVERIFY2(run.out.contains("written 0, verified 0, failed "), qPrintable(run.out));
}

} // namespace quelro::e2e

QUELRO_TEST_GUILESS_MAIN(quelro::e2e::CloneCli)
#include "clone_cli.moc"
