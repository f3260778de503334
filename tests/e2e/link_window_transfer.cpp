// A transfer on window widgets: WindowTransferView, TransferDriver and
// SerialLink against quelro-radio-sim on a pseudo-terminal, with the message
// boxes answered through LocalMsgBox's test seam.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include <memory>
#include <vector>

#include "codes/conversions.h"
#include "e2e/link_e2e_support.h"
#include "i18n/local_msgbox_qt.h"
#include "image/memory_image.h"
#include "link/transfer_driver_qt.h"
#include "support/box_script.h"
#include "support/qt_test_main.h"
#include "windows/window_transfer_view_qt.h"

namespace quelro::e2e {

namespace {

// The parts of the main window a transfer touches.
struct Window {
    QMainWindow main;
    QToolBar* toolbar = main.addToolBar("Toolbar1");
    QMenu* mnupro = main.menuBar()->addMenu("mnupro");
    std::vector<QAction*> buttons;
    QGroupBox* frame1 = new QGroupBox;
    QComboBox* combo1 = new QComboBox(frame1);
    QLabel* label = new QLabel;
    QProgressBar* progress = new QProgressBar;

    Window() {
        for (int i = 1; i <= 6; ++i) buttons.push_back(toolbar->addAction(QString::number(i)));
        mnupro->addAction("read");
        auto* client = new QWidget;
        auto* layout = new QVBoxLayout(client);
        layout->addWidget(frame1);
        layout->addWidget(label);
        layout->addWidget(progress);
        main.setCentralWidget(client);
        frame1->setEnabled(false);
        label->hide();
        progress->hide();
        main.show();
    }
    TransferWidgets Widgets() {
        return {toolbar, mnupro, buttons[4], buttons[5], frame1, combo1, label, progress, nullptr};
    }
    bool Locked() const {
        return !toolbar->isEnabled() && !mnupro->menuAction()->isEnabled() &&
               !buttons[4]->isEnabled() && !buttons[5]->isEnabled();
    }
    bool Unlocked() const {
        return toolbar->isEnabled() && mnupro->menuAction()->isEnabled() &&
               buttons[4]->isEnabled() && buttons[5]->isEnabled();
    }
};

struct Rig {
    explicit Rig(const QStringList& simArguments) : sim(simArguments) {
        driver.SetBackupFolder(home.File("backups").toStdString());
        link.Open(sim.Path());
    }
    Home home;
    SimRadio sim;
    Window window;
    ProgramState state = ProgramState::StartUp();
    int language = kEnglish;
    std::string readImage;
    int radioBand = -1;
    QString tip;
    WindowTransferView view{window.Widgets(), language,
                            [this](const std::string& image, int band) {
                                readImage = image;
                                radioBand = band;
                            },
                            [this](const QString& t) { tip = t; }};
    SerialLink link;
    TransferDriver driver{link, view, state};
};

} // namespace

class LinkWindowTransfer : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        boxes.Clear();
        boxes.AnswerWith(
            [](const AskedBox& box) { return box.style == 68 ? BoxAnswer::kNo : BoxAnswer::kOk; });
    }
    void cleanup() { VerifyNoSimDeviations(); }

    void readLocksShowsProgressAndHandsOverTheImage();
    void refusedBandQuestionShowsItsTextAndEnds();
    void silentRadioGivesTheCommunicationError();
    void lineTroubleIsOvercome_data();
    void lineTroubleIsOvercome();

  private:
    test::BoxScript boxes;
};

void LinkWindowTransfer::readLocksShowsProgressAndHandsOverTheImage() {
    QByteArray memory;
    for (int i = 0; i < 1024; ++i) memory += static_cast<char>((i * 7) & 0xFF);
    Home files;
    QVERIFY(WriteAll(files.File("radio.DAT"), DataFile(memory)));
    Rig rig({"--load", files.File("radio.DAT"), "--band-byte", "0x3F"});
    QVERIFY(rig.link.IsOpen());

    rig.driver.ReadRadio();
    QVERIFY(rig.window.Locked());
    QVERIFY(rig.window.frame1->isEnabled());
    QCOMPARE(rig.window.label->text(), QString("Is communication, please later……"));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.readImage.empty(), 10000);

    const std::string expected = HexFromBytes(memory.left(848).toStdString());
    QCOMPARE(rig.readImage.size(), std::size_t{2048});
    QCOMPARE(rig.readImage.substr(0, 1696), expected);
    QCOMPARE(rig.radioBand, 3);
    QVERIFY(rig.window.progress->isHidden());
    QCOMPARE(rig.window.progress->maximum(), 460);
    QCOMPARE(rig.window.label->text(), QString("Read frequency success!"));
    QVERIFY(rig.tip.isEmpty());
    QVERIFY(rig.sim.WaitFor("end"));
    // Still locked through the end display, then unlocked with the label hidden.
    QVERIFY(rig.window.Locked());
    QTRY_VERIFY_WITH_TIMEOUT(rig.window.Unlocked(), 10000);
    QVERIFY(rig.window.label->isHidden());
    QVERIFY(boxes.Asked().empty());
}

