// The whole program against quelro-radio-sim on a pseudo-terminal: a
// quelro::Program started as quelro starts it, over a temporary configuration
// whose `ports` file maps COM1 to the simulator and whose `parameter` file
// opens it at start-up. Every message box goes through LocalMsgBox's seam.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <memory>

#include "app/command_line.h"
#include "app/program.h"
#include "channels/announcement_qt.h"
#include "channels/channel_grid_qt.h"
#include "codes/conversions.h"
#include "e2e/link_e2e_support.h"
#include "files/data_file.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/traditional.h"
#include "image/memory_image.h"
#include "link/transfer_control.h"
#include "support/box_script.h"
#include "support/channel_texts.h"
#include "support/qt_test_main.h"
#include "support/windows_test_support.h"
#include "windows/about_box.h"
#include "windows/aux_windows.h"
#include "windows/form2_service_adjust.h"
#include "windows/form3_password.h"
#include "windows/form4_test_frequencies.h"
#include "windows/form5_optional_functions.h"
#include "windows/form6_key_settings.h"
#include "windows/form7_embedded_info.h"

namespace quelro::e2e {

namespace {

using test::Find;

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// One channel row in Simplified Chinese: rx, rx tone, tx, tx tone, power,
// busy lock, bandwidth, scan (list cells with their positions).
struct Channel {
    int row;
    const char* rx;
    const char* rxTone;
    const char* tx;
    const char* txTone;
    int power;     // 0 低, 1 高
    int busyLock;  // 0 关闭, 1 载波
    int bandwidth; // 0 窄带, 1 宽带
    int scan;      // 0 无, 1 有
};

void SetChannel(ProgramState& state, const Channel& c) {
    const auto tone = [](std::string_view text) { return text == "关闭" ? "" : text; };
    state.Channel(c.row) = test::ChannelOf(c.rx, c.tx, tone(c.rxTone), tone(c.txTone), c.power,
                                           c.busyLock, c.bandwidth, c.scan);
}

// Writes a data file of `state` made by our own encoder.
bool WriteProgramming(const QString& path, const ProgramState& state) {
    return WriteDataFile(path.toStdString(), EncodeImage(state)).ok;
}

// A programming of a 370-390MHz radio (band position 3) with settings that
// differ from the start-up ones in every auxiliary window.
ProgramState ReadSample() {
    ProgramState state = ProgramState::StartUp();
    state.SelectBandPosition(3);
    state.BandIndex = 3;
    SetChannel(state, {1, "375.12500", "67.0", "375.12500", "67.0", 1, 0, 1, 1});
    SetChannel(state, {2, "380.00000", "关闭", "385.50000", "关闭", 0, 1, 0, 0});
    SetChannel(state, {5, "388.06250", "D023N", "388.06250", "D023N", 1, 0, 0, 1});
    state.SideKeyFunction = {3, 7};
    state.Functions.Text[kVoxGain] = "4";
    state.Functions.Text[kDuplicate] = "0";
    state.SetTxPowerHigh(200);
    state.TestFrequencyTable[0] = "376.00000";
    state.TestFrequencyTable[16] = "377.00000";
    state.SetEmbeddedInfo(0, "QUELRO E2E");
    state.SetEmbeddedInfo(1, "SECOND LINE");
    return state;
}

// A programming of a 400-500MHz radio (band position 0, the simulator's
// default identity) to write.
ProgramState WriteSample() {
    ProgramState state = ProgramState::StartUp();
    SetChannel(state, {1, "446.00625", "88.5", "446.00625", "88.5", 1, 0, 0, 1});
    SetChannel(state, {16, "462.56250", "关闭", "467.56250", "D023N", 0, 1, 1, 0});
    state.SideKeyFunction = {2, 5};
    state.SetEmbeddedInfo(0, "E2E");
    return state;
}

// The image a write sends for a data file: the file decoded onto the
// start-up state and encoded again.
QByteArray EncodedImage(const QString& dataFile) {
    const DataFileRead read = ReadDataFile(dataFile.toStdString());
    ProgramState state = ProgramState::StartUp();
    if (read.status != DataFileRead::Ok || !DecodeImage(state, read.imageHex)) return {};
    return QByteArray::fromStdString(BytesFromHex(EncodeImage(state)));
}

// Radio addresses a write outside service mode sends: 0x0010-0x017F,
// 0x01B8-0x01C7 and 0x0200-0x035F.
bool Written(int address) {
    return address < 0x0180 || (address >= 0x01B8 && address < 0x01C8) || address >= 0x0200;
}

bool Unlocked(Form1& form) {
    return form.Toolbar1->isEnabled() && form.mnupro->menuAction()->isEnabled();
}

} // namespace

class ProgramE2e : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        boxes_.Clear();
        askedAfterMs_.clear();
        clock_.start();
        boxes_.AnswerWith([](const AskedBox&) { return BoxAnswer::kOk; });
        boxes_.OnAsk([this](const AskedBox&) { askedAfterMs_ << clock_.elapsed(); });
    }
    void cleanup() { VerifyNoSimDeviations(); }

    void readFillsTheWindows();
    void writeLeavesTheEncodedImageInTheRadio();
    void faultEndsWithOneBoxAndChangesNothing_data();
    void faultEndsWithOneBoxAndChangesNothing();
    void lostCableIsOpenedAgainByTheNextRead();
    void storedTraditionalReachesEveryWindow();
    void otherWindowsFollowTheFirstPaint();
    void fileNamedOnTheCommandLineOrDroppedOpens();

  private:
    // Starts the program in `home` (SavedPort 1, COM1 the simulator when one
    // is given).
    std::unique_ptr<Program> Start(const Home& home, const QString& simPath, int language = 0) {
        if (!simPath.isEmpty()) home.SetPorts({simPath});
        home.SetParameter(QByteArray("\x00", 1) + char(simPath.isEmpty() ? 0 : 1) + char(language));
        home.Enter();
        auto program = std::make_unique<Program>();
        program->Start();
        return program;
    }

    test::BoxScript boxes_;
    QList<qint64> askedAfterMs_;
    QElapsedTimer clock_;
};

