// bench/transfer: a read, a write and a service-mode write against
// quelro-radio-sim paced at 9600 baud, each timed from the command to its
// completion, beside the wire time of the bytes the dialogue exchanges: on a
// clean line, and on lines that are not: a one-wire cable that echoes every
// byte the PC sends, noise before the first answer, and a radio that answers
// only the third entry frame (half a second each).
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
    const std::filesystem::path backups =
        std::filesystem::temp_directory_path() / "quelro-bench-backups";

    struct Line {
        const char* name;
        QStringList arguments;
    };
    const Line lines[] = {
        {"clean", {"--pace"}},
        {"echo", {"--pace", "--echo"}},
        {"noise", {"--pace", "--noise-before-first", "FF00FE3C"}},
        {"2 entries ignored", {"--pace", "--ignore-first-entries", "2"}},
    };
    const Case cases[] = {{"read", TransferMode::Read, 0, 1204},
                          {"write", TransferMode::Write, 0, 986},
                          {"write, service mode", TransferMode::Write, 1, 1007}};
    std::printf("%-18s %-20s %8s %8s %9s %12s\n", "line", "transfer", "wire s", "best s",
                "median s", "median/wire");
    int status = 0;
    for (const Line& line : lines) {
        QProcess sim;
        const QString pty = bench::StartSim(sim, line.arguments);
        if (pty.isEmpty()) return 1;
        SerialLink link;
        if (!link.Open(pty).ok) {
            std::fprintf(stderr, "bench_transfer: cannot open %s\n", qPrintable(pty));
            return 1;
        }
        for (const Case& c : cases) {
            // A radio that ignores entry frames does so only when it wakes up:
            // one run of each transfer, on a simulator of its own.
            const bool once = line.arguments.contains("--ignore-first-entries");
            if (once && &c != &cases[0]) continue;
            std::vector<double> times;
            for (int i = 0; i < (once ? 1 : runs); ++i) {
                const double t = TimeOne(link, c, backups);
                if (t < 0) {
                    std::fprintf(stderr, "bench_transfer: %s, %s failed\n", line.name, c.name);
                    status = 1;
                    break;
                }
                times.push_back(t);
            }
            if (times.empty()) continue;
            std::sort(times.begin(), times.end());
            const double wire = c.wireBytes * 10.0 / 9600.0;
            const double median = times[times.size() / 2];
            std::printf("%-18s %-20s %8.3f %8.3f %9.3f %12.3f\n", line.name, c.name, wire,
                        times.front(), median, median / wire);
        }
        link.Close();
        sim.kill();
        sim.waitForFinished();
    }
    std::filesystem::remove_all(backups);
    return status;
}
