// bench/soak: 1,000 reads and 1,000 writes (by default) through the real
// serial path against quelro-radio-sim without pacing, one after the other as
// a user would run them. It reports the transfers that failed (there must be
// none), the resident memory of this process after transfer 10 and after the
// last one (they must differ by less than 1 MB), and whether the simulator
// saw anything outside the dialogue.
//
//   bench_soak [transfers of each kind]      (default 1000)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_link.h"
#include "link/serial_link_qt.h"
#include "link/transfer_driver_qt.h"

namespace {

using namespace quelro;

// VmRSS of this process in kB, from /proc.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

bool RunOne(SerialLink& link, ProgramState& state, TransferMode mode,
            const std::filesystem::path& backups) {
    QEventLoop loop;
    bench::BenchView view(loop);
    TransferDriver driver(link, view, state);
    driver.SetBackupFolder(backups);
    QTimer::singleShot(
        0, &loop, [&] { mode == TransferMode::Read ? driver.ReadRadio() : driver.WriteRadio(); });
    loop.exec();
    link.Flush(1000);
    return view.ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int each = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    QProcess sim;
    const QString pty = bench::StartSim(sim, {});
    if (pty.isEmpty()) return 1;
    SerialLink link;
    if (!link.Open(pty).ok) {
        std::fprintf(stderr, "bench_soak: cannot open %s\n", qPrintable(pty));
        return 1;
    }
    const std::filesystem::path backups =
        std::filesystem::temp_directory_path() / "quelro-soak-backups";

    ProgramState state = ProgramState::StartUp();
    int failures[2] = {0, 0};
    long rssAt10 = 0, rssAtHalf = 0, rssAtEnd = 0;
    QElapsedTimer clock;
    clock.start();
    // Reads and writes alternate, so that both run through the whole soak.
    for (int n = 1; n <= 2 * each; ++n) {
        const bool write = n % 2 == 0;
        if (!RunOne(link, state, write ? TransferMode::Write : TransferMode::Read, backups))
            ++failures[write];
        // A read keeps a backup file each time; they are not what is measured.
        if (!write) std::filesystem::remove_all(backups);
        if (n == 10) rssAt10 = ResidentKb();
        if (n == each) rssAtHalf = ResidentKb();
    }
    rssAtEnd = ResidentKb();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;

    link.Close();
    sim.terminate();
    sim.waitForFinished(5000);
    const bool simClean = sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0;

    std::printf("transfers        %d reads, %d writes in %.1f s (%.1f ms each)\n", each, each,
                seconds, 1000.0 * seconds / (2 * each));
    std::printf("failures         %d reads, %d writes\n", failures[0], failures[1]);
    std::printf("resident memory  %ld kB after transfer 10, %ld kB after transfer %d, %ld kB "
                "after transfer %d (difference to transfer 10: %ld kB)\n",
                rssAt10, rssAtHalf, each, rssAtEnd, 2 * each, rssAtEnd - rssAt10);
    std::printf("simulator        %s\n", simClean ? "no deviation" : "reported a deviation");
    const bool ok = failures[0] == 0 && failures[1] == 0 &&
                    std::max(rssAtHalf, rssAtEnd) - rssAt10 < 1024 && simClean;
    return ok ? 0 : 1;
}
