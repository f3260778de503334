// Start-up of quelro against a floor of Qt, and its language switches.
//
// The floor is a bare QMainWindow with what the main window shows and nothing
// else: the menu bar with the same four menus and their Chinese captions and
// items (the port and language submenus included), a QTableWidget of 17 rows
// by 9 columns (the header row with the channel grid's Chinese header texts
// and 16 rows numbered "01".."16") and the same seven drop-down lists with
// the same items (the band list and the six general settings). It has no tool
// bar, labels, frames, status bar, icon, settings file or other windows.
//
// Each round starts, one after the other, quelro with Simplified Chinese
// stored in its `parameter` file, the floor, and quelro with Traditional
// Chinese stored; each start is timed from starting the process to its first
// paint, and its peak resident memory is taken at that paint. Then one
// process starts quelro (Simplified Chinese), creates every window and times
// the language switches zh -> en -> zh-Hant -> zh, each from the menu command
// to the end of the repaint it causes.
//
//   bench_startup [rounds]        (default 15) prints medians and ratios
//   bench_startup --child MODE    (internal) MODE is zh, hant, bare or switch
//
// Without a display the children run on the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "app/program.h"
#include "codes/bands.h"
#include "i18n/captions.h"
#include "windows/aux_windows.h"

namespace {

using namespace quelro;

// Reports the first paint of any widget with the processor time and the peak
// memory so far, and ends the process at once.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
            std::printf("painted %.2f %ld\n", ms(usage.ru_utime) + ms(usage.ru_stime),
                        usage.ru_maxrss);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void AddMenu(QMenuBar* bar, const char* title, std::initializer_list<const char*> items) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(title));
    for (const char* item : items) {
        if (*item == '\0')
            menu->addSeparator();
        else
            menu->addAction(QString::fromUtf8(item));
    }
}

void ShowBareWindow(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    AddMenu(bar, "文件(&F)",
            {"新建(&N)", "打开(&O)", "保存(&S)", "导入CSV...", "导出CSV...", "", "退出(&Q)"});
    AddMenu(bar, "编程(&P)",
            {"读频(&R)", "写频(&W)", "", "可选功能", "键设定", "嵌入信息", "调试(&D)", "测试频率"});
    AddMenu(bar, "设置(&S)", {"锁定(&L)"});
    QMenu* settings = bar->actions().last()->menu();
    QMenu* ports = settings->addMenu(QString::fromUtf8("通信端口(&V)"));
    for (int port = 1; port <= 8; ++port) ports->addAction(QString("COM%1(&%1)").arg(port));
    QMenu* languages = settings->addMenu(QString::fromUtf8("语言选择(&L)"));
    for (const char* item : {"简体中文", "繁体中文", "英文"})
        languages->addAction(QString::fromUtf8(item));
    AddMenu(bar, "帮助(&H)", {"帮助主题  F1", "关于"});

    auto* client = new QWidget(&window);
    auto* layout = new QVBoxLayout(client);
    auto* table = new QTableWidget(kChannels, kGridCols, client);
    table->verticalHeader()->hide();
    for (int c = 0; c < kGridCols; ++c)
        table->setHorizontalHeaderItem(c, new QTableWidgetItem(Utf8(kGridHeaders[c].zh)));
    for (int r = 0; r < kChannels; ++r)
        table->setItem(r, 0, new QTableWidgetItem(QString("%1").arg(r + 1, 2, 10, QChar('0'))));
    layout->addWidget(table);
    auto* bands = new QComboBox(client);
    for (const Band& band : kBands) bands->addItem(Utf8(band.text));
    layout->addWidget(bands);
    for (MainSetting selector :
         {MainSetting::kVoicePrompt, MainSetting::kTxTimeout, MainSetting::kTimeoutWarn,
          MainSetting::kSquelch, MainSetting::kBatterySave, MainSetting::kBeep}) {
        auto* list = new QComboBox(client);
        for (int item = 0; item < MainSelectorItemCount(selector); ++item)
            list->addItem(
                QString::fromStdString(MainSelectorItemText(selector, item, kSimplified)));
        layout->addWidget(list);
    }
    window.setCentralWidget(client);
    window.resize(860, 450);
    window.show();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall-clock and processor milliseconds of one step.
std::pair<double, double> MillisecondsOf(const std::function<void()>& step) {
    QElapsedTimer clock;
    const double cpu = ThreadCpuMs();
    clock.start();
    step();
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6, ThreadCpuMs() - cpu};
}

// Times every language switch of a program started in Simplified Chinese with
// all its windows created; the first round is reported on its own, since it
// is the first to lay out and paint each language.
int RunSwitches(int rounds) {
    Program program;
    program.Start();
    // As long as a user takes at least to reach the language menu.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    for (LanguageWindow* window : program.Windows().LanguageWindows())
        if (window->Window() == nullptr) return 1;
    QCoreApplication::processEvents();
    Form1& form = program.MainWindow();
    const std::array<std::pair<const char*, std::function<void()>>, 3> switches{{
        {"zh -> en     ", [&] { form.mnuEnglish_Click(); }},
        {"en -> zh-Hant", [&] { form.mnuChineseF_Click(); }},
        {"zh-Hant -> zh", [&] { form.mnuChineseJ_Click(); }},
    }};
    std::array<std::vector<double>, 3> wall;
    std::array<std::vector<double>, 3> cpu;
    for (int round = 0; round < rounds; ++round)
        for (std::size_t i = 0; i < switches.size(); ++i) {
            const auto [wallMs, cpuMs] = MillisecondsOf([&] {
                switches[i].second();
                QCoreApplication::processEvents();
            });
            wall[i].push_back(wallMs);
            cpu[i].push_back(cpuMs);
        }
    std::printf("language switch over all eight windows, %d rounds, to the end of its repaint\n"
                "(ms; wall clock, and processor time of the program):\n",
                rounds);
    std::printf("  %-13s  %8s %8s %8s   %8s %8s %8s\n", "", "first", "median", "max", "cpu 1st",
                "median", "max");
    for (std::size_t i = 0; i < switches.size(); ++i)
        std::printf("  %s  %8.2f %8.2f %8.2f   %8.2f %8.2f %8.2f\n", switches[i].first,
                    wall[i].front(), Median(wall[i]),
                    *std::max_element(wall[i].begin(), wall[i].end()), cpu[i].front(),
                    Median(cpu[i]), *std::max_element(cpu[i].begin(), cpu[i].end()));
    return 0;
}

