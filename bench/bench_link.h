// What the transfer benchmarks share: a window side that only sees the
// outcome, and a quelro-radio-sim started on a pseudo-terminal.
#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <string>

#include "link/transfer_control.h"

namespace quelro::bench {

// Completion is all a benchmark needs to see.
class BenchView : public TransferView {
  public:
    explicit BenchView(QEventLoop& loop) : loop_(loop) {}
    bool ok = false;
    int Language() const override { return kSimplified; }
    void SetTransferLocked(bool) override {}
    void FocusBandSelector() override {}
    void SetStatusText(const std::string&) override {}
    void ToggleStatusVisible() override {}
    void HideStatus() override {}
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    BoxAnswer ShowMessage(const Message&) override {
        loop_.quit();
        return BoxAnswer::kOk;
    }
    void ShowFailure(const TransferFailure&) override { loop_.quit(); }
    void ReadCompleted(const std::string&, int) override { Done(); }
    void WriteCompleted() override { Done(); }
    void ShowBackupWarning(const std::string&) override {}

  private:
    void Done() {
        ok = true;
        loop_.quit();
    }
    QEventLoop& loop_;
};

// Starts the simulator; the pseudo-terminal's path, empty when it failed.
inline QString StartSim(QProcess& sim, const QStringList& arguments) {
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QUELRO_SIM_PATH, arguments);
    if (!sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "the simulator did not start\n");
        return {};
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

} // namespace quelro::bench