void ProgramE2e::readFillsTheWindows() {
    Home home;
    QVERIFY(WriteProgramming(home.File("radio.DAT"), ReadSample()));
    // Identity byte 0x3F (decimal 63): a 370-390MHz radio.
    SimRadio sim({"--load", home.File("radio.DAT"), "--band-byte", "0x3F", "--save",
                  home.File("saved.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    auto program = Start(home, sim.Path());
    Form1& form = program->MainWindow();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.mnucom(1)->isChecked());
    QCOMPARE(form.Combo1->currentIndex(), 0);

    form.mnureadFre->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(form.Label->text(), Q("读频成功！"), 10000);
    // A listener hears the outcome, whatever has the focus.
    QCOMPARE(LastAnnouncement(form.Label), Q("读频成功！"));

    // The band selector follows the radio.
    QCOMPARE(form.Combo1->currentIndex(), 3);
    QCOMPARE(form.Combo1->currentText(), QString("370-390MHz"));
    QCOMPARE(program->State().BandIndex, 3);

    // The grid.
    const QStringList row1{"01",    "375.12500", "67.0",    "375.12500", "67.0",
                           Q("高"), Q("关闭"),   Q("宽带"), Q("有")};
    const QStringList row2{"02",    "380.00000", Q("关闭"), "385.50000", Q("关闭"),
                           Q("低"), Q("载波"),   Q("窄带"), Q("无")};
    const QStringList row5{"05",    "388.06250", "D023N",   "388.06250", "D023N",
                           Q("高"), Q("关闭"),   Q("窄带"), Q("有")};
    for (int column = 0; column < kGridCols; ++column) {
        QCOMPARE(form.Grid1->CellText(1, column), row1[column]);
        QCOMPARE(form.Grid1->CellText(2, column), row2[column]);
        QCOMPARE(form.Grid1->CellText(5, column), row5[column]);
    }
    QCOMPARE(form.Grid1->CellText(3, kColRxFreq), QString());
    QCOMPARE(form.Grid1->CellText(16, kColRxFreq), QString());

    // The auxiliary windows.
    AuxWindows& windows = program->Windows();
    QCOMPARE(Find<QComboBox>(windows.form6(), "Combo1")->currentIndex(), 3);
    QCOMPARE(Find<QComboBox>(windows.form6(), "Combo2")->currentIndex(), 7);
    QCOMPARE(Find<QComboBox>(windows.form5(), "Combo7")->currentIndex(), 4);
    QCOMPARE(Find<QComboBox>(windows.form5(), "Combo10")->currentIndex(), 0);
    QCOMPARE(Find<QSlider>(windows.form2(), "Slider1")->value(), 200);
    QCOMPARE(Find<QLabel>(windows.form2(), "Lblpower1")->text(), QString("200"));
    auto* tests = Find<QTableWidget>(windows.form4(), "mfgrid1");
    QCOMPARE(tests->item(0, 1)->text(), QString("376.00000"));
    QCOMPARE(tests->item(0, 2)->text(), QString("377.00000"));
    QCOMPARE(Find<QLineEdit>(windows.form7(), "Text1")->text(), QString("QUELRO E2E"));
    QCOMPARE(Find<QLineEdit>(windows.form7(), "Text2")->text(), QString("SECOND LINE"));

    QVERIFY(sim.WaitFor("end"));
    QTRY_VERIFY_WITH_TIMEOUT(Unlocked(form), 10000);
    QVERIFY(form.Label->isHidden());
    // The focus went back to the grid: a wheel over the band selector now
    // neither changes the band nor asks to clear the channels just read.
    QCOMPARE(QApplication::focusWidget(), form.Grid1);
    test::TurnWheel(form.Combo1, -1);
    QCOMPARE(form.Combo1->currentIndex(), 3);
    QCOMPARE(form.Grid1->CellText(1, kColRxFreq), QString("375.12500"));
    QVERIFY(boxes_.Asked().empty());
    // The read was kept in the data folder of this home.
    QCOMPARE(QDir(home.BackupFolder()).entryList({"*.DAT"}, QDir::Files).size(), 1);

    // Switching through the languages changes no decoded tone: writing gives
    // the radio back the programming it was read from.
    QVERIFY(QFile::remove(home.File("saved.DAT"))); // saved at the read's end
    form.mnuEnglish->trigger();
    form.mnuChineseF->trigger();
    form.mnuChineseJ->trigger();
    form.mnuwriteFre->trigger();
    QVERIFY(sim.WaitFor("end"));
    QTRY_COMPARE_WITH_TIMEOUT(form.Label->text(), Q("写频成功！"), 10000);
    QCOMPARE(ReadAll(home.File("saved.DAT")).toHex(), ReadAll(home.File("radio.DAT")).toHex());
}

void ProgramE2e::writeLeavesTheEncodedImageInTheRadio() {
    Home home;
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(QByteArray(1024, '\x5A'))));
    QVERIFY(WriteProgramming(home.File("in.DAT"), WriteSample()));
    SimRadio sim({"--load", home.File("radio.DAT"), "--save", home.File("saved.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    auto program = Start(home, sim.Path());
    Form1& form = program->MainWindow();

    form.hooks().chooseFileName = [&](bool, const QString&) { return home.File("in.DAT"); };
    form.mnuOpen->trigger();
    QCOMPARE(form.Grid1->CellText(16, kColTxTone), QString("D023N"));
    form.mnuwriteFre->trigger();
    QVERIFY(sim.WaitFor("end"));
    QTRY_COMPARE_WITH_TIMEOUT(form.Label->text(), Q("写频成功！"), 10000);
    QVERIFY(boxes_.Asked().empty());

    const QByteArray expected = EncodedImage(home.File("in.DAT"));
    QCOMPARE(expected.size(), 848);
    const QByteArray saved = ReadAll(home.File("saved.DAT"));
    QCOMPARE(saved.left(5), QByteArray("RMD47"));
    const QByteArray memory = saved.mid(5);
    QCOMPARE(memory.size(), 848);
    for (int offset = 0; offset < 848; ++offset) {
        const int address = 0x0010 + offset;
        const char want = Written(address) ? expected[offset] : '\x5A';
        if (memory[offset] != want)
            QFAIL(qPrintable(QString("radio address 0x%1 holds %2, expected %3")
                                 .arg(address, 4, 16, QChar('0'))
                                 .arg(static_cast<unsigned char>(memory[offset]), 2, 16)
                                 .arg(static_cast<unsigned char>(want), 2, 16)));
    }
    // Hand-checked fields, by image offset (radio address - 0x10): channel 1
    // (446.00625 as BCD low byte first, twice; tone 88.5 as 885 = 0x0375
    // twice; busy lock off, high power and narrow), channel 16 (462.56250,
    // 467.56250, no rx tone, D023N; carrier lock, low power and wide), the
    // side keys and the first embedded line.
    QCOMPARE(memory.mid(0x000, 16).toHex().toUpper(),
             QByteArray("250660442506604475037503F0E0FCFF"));
    QCOMPARE(memory.mid(0x0F0, 16).toHex().toUpper(),
             QByteArray("5062254650627546FFFF1328F8D0FCFF"));
    QCOMPARE(memory.mid(0x10D, 2).toHex().toUpper(), QByteArray("0205"));
    QCOMPARE(memory.mid(0x2F0, 4).toHex().toUpper(), QByteArray("453245FF"));

    QTRY_VERIFY_WITH_TIMEOUT(Unlocked(form), 10000);
}

void ProgramE2e::faultEndsWithOneBoxAndChangesNothing_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QString>("prompt");
    const QString incomplete = Q("\n\n写频未完成：对讲机只写入了部分数据，请重新写频后再使用。");
    const QString lost =
        Q("通信中断：编程线已断开。请重新插好编程线，下次读频或写频时会重新打开串口。");
    QTest::newRow("read, silent radio") << false << QStringList{"--fault", "silent"}
                                        << Q("通信出错：对讲机没有任何应答。请打开对讲机电源，并把"
                                             "编程线插紧在对讲机的编程插口上。");
    QTest::newRow("write, silent radio behind an echoing cable")
        << true << QStringList{"--fault", "silent", "--echo"}
        << Q("通信出错：只收到编程线自己的回送，对讲机没有应答。请打开对讲机电源，并把编程线插紧在"
             "对讲机的编程插口上。");
    QTest::newRow("read, wrong model")
        << false << QStringList{"--fault", "wrong-model"}
        << Q("通信出错：这台对讲机的型号是 VN480，本软件只能编程 VN481 和 VN482。");
    QTest::newRow("read, stall after block 4, paced")
        << false << QStringList{"--pace", "--fault", "stall-after=4"}
        << Q("通信出错：对讲机在通信中途停止了应答。请检查对讲机的电池和编程线的连接，然后重试。");
    QTest::newRow("read, hang-up after reply 6")
        << false << QStringList{"--fault", "hang-up-after=6"} << lost;
    QTest::newRow("write, adapter gone after reply 8")
        << true << QStringList{"--vanish-after", "8"} << lost + incomplete;
    QTest::newRow("write, 15 to written block 6")
        << true << QStringList{"--fault", "nak-write=6"}
        << Q("通信出错：对讲机拒收了地址 0x0060 的数据块（15）。请确认对讲机型号正确，然后重试。") +
               incomplete;
}

// A transfer that meets a fault ends with its own box once and unlocks the
// window: after six watchdog ticks, End having gone out before the box, or
// at once when the device went away. A failed read leaves the table and
// every setting as they were (here a file opened before); a failed write
// leaves the radio changed only in the blocks it took.
void ProgramE2e::faultEndsWithOneBoxAndChangesNothing() {
    QFETCH(bool, write);
    QFETCH(QStringList, simArguments);
    QFETCH(QString, prompt);
    const QString faults = simArguments.join(' ');
    const bool gone = faults.contains("hang-up") || faults.contains("vanish");
    Home home;
    const QByteArray before(1024, '\x5A');
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(before)));
    QVERIFY(WriteProgramming(home.File("in.DAT"), WriteSample()));
    SimRadio sim(simArguments +
                 QStringList{"--load", home.File("radio.DAT"), "--save", home.File("saved.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    auto program = Start(home, sim.Path());
    Form1& form = program->MainWindow();
    form.hooks().chooseFileName = [&](bool, const QString&) { return home.File("in.DAT"); };
    form.mnuOpen->trigger();
    const ProgramState opened = program->State();
    QStringList grid;
    for (int row = 1; row <= kChannels; ++row)
        for (int column = 0; column < kGridCols; ++column)
            grid << form.Grid1->CellText(row, column);
    // Whether the radio had its End by the time the box opened.
    bool endBeforeBox = false;
    boxes_.OnAsk([&](const AskedBox&) {
        askedAfterMs_ << clock_.elapsed();
        endBeforeBox = !gone && sim.WaitFor("end", 3000);
    });

    clock_.start();
    (write ? form.mnuwriteFre : form.mnureadFre)->trigger();
    QVERIFY(!Unlocked(form));
    QTRY_VERIFY_WITH_TIMEOUT(!boxes_.Asked().empty(), 15000);
    QCOMPARE(boxes_.Count(), 1);
    QCOMPARE(boxes_.Asked().front().style, 16);
    QCOMPARE(boxes_.Asked().front().prompt, prompt);
    if (gone) {
        // At once: well before the watchdog's sixth tick.
        QVERIFY2(askedAfterMs_.front() < 2700, qPrintable(QString::number(askedAfterMs_.front())));
        QVERIFY(!form.mnucom(1)->isChecked());
    } else {
        // Six ticks of the 500 ms watchdog after the last reply: not at the fifth.
        QVERIFY2(askedAfterMs_.front() >= 2700 && askedAfterMs_.front() <= 15000,
                 qPrintable(QString::number(askedAfterMs_.front())));
        QVERIFY(endBeforeBox);
    }
    QVERIFY(Unlocked(form));
    QVERIFY(form.Label->isHidden());
    if (gone) QVERIFY(sim.WaitFor(faults.contains("hang-up") ? "hung up" : "vanished"));
    QTest::qWait(200);
    QCOMPARE(boxes_.Count(), 1);

    QVERIFY(program->State() == opened);
    QStringList after;
    for (int row = 1; row <= kChannels; ++row)
        for (int column = 0; column < kGridCols; ++column)
            after << form.Grid1->CellText(row, column);
    QCOMPARE(after, grid);
    QVERIFY(!QDir(home.BackupFolder()).exists());
    const QByteArray saved = ReadAll(home.File("saved.DAT")).mid(5);
    QCOMPARE(saved, write ? AfterPartialWrite(before, saved, EncodedImage(home.File("in.DAT")))
                          : before.left(848));
}

// The adapter goes away in the middle of a read and comes back under a new
// device name, as a replugged adapter may; COM1 names it by a link, as
// /dev/serial/by-id does. The next Read opens it again and reads.
void ProgramE2e::lostCableIsOpenedAgainByTheNextRead() {
    Home home;
    QByteArray memory;
    for (int i = 0; i < 1024; ++i) memory += static_cast<char>((i * 5) & 0xFF);
    QVERIFY(WriteAll(home.File("radio.DAT"), DataFile(memory)));
    const QString cable = home.File("usb-QinHeng_USB_Serial-if00-port0");
    SimRadio sim({"--vanish-after", "6", "--by-id", cable, "--load", home.File("radio.DAT")});
    QVERIFY(!sim.Path().isEmpty());
    auto program = Start(home, cable);
    Form1& form = program->MainWindow();
    QVERIFY(form.mnucom(1)->isChecked());

    form.mnureadFre->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes_.Asked().empty(), 10000);
    QCOMPARE(boxes_.Asked().front().prompt,
             Q("通信中断：编程线已断开。请重新插好编程线，下次读频或写频时会重新打开串口。"));
    QVERIFY(!form.mnucom(1)->isChecked());
    QVERIFY(Unlocked(form));
    QVERIFY(sim.WaitFor("vanished"));

    form.mnureadFre->trigger();
    QVERIFY(form.mnucom(1)->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(form.Label->text(), Q("读频成功！"), 10000);
    QCOMPARE(boxes_.Count(), 1);
    QVERIFY(sim.WaitFor("end"));
}

void ProgramE2e::storedTraditionalReachesEveryWindow() {
    if (!TraditionalAvailable()) QSKIP("conversion dictionaries missing");
    Home home;
    auto program = Start(home, QString(), 2);
    Form1& form = program->MainWindow();
    AuxWindows& windows = program->Windows();
    QCOMPARE(form.LanguageMode(), 2);

    // Form1: menus, frames and the grid.
    QCOMPARE(form.mnuOpen->text(), Q("打開(&O)"));
    QCOMPARE(form.mnupro->title(), Q("編程(&P)"));
    QCOMPARE(form.mnureadFre->text(), Q("讀頻(&R)"));
    QCOMPARE(form.mnuwriteFre->text(), Q("寫頻(&W)"));
    QCOMPARE(form.mnuset->title(), Q("設置(&S)"));
    QCOMPARE(form.mnuLanguage->title(), Q("語言選擇(&G)"));
    QCOMPARE(form.mnuhelp->title(), Q("幫助(&H)"));
    QCOMPARE(form.findChild<QMenu*>("mnuEdit")->title(), Q("編輯(&E)"));
    QCOMPARE(form.findChild<QAction*>("mnuDeleteMoveUp")->text(), Q("刪除並上移(&G)"));
    QCOMPARE(form.Frame1->title(), Q("機型選擇"));
    QCOMPARE(form.Grid1->HeaderText(1), Q("接收頻率"));
    // Form2 to Form7 and the about box.
    QCOMPARE(Find<QGroupBox>(windows.form2(), "Frame1")->title(), Q("發射高功率"));
    QCOMPARE(Find<QLabel>(windows.form3(), "Label1")->text(), Q("請輸入密碼"));
    auto* tests = Find<QTableWidget>(windows.form4(), "mfgrid1");
    QCOMPARE(tests->horizontalHeaderItem(2)->text(), Q("發射頻率"));
    QCOMPARE(Find<QLabel>(windows.form5(), "Label15")->text(), Q("優先信道"));
    QCOMPARE(Find<QLabel>(windows.form5(), "Label18")->text(), Q("返回信道"));
    QCOMPARE(Find<QCheckBox>(windows.form5(), "Check4")->text(), Q("接收時禁止VOX"));
    QCOMPARE(Find<QComboBox>(windows.form5(), "Combo15")->itemText(1), Q("選定+當前"));
    QCOMPARE(Find<QComboBox>(windows.form6(), "Combo1")->itemText(0), Q("自動撥號"));
    QCOMPARE(Find<QPushButton>(windows.form7(), "Command1")->text(), Q("確定"));
    QCOMPARE(Find<QLabel>(windows.about(), "lblTitle")->text(), Q("Quelro 對講機編程軟件"));
    QCOMPARE(Find<QLabel>(windows.about(), "lblVersion")->text(), Q("繁體中文版 V1.0"));
    QVERIFY(boxes_.Asked().empty());
}

// Start-up shows the main window without building the other windows or
// decoding the icon; both follow its first paint.
void ProgramE2e::otherWindowsFollowTheFirstPaint() {
    Home home;
    auto program = Start(home, QString());
    Form1& form = program->MainWindow();
    const auto built = [&form] {
        return form.findChildren<AuxWindow*>(Qt::FindDirectChildrenOnly).size();
    };
    QCOMPARE(built(), 0);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(built(), AuxWindows::kWindowCount);
    QVERIFY(!QGuiApplication::windowIcon().isNull());
    QCOMPARE(Find<QLabel>(program->Windows().form5(), "Label15")->text(), Q("优先信道"));
    QVERIFY(boxes_.Asked().empty());
}

void ProgramE2e::fileNamedOnTheCommandLineOrDroppedOpens() {
    const struct {
        std::vector<const char*> argv;
        const char* file;
    } kArguments[] = {
        {{"quelro"}, nullptr},
        {{"quelro", "-unknown", "radio.DAT", "other.DAT"}, "radio.DAT"},
        {{"quelro", "--", "-radio.DAT"}, "-radio.DAT"},
        {{"quelro", "--"}, nullptr},
    };
    for (const auto& c : kArguments) {
        const auto file = FileToOpen(static_cast<int>(c.argv.size()), c.argv.data());
        QCOMPARE(file.has_value(), c.file != nullptr);
        if (file) QCOMPARE(QString::fromStdString(*file), QString(c.file));
    }

    Home home;
    QVERIFY(WriteProgramming(home.File("radio.DAT"), WriteSample()));
    QVERIFY(WriteAll(home.File("list.csv"), "Location,Frequency\r\n1,440.5\r\n"));
    auto program = Start(home, QString());
    Form1& form = program->MainWindow();

    // A file that cannot be opened gets the File menu's message.
    program->OpenFile(home.File("missing.DAT"));
    QTRY_COMPARE(boxes_.Count(), 1);
    QVERIFY2(boxes_.Asked()[0].prompt.startsWith(Q("文件无法打开：") + home.File("missing.DAT")),
             qPrintable(boxes_.Asked()[0].prompt));

    program->OpenFile(home.File("radio.DAT"));
    QTRY_COMPARE(form.Grid1->CellText(16, kColTxFreq), QString("467.56250"));
    QVERIFY(form.windowTitle().endsWith(home.File("radio.DAT")));
    QCOMPARE(boxes_.Count(), 1);

    // A channel list is imported, after the warning, as File > Import CSV does.
    program->OpenFile(home.File("list.csv"));
    QTRY_COMPARE(form.Grid1->CellText(1, kColRxFreq), QString("440.50000"));
    QCOMPARE(boxes_.Count(), 3);
    QCOMPARE(boxes_.Asked()[1].prompt, Q("所有信道的数据将被清除！"));

    // A file dropped on the window opens as from the File menu: the import
    // is unsaved work, so the question comes first (its box says Cancel).
    QMimeData dragged;
    dragged.setUrls({QUrl::fromLocalFile(home.File("radio.DAT"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &drop);
    QTRY_COMPARE(boxes_.Count(), 4);
    QCOMPARE(boxes_.Asked()[3].prompt, Q("数据已修改，尚未保存或写入对讲机。是否保存？"));
    QCOMPARE(form.Grid1->CellText(1, kColRxFreq), QString("440.50000"));

    // The file opened is the one recent file, kept beside `parameter`; once
    // it is gone, opening the menu drops it.
    auto* recent = form.findChild<QMenu*>("mnuRecent");
    QCOMPARE(recent->title(), Q("最近的文件(&R)"));
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 1);
    QCOMPARE(recent->actions()[0]->text(), "&1 " + home.File("radio.DAT"));
    QFile list(home.File("config/quelro/recent"));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), QFile::encodeName(home.File("radio.DAT")) + "\n");
    list.close();
    QVERIFY(QFile::remove(home.File("radio.DAT")));
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 1);
    QVERIFY(!recent->actions()[0]->isEnabled());
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), QByteArray());
}

} // namespace quelro::e2e

// The process's own folders point at a temporary home before the application
// exists, so that nothing of the user's configuration is read or written.
namespace {
const int registration = quelro::test::RegisterQtTest(__FILE__, [](int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const quelro::e2e::Home home;
    home.Enter();
    QApplication app(argc, argv);
    quelro::e2e::ProgramE2e test;
    return QTest::qExec(&test, argc, argv);
});
} // namespace

#include "program_e2e.moc"