int RunChild(int argc, char* argv[], const char* mode, int rounds) {
    QApplication app(argc, argv);
    if (std::strcmp(mode, "switch") == 0) return RunSwitches(rounds);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    if (std::strcmp(mode, "bare") == 0) {
        QMainWindow window;
        ShowBareWindow(window);
        return QApplication::exec();
    }
    Program program;
    program.Start();
    return QApplication::exec();
}

struct Start {
    double ms = 0;
    double cpuMs = 0;
    double peakMiB = 0;
};

// One start of a child, from starting the process to its first paint.
Start TimeOneStart(const QString& self, const QString& mode, const QProcessEnvironment& env) {
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    child.start(self, {"--child", mode});
    QByteArray out;
    while (!out.contains('\n') && child.waitForReadyRead(10000))
        out += child.readAllStandardOutput();
    Start start;
    start.ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!out.startsWith("painted ")) {
        std::fprintf(stderr, "child %s did not paint\n", qPrintable(mode));
        std::exit(1);
    }
    const QList<QByteArray> figures = out.mid(8).trimmed().split(' ');
    start.cpuMs = figures.value(0).toDouble();
    start.peakMiB = figures.value(1).toDouble() / 1024.0;
    child.waitForFinished(10000);
    return start;
}

// A configuration folder whose `parameter` file holds the language mode.
QProcessEnvironment EnvironmentWithLanguage(const QProcessEnvironment& base,
                                            const QTemporaryDir& config, int languageMode) {
    QDir(config.path()).mkpath("quelro");
    QFile parameter(config.path() + "/quelro/parameter");
    const char bytes[3] = {0, 0, static_cast<char>(languageMode)};
    if (!parameter.open(QIODevice::WriteOnly) || parameter.write(bytes, 3) != 3) std::exit(1);
    QProcessEnvironment env = base;
    env.insert("XDG_CONFIG_HOME", config.path());
    return env;
}

struct Series {
    Series(const char* seriesName, QString childMode, QProcessEnvironment childEnv)
        : name(seriesName), mode(std::move(childMode)), env(std::move(childEnv)) {}
    const char* name;
    QString mode;
    QProcessEnvironment env;
    std::vector<double> ms;
    std::vector<double> cpuMs;
    std::vector<double> peakMiB;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv, argv[2], argc >= 4 ? std::max(1, std::atoi(argv[3])) : 15);

    QCoreApplication app(argc, argv);
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    if (!base.contains("QT_QPA_PLATFORM") && !base.contains("DISPLAY") &&
        !base.contains("WAYLAND_DISPLAY"))
        base.insert("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir simplified;
    QTemporaryDir traditional;
    QTemporaryDir bare;
    std::array<Series, 3> series{{
        {"quelro, zh stored     ", "zh", EnvironmentWithLanguage(base, simplified, kSimplified)},
        {"bare window (floor)   ", "bare", EnvironmentWithLanguage(base, bare, kSimplified)},
        {"quelro, zh-Hant stored", "hant",
         EnvironmentWithLanguage(base, traditional, kTraditional)},
    }};
    const QString self = QCoreApplication::applicationFilePath();

    // One start of each to warm the file cache.
    for (Series& s : series) TimeOneStart(self, s.mode, s.env);
    for (int i = 0; i < rounds; ++i)
        for (Series& s : series) {
            const Start start = TimeOneStart(self, s.mode, s.env);
            s.ms.push_back(start.ms);
            s.cpuMs.push_back(start.cpuMs);
            s.peakMiB.push_back(start.peakMiB);
        }
    const double floorMs = Median(series[1].ms);
    const double floorCpuMs = Median(series[1].cpuMs);
    const double floorMiB = Median(series[1].peakMiB);
    std::printf("platform %s, %d rounds, process start to first paint (medians; wall clock,\n"
                "processor time of the process, peak resident memory):\n",
                qPrintable(base.value("QT_QPA_PLATFORM", "default")), rounds);
    for (const Series& s : series)
        std::printf("  %s %7.1f ms x%.2f   cpu %6.1f ms x%.2f   peak %5.1f MiB x%.2f\n", s.name,
                    Median(s.ms), Median(s.ms) / floorMs, Median(s.cpuMs),
                    Median(s.cpuMs) / floorCpuMs, Median(s.peakMiB), Median(s.peakMiB) / floorMiB);
    std::fflush(stdout);

    QProcess switches;
    switches.setProcessEnvironment(series[0].env);
    switches.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    switches.start(self, {"--child", "switch", QString::number(rounds)});
    switches.waitForFinished(120000);
    return switches.exitCode();
}
