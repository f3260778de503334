// TransferDriver: runs ReadRadio and WriteRadio in a Qt program. It owns the
// two timers (Timer1, the 500 ms watchdog; Timer2, the 300 ms blink and end
// display), feeds the serial link's bytes and breaks and the timer ticks to
// the transfer control, and keeps a backup of every successful read in the
// per-user data folder (backups/; the reads that check a write in
// read-backs/).
#pragma once

#include <QObject>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <string>

#include "link/serial_link_qt.h"
#include "link/transfer_control.h"

namespace quelro {

class TransferDriver : public QObject, private TransferLine {
    Q_OBJECT

  public:
    // `link`, `view` and `state` must outlive the driver.
    TransferDriver(SerialLink& link, TransferView& view, ProgramState& state,
                   QObject* parent = nullptr);
    // A transfer still running is ended with End.
    ~TransferDriver() override;

    void ReadRadio() { control_.ReadRadio(); }
    void WriteRadio() { control_.WriteRadio(); }

    const TransferControl& Control() const { return control_; }
    // See TransferControl::Abandon.
    void Abandon() { control_.Abandon(); }

    // Where the backups of reads go; empty (the default): backups/ in the
    // application's data folder, looked up at each read.
    void SetBackupFolder(std::filesystem::path folder) { backupFolder_ = std::move(folder); }
    // The reads of this driver check a write: they are no backup of what a
    // radio held, and go to read-backs/ beside backups/ (or the folder set),
    // where only the newest kKeptReadBacks stay.
    void SetReadBack() { readBack_ = true; }
    // The file the last read was kept in; empty when none was.
    const std::filesystem::path& LastBackup() const { return lastBackup_; }

  private:
    // TransferLine
    // A device that went away is looked for again at each start.
    bool PortOpen() override { return link_.IsOpen() || link_.Reopen(); }
    void DiscardInput() override { link_.DiscardInput(); }
    void Send(std::string_view bytes) override { link_.Send(bytes); }
    void StartTimers() override;
    void StopWatchdog() override { timer1_.stop(); }
    void StopBlink() override { timer2_.stop(); }
    std::optional<std::string> KeepBackup(const std::string& readImage) override;

    SerialLink& link_;
    TransferControl control_;
    QTimer timer1_;
    QTimer timer2_;
    std::filesystem::path backupFolder_;
    bool readBack_ = false;
    std::filesystem::path lastBackup_;
};

// backups/ in the application's data folder.
std::filesystem::path DefaultBackupFolder();
// read-backs/ in the application's data folder.
std::filesystem::path ReadBackFolder();
inline constexpr int kKeptReadBacks = 20;

} // namespace quelro
