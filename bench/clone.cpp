// bench/clone: a cloning run of ten radios through quelro-radio-sim paced at
// 9600 baud, swapped with --stay 1 --off 2. Each radio's period (from one
// radio done to the next) is set beside what it cannot be shorter than: the
// wire time of a write and a read-back, and the swap (the time off, and what
// is left of the stay after the read-back). The rest is the run's overhead.
//
//   bench_clone [radios]      (default 10)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_link.h"
#include "link/clone_driver_qt.h"

namespace {

using namespace quelro;

constexpr double kStay = 1.0;
constexpr double kOff = 2.0;
// Bytes both ways of a write and of a read (as bench/transfer counts them).
constexpr double kWireWrite = 986 * 10.0 / 9600.0;
constexpr double kWireRead = 1204 * 10.0 / 9600.0;

class Timing : public CloneReport {
  public:
    Timing(QEventLoop& loop, QElapsedTimer& clock) : loop_(loop), clock_(clock) {}
    std::vector<double> done; // seconds from the start
    CloneSummary summary;

    void RadioDone(const CloneRecord& record, const QDateTime&, qint64) override {
        if (record.result != CloneResult::Ok)
            std::fprintf(stderr, "bench_clone: radio %d: %s\n", record.number,
                         CloneResultWord(record.result));
        done.push_back(static_cast<double>(clock_.nsecsElapsed()) / 1e9);
    }
    int Language() const override { return kSimplified; }
    void Instruct(CloneInstruction) override {}
    void TransferMessage(const std::string& text) override {
        std::fprintf(stderr, "bench_clone: %s\n", text.c_str());
    }
    void Finished(const CloneSummary& s) override {
        summary = s;
        loop_.quit();
    }

  private:
    QEventLoop& loop_;
    QElapsedTimer& clock_;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int radios = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;

    QProcess sim;
    const QString pty = bench::StartSim(
        sim, {"--pace", "--radios", QString::number(radios), "--stay", "1", "--off", "2"});
    if (pty.isEmpty()) return 1;
    SerialLink link;
    if (!link.Open(pty).ok) {
        std::fprintf(stderr, "bench_clone: cannot open %s\n", qPrintable(pty));
        return 1;
    }
    ProgramState state = ProgramState::StartUp();
    QEventLoop loop;
    QElapsedTimer clock;
    Timing timing(loop, clock);
    CloneDriver driver(link, state, CloneOptions{radios, true, false, false}, timing);
    clock.start();
    driver.Start();
    loop.exec();

    const double wire = kWireWrite + kWireRead;
    const double swap = kOff + std::max(0.0, kStay - kWireRead);
    std::vector<double> periods;
    for (std::size_t i = 1; i < timing.done.size(); ++i)
        periods.push_back(timing.done[i] - timing.done[i - 1]);
    std::sort(periods.begin(), periods.end());
    std::printf("radios %d, written %d, verified %d, failed %d\n", radios, timing.summary.written,
                timing.summary.verified, timing.summary.failed);
    std::printf("first radio (write + read-back) %.3f s, wire %.3f s\n",
                timing.done.empty() ? 0.0 : timing.done.front(), wire);
    if (!periods.empty()) {
        const double median = periods[periods.size() / 2];
        const double worst = periods.back();
        std::printf("period per radio: median %.3f s, worst %.3f s; floor (wire %.3f + swap "
                    "%.3f) %.3f s\n",
                    median, worst, wire, swap, wire + swap);
        std::printf("overhead per radio: median %.3f s, worst %.3f s; median/floor %.3f\n",
                    median - wire - swap, worst - wire - swap, median / (wire + swap));
    }
    link.Close();
    sim.kill();
    sim.waitForFinished();
    return timing.summary.verified == radios ? 0 : 1;
}
