// Start-up time of quelro: from starting a process to the first paint of its
// main window, side by side with a bare Qt window of the same size (a menu
// bar, a 17 x 9 table and a few combo boxes), in one run.
//
//   bench_startup [rounds]        runs both, alternating, and prints medians
//   bench_startup --child quelro  (internal) one start of the program
//   bench_startup --child bare    (internal) one start of the bare window
//
// Without a display the children run on the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/program.h"

namespace {

// Reports the first paint of any widget and ends the process at once.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

void ShowBareWindow(QMainWindow& window) {
    for (const char* menu : {"File", "Programming", "Settings", "Help"})
        window.menuBar()->addMenu(menu)->addAction("Item");
    auto* client = new QWidget(&window);
    auto* layout = new QVBoxLayout(client);
    auto* table = new QTableWidget(16, 9, client);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 9; ++c) table->setItem(r, c, new QTableWidgetItem("462.56250"));
    layout->addWidget(table);
    for (int i = 0; i < 7; ++i) {
        auto* combo = new QComboBox(client);
        combo->addItems({"Off", "On"});
        layout->addWidget(combo);
    }
    window.setCentralWidget(client);
    window.resize(860, 450);
    window.show();
}

int RunChild(int argc, char* argv[], const char* mode) {
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    app.installEventFilter(&firstPaint);
    if (std::strcmp(mode, "bare") == 0) {
        QMainWindow window;
        ShowBareWindow(window);
        return QApplication::exec();
    }
    quelro::Program program;
    program.Start();
    return QApplication::exec();
}

// Milliseconds from starting the child until it reports its first paint.
double TimeOneStart(const QString& self, const QString& mode, const QProcessEnvironment& env) {
    QProcess child;
    child.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    child.start(self, {"--child", mode});
    while (child.waitForReadyRead(10000))
        if (child.readAllStandardOutput().contains("painted")) break;
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    child.waitForFinished(10000);
    return ms;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return RunChild(argc, argv, argv[2]);

    QCoreApplication app(argc, argv);
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir config;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Every start is a first start: no `parameter` file.
    env.insert("XDG_CONFIG_HOME", config.path());
    if (!env.contains("QT_QPA_PLATFORM") && !env.contains("DISPLAY") &&
        !env.contains("WAYLAND_DISPLAY"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString self = QCoreApplication::applicationFilePath();

    // One start of each to warm the file cache.
    TimeOneStart(self, "quelro", env);
    TimeOneStart(self, "bare", env);
    std::vector<double> quelro;
    std::vector<double> bare;
    for (int i = 0; i < rounds; ++i) {
        quelro.push_back(TimeOneStart(self, "quelro", env));
        bare.push_back(TimeOneStart(self, "bare", env));
    }
    const double q = Median(quelro);
    const double b = Median(bare);
    std::printf("platform %s, %d rounds, process start to first paint (median):\n",
                qPrintable(env.value("QT_QPA_PLATFORM", "default")), rounds);
    std::printf("  quelro main window  %8.1f ms (min %.1f)\n", q,
                *std::min_element(quelro.begin(), quelro.end()));
    std::printf("  bare Qt window      %8.1f ms (min %.1f)\n", b,
                *std::min_element(bare.begin(), bare.end()));
    std::printf("  ratio quelro / bare %8.2f\n", q / b);
    return 0;
}
