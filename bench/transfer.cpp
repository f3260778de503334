// bench/transfer: a read, a write and a service-mode write against
// quelro-radio-sim paced at 9600 baud, each timed from the command to its
// completion, beside the wire time of the bytes the dialogue exchanges.
//
//   bench_transfer [runs]      (default 5)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_link.h"
#include "link/serial_link_qt.h"
#include "link/transfer_driver_qt.h"

namespace {

using namespace quelro;
using bench::BenchView;

struct Case {
    const char* name;
    TransferMode mode;
    int service;
    int wireBytes; // both directions
};

// Seconds from the command to completion, or a negative number on failure.
double TimeOne(SerialLink& link, const Case& c, const std::filesystem::path& backups) {
    ProgramState state = ProgramState::StartUp();
    state.ServiceMode = c.service;
    QEventLoop loop;
    BenchView view(loop);
    TransferDriver driver(link, view, state);
    driver.SetBackupFolder(backups);
    QElapsedTimer clock;
    QTimer::singleShot(0, &loop, [&] {
        clock.start();
        c.mode == TransferMode::Read ? driver.ReadRadio() : driver.WriteRadio();
    });
    loop.exec();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    link.Flush(1000);
    return view.ok ? seconds : -1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    QProcess sim;
    const QString pty = bench::StartSim(sim, {"--pace"});
    if (pty.isEmpty()) return 1;
    SerialLink link;
    if (!link.Open(pty).ok) {
        std::fprintf(stderr, "bench_transfer: cannot open %s\n", qPrintable(pty));
        return 1;
    }
    const std::filesystem::path backups =
        std::filesystem::temp_directory_path() / "quelro-bench-backups";

    const Case cases[] = {{"read", TransferMode::Read, 0, 1204},
                          {"write", TransferMode::Write, 0, 986},
                          {"write, service mode", TransferMode::Write, 1, 1007}};
    std::printf("%-20s %10s %10s %10s %8s\n", "transfer", "wire s", "best s", "median s",
                "median/wire");
    int status = 0;
    for (const Case& c : cases) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            const double t = TimeOne(link, c, backups);
            if (t < 0) {
                std::fprintf(stderr, "bench_transfer: %s failed\n", c.name);
                status = 1;
                break;
            }
            times.push_back(t);
        }
        if (times.empty()) continue;
        std::sort(times.begin(), times.end());
        const double wire = c.wireBytes * 10.0 / 9600.0;
        const double median = times[times.size() / 2];
        std::printf("%-20s %10.3f %10.3f %10.3f %8.3f\n", c.name, wire, times.front(), median,
                    median / wire);
    }
    std::filesystem::remove_all(backups);
    link.Close();
    sim.kill();
    sim.waitForFinished();
    return status;
}
