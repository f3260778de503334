// The interface language never reaches a byte: every flow of quelro-cli run
// in each of the three languages, with the language switched between its
// steps, gives the bytes of the programming it started from.
#include <QTest>

#include "codes/conversions.h"
#include "e2e/link_e2e_support.h"
#include "image/memory_image.h"
#include "support/channel_texts.h"
#include "support/qt_test_main.h"

namespace quelro::e2e {

namespace {

// Every list item's both values and every kind of tone, the first item of
// each list (the one whose text differs between languages) on channel 1.
QByteArray ProgrammingFile() {
    ProgramState state = ProgramState::StartUp();
    state.Channel(1) = test::ChannelOf("446.00625", "446.00625", "", "", 0, 0, 0, 0);
    state.Channel(2) = test::ChannelOf("462.56250", "467.56250", "88.5", "D023N", 1, 1, 1, 1);
    state.Channel(5) = test::ChannelOf("440.00000", "", "D754I", "", 0, 1, 0, 1);
    return DataFile(QByteArray::fromStdString(BytesFromHex(EncodeImage(state))));
}

// 0x0010-0x017F, 0x01B8-0x01C7 and 0x0200-0x035F as offsets from 0x0010:
// what a write without the service block sends.
bool Written(int offset) {
    const int address = offset + 0x10;
    return address < 0x0180 || (address >= 0x01B8 && address < 0x01C8) || address >= 0x0200;
}

const QStringList kLanguages{"en", "zh", "zh-Hant"};

// The language after `lang` in kLanguages, for the step after a switch.
QString Next(const QString& lang) {
    return kLanguages[(kLanguages.indexOf(lang) + 1) % kLanguages.size()];
}

} // namespace

class LanguageFlows : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { VerifyNoSimDeviations(); }
    void everyFlowKeepsTheBytesInEveryLanguage_data();
    void everyFlowKeepsTheBytesInEveryLanguage();
};

void LanguageFlows::everyFlowKeepsTheBytesInEveryLanguage_data() {
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("lang");
    for (const char* flow : {"clone", "write", "json", "diff"})
        for (const QString& lang : kLanguages)
            QTest::newRow(qPrintable(QString(flow) + " " + lang)) << QString(flow) << lang;
}

void LanguageFlows::everyFlowKeepsTheBytesInEveryLanguage() {
    QFETCH(QString, flow);
    QFETCH(QString, lang);
    Home home;
    const QByteArray file = ProgrammingFile();
    QVERIFY(WriteAll(home.File("in.DAT"), file));
    const QByteArray image = file.mid(5);

    if (flow == "clone" || flow == "write") {
        SimRadio sim(flow == "clone"
                         ? QStringList{"--radios", "1", "--save-each", home.File("radio{n}.DAT")}
                         : QStringList{"--save", home.File("radio1.DAT")});
        QVERIFY(!sim.Path().isEmpty());
        const QStringList arguments =
            flow == "clone" ? QStringList{"clone",   home.File("in.DAT"),
                                          "--port",  sim.Path(),
                                          "--count", "1",
                                          "--lang",  lang}
                            : QStringList{"write", "--port", sim.Path(), home.File("in.DAT")};
        const Run run = RunCli(home, arguments, 60000);
        QCOMPARE(run.exitCode, 0);
        // The simulator saves the memory when it sees the write's end.
        if (flow == "write") QVERIFY(sim.WaitFor("end"));
        const QByteArray saved = ReadAll(home.File("radio1.DAT")).mid(5);
        QCOMPARE(saved.size(), 848);
        for (int i = 0; i < 848; ++i)
            if (Written(i) && saved[i] != image[i])
                QFAIL(qPrintable(QString("offset 0x%1 holds %2, the file %3")
                                     .arg(i, 3, 16, QChar('0'))
                                     .arg(static_cast<unsigned char>(saved[i]), 2, 16)
                                     .arg(static_cast<unsigned char>(image[i]), 2, 16)));
    } else if (flow == "json") {
        // Shown in one language, exported, imported and shown in the next.
        QCOMPARE(RunCli(home, {"info", home.File("in.DAT"), "--lang", lang}).exitCode, 0);
        QCOMPARE(RunCli(home, {"export", home.File("in.DAT"), "-o", home.File("in.json")}).exitCode,
                 0);
        QCOMPARE(
            RunCli(home, {"import", home.File("in.json"), "-o", home.File("out.DAT")}).exitCode, 0);
        QCOMPARE(RunCli(home, {"info", home.File("out.DAT"), "--lang", Next(lang)}).exitCode, 0);
        QCOMPARE(ReadAll(home.File("out.DAT")).mid(5).toHex(), image.toHex());
    } else {
        // A file compared with itself across a language switch: no difference.
        QCOMPARE(RunCli(home, {"export", home.File("in.DAT"), "-o", home.File("in.json")}).exitCode,
                 0);
        const Run run = RunCli(
            home, {"diff", home.File("in.DAT"), home.File("in.json"), "--json", "--lang", lang});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.trimmed(), QString("[]"));
    }
}

} // namespace quelro::e2e

QUELRO_TEST_GUILESS_MAIN(quelro::e2e::LanguageFlows)
#include "language_flows.moc"
