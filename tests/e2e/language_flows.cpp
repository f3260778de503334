// The interface language never reaches a byte: every flow of quelro-cli and
// of the main window run in each of the three languages, with the language
// switched between its steps, gives the bytes it is expected to.
#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include <memory>

#include "app/program.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "e2e/link_e2e_support.h"
#include "i18n/traditional.h"
#include "support/box_script.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"
#include "support/test_images.h"
#include "windows/compare_window.h"

namespace quelro::e2e {

namespace {

// Both values of every list and off, CTCSS and DCS tones: the hand-written
// rich image (channel 1 busy lock off, channel 2 low power, narrow, off
// tones, the only one scanned).
QByteArray Image(const std::string& hex = test::RichImage()) {
    return QByteArray::fromHex(QByteArray::fromStdString(hex));
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

// A flow of the main window, started in `lang` with `home/in.DAT` (opened,
// or read from the simulator that holds it), the language switched between
// its steps; Save then writes the rich image with the flow's edit.
void WindowFlow(const Home& home, const QString& flow, const QString& lang) {
    test::BoxScript boxes;
    const bool read = flow.contains("read");
    std::unique_ptr<SimRadio> sim;
    if (read) {
        sim = std::make_unique<SimRadio>(QStringList{"--load", home.File("in.DAT")});
        QVERIFY(!sim->Path().isEmpty());
        home.SetPorts({sim->Path()});
    }
    int shown = static_cast<int>(QStringList{"zh", "en", "zh-Hant"}.indexOf(lang));
    home.SetParameter(QByteArray(1, '\0') + char(read ? 1 : 0) + char(shown));
    home.Enter();
    Program program;
    program.Start();
    Form1& form = program.MainWindow();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // A switch redraws; it changes nothing the program holds.
    const auto next = [&] {
        const ProgramState before = program.State();
        shown = (shown + 1) % 3;
        (shown == kSimplified ? form.mnuChineseJ
         : shown == kEnglish  ? form.mnuEnglish
                              : form.mnuChineseF)
            ->trigger();
        QVERIFY(program.State() == before);
    };
    const auto key = [&](int row, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        form.Grid1->SelectCell(row, kColRxFreq);
        QTest::keyClick(form.Grid1, key, modifiers);
    };
    form.hooks().chooseFileName = [&](bool, const QString&) { return home.File("in.DAT"); };
    if (read) {
        form.mnureadFre->trigger();
        QVERIFY(sim->WaitFor("end"));
        QTRY_VERIFY_WITH_TIMEOUT(form.Toolbar1->isEnabled(), 10000);
    } else {
        form.OpenDataFile();
    }
    next();
    std::string expected = test::RichImage();
    if (flow == "window copy, paste") {
        key(1, Qt::Key_C, Qt::ControlModifier);
        next();
        key(3, Qt::Key_V, Qt::ControlModifier);
        expected = test::Patch(expected, 0x20, "506225465062254613287503F0F0FCFF");
    } else if (flow == "window bulk edit") {
        // Channels 1 and 2 to Low, the first item of the list in every
        // language: channel 1's flags F0 become D0 (channel 2 is Low).
        form.Grid1->SelectCell(1, kColPower);
        form.Grid1->selectionModel()->select(
            QItemSelection(form.Grid1->model()->index(0, 0), form.Grid1->model()->index(1, 8)),
            QItemSelectionModel::ClearAndSelect);
        test::PressCell(form, 2, kColPower);
        next();
        test::PickFromOpenList(form.Editors().Combo5(kColPower), 0);
        expected = test::Patch(expected, 0x0D, "D0");
    } else if (flow == "window undo") {
        key(16, Qt::Key_Delete, Qt::NoModifier);
        QVERIFY(program.State().ChannelEmpty(16));
        next();
        key(16, Qt::Key_Z, Qt::ControlModifier);
    } else if (flow == "window read, compare") {
        form.findChild<QAction*>("mnuCompareLastRead")->trigger();
        const auto* compared = form.findChild<CompareWindow*>();
        QVERIFY(compared != nullptr);
        QVERIFY(compared->Differences().empty());
    }
    next();
    form.hooks().chooseFileName = [&](bool, const QString&) { return home.File("out.DAT"); };
    form.SaveDataFile();
    QCOMPARE(ReadAll(home.File("out.DAT")).toHex(), DataFile(Image(expected)).toHex());
    QVERIFY(boxes.Asked().empty());
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
    for (const char* flow :
         {"clone", "write", "json", "csv", "diff", "new", "window open, save", "window copy, paste",
          "window bulk edit", "window undo", "window read", "window read, compare"})
        for (const QString& lang : kLanguages)
            QTest::newRow(qPrintable(QString(flow) + " " + lang)) << QString(flow) << lang;
}

void LanguageFlows::everyFlowKeepsTheBytesInEveryLanguage() {
    QFETCH(QString, flow);
    QFETCH(QString, lang);
    Home home;
    const QByteArray image = Image();
    QVERIFY(WriteAll(home.File("in.DAT"), DataFile(image)));
    if (flow.startsWith("window")) {
        if (!TraditionalAvailable()) QSKIP("conversion dictionaries missing");
        WindowFlow(home, flow, lang);
        return;
    }

    if (flow == "clone" || flow == "write") {
        SimRadio sim(flow == "clone"
                         ? QStringList{"--radios", "1", "--save-each", home.File("radio{n}.DAT")}
                         : QStringList{"--save", home.File("radio1.DAT")});
        QVERIFY(!sim.Path().isEmpty());
        const QStringList arguments =
            flow == "clone"
                ? QStringList{"clone",   home.File("in.DAT"),
                              "--port",  sim.Path(),
                              "--count", "1",
                              "--lang",  lang}
                : QStringList{"write", "--port", sim.Path(), home.File("in.DAT"), "--lang", lang};
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
    } else if (flow == "json" || flow == "csv") {
        // Shown in one language, exported, imported and shown in the next.
        // A CSV list has no busy lock: the file it came from gives it.
        const QString form = home.File("in." + flow);
        QCOMPARE(RunCli(home, {"info", home.File("in.DAT"), "--lang", lang}).exitCode, 0);
        QCOMPARE(RunCli(home, {"export", home.File("in.DAT"), "-o", form, "--lang", lang}).exitCode,
                 0);
        QStringList import{"import", form, "-o", home.File("out.DAT"), "--lang", Next(lang)};
        if (flow == "csv") import << "--base" << home.File("in.DAT");
        QCOMPARE(RunCli(home, import).exitCode, 0);
        QCOMPARE(RunCli(home, {"info", home.File("out.DAT"), "--lang", Next(lang)}).exitCode, 0);
        QCOMPARE(ReadAll(home.File("out.DAT")).mid(5).toHex(), image.toHex());
    } else if (flow == "new") {
        // In the language the window program last chose, the start-up file.
        const char mode = static_cast<char>(QStringList{"zh", "en", "zh-Hant"}.indexOf(lang));
        home.SetParameter(QByteArray(2, '\0') + mode);
        QCOMPARE(RunCli(home, {"new", "-o", home.File("new.DAT")}).exitCode, 0);
        QCOMPARE(ReadAll(home.File("new.DAT")).toHex(),
                 QByteArray("RMD47").toHex() + Image(test::FreshImage()).toHex());
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

QUELRO_TEST_MAIN(quelro::e2e::LanguageFlows)
#include "language_flows.moc"