void LinkWindowTransfer::refusedBandQuestionShowsItsTextAndEnds() {
    Rig rig({"--band-byte", "0x01"}); // a 136-174MHz radio; band 0 is selected
    rig.driver.WriteRadio();
    QVERIFY(rig.sim.WaitFor("end"));
    QCOMPARE(boxes.Count(), 1);
    QCOMPARE(boxes.Asked().front().style, 68);
    QCOMPARE(boxes.Asked().front().prompt,
             QString("Frequency band with discrepancies, do you wish to continue?"));
    QCOMPARE(rig.window.label->text(), boxes.Asked().front().prompt);
    QVERIFY(rig.window.progress->isHidden());
    QVERIFY(rig.window.Locked());
    QTRY_VERIFY_WITH_TIMEOUT(rig.window.Unlocked(), 10000);
    QCOMPARE(boxes.Count(), 1); // no communication error after it
}

void LinkWindowTransfer::silentRadioGivesTheCommunicationError() {
    Rig rig({"--fault", "silent"});
    rig.driver.ReadRadio();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.Asked().empty(), 10000);
    QCOMPARE(boxes.Asked().front().style, 16);
    QVERIFY(boxes.Asked().front().prompt.startsWith("Communication error"));
    QVERIFY(rig.window.Unlocked());
    QVERIFY(rig.window.label->isHidden());
    QVERIFY(rig.sim.WaitFor("end"));
    QVERIFY(rig.readImage.empty());
}

void LinkWindowTransfer::lineTroubleIsOvercome_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("simArguments");
    QTest::newRow("read, echo") << false << QStringList{"--echo", "--pace"};
    QTest::newRow("write, echo") << true << QStringList{"--echo"};
    QTest::newRow("read, noise before the first 06")
        << false << QStringList{"--noise-before-first", "FFFF00"};
    QTest::newRow("write, three entry frames ignored")
        << true << QStringList{"--ignore-first-entries", "3"};
    QTest::newRow("read, stale input") << false << QStringList{"--stale", "50524F4752414D"};
    QTest::newRow("read, echo, noise, an entry frame ignored")
        << false
        << QStringList{"--echo", "--noise-before-first", "3C", "--ignore-first-entries", "1"};
}

void LinkWindowTransfer::lineTroubleIsOvercome() {
    QFETCH(bool, write);
    QFETCH(QStringList, simArguments);
    QByteArray memory;
    for (int i = 0; i < 1024; ++i) memory += static_cast<char>((i * 3) & 0xFF);
    Home files;
    QVERIFY(WriteAll(files.File("radio.DAT"), DataFile(memory)));
    Rig rig(simArguments + QStringList{"--load", files.File("radio.DAT")});
    QVERIFY(rig.link.IsOpen());
    bool written = false;
    rig.view.OnWriteCompleted([&] { written = true; });
    write ? rig.driver.WriteRadio() : rig.driver.ReadRadio();
    QVERIFY(rig.sim.WaitFor("end"));
    QVERIFY(boxes.Asked().empty());
    if (write) {
        QVERIFY(written);
        QCOMPARE(rig.window.label->text(), QString("Write frequency success!"));
    } else {
        QCOMPARE(rig.readImage.substr(0, 1696), HexFromBytes(memory.left(848).toStdString()));
        QCOMPARE(rig.window.label->text(), QString("Read frequency success!"));
    }
}

} // namespace quelro::e2e

QUELRO_TEST_MAIN(quelro::e2e::LinkWindowTransfer)
#include "link_window_transfer.moc"
