// The transfer control on Qt timers and the serial link.
#include "link/transfer_driver_qt.h"

#include <QDateTime>

#include "i18n/platform.h"
#include "link/read_backup.h"

namespace quelro {

std::filesystem::path DefaultBackupFolder() {
    const std::filesystem::path data = LocalDataFolder();
    return data.empty() ? data : data / "backups";
}

std::filesystem::path ReadBackFolder() {
    const std::filesystem::path backups = DefaultBackupFolder();
    return backups.empty() ? backups : backups.parent_path() / "read-backs";
}

TransferDriver::TransferDriver(SerialLink& link, TransferView& view, ProgramState& state,
                               QObject* parent)
    : QObject(parent), link_(link), control_(view, *this, state) {
    timer1_.setInterval(kWatchdogIntervalMs);
    timer2_.setInterval(kBlinkIntervalMs);
    connect(&timer1_, &QTimer::timeout, this, [this] { control_.OnWatchdogTick(); });
    connect(&timer2_, &QTimer::timeout, this, [this] { control_.OnBlinkTick(); });
    connect(&link_, &SerialLink::BytesReceived, this, [this](const QByteArray& bytes) {
        control_.OnBytes(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    connect(&link_, &SerialLink::BreakReceived, this, [this] { control_.OnBreak(); });
    connect(&link_, &SerialLink::Lost, this, [this] { control_.OnLineLost(); });
}

TransferDriver::~TransferDriver() {
    control_.Abandon();
    link_.Flush(1000);
}

void TransferDriver::StartTimers() {
    timer1_.start();
    timer2_.start();
}

std::optional<std::string> TransferDriver::KeepBackup(const std::string& readImage) {
    lastBackup_.clear();
    const std::filesystem::path folder = !backupFolder_.empty() ? backupFolder_
                                         : readBack_            ? ReadBackFolder()
                                                                : DefaultBackupFolder();
    if (folder.empty()) return std::string("no data folder");
    const std::string stamp =
        QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss").toStdString();
    BackupResult kept =
        KeepReadBackup(folder, readImage, stamp, readBack_ ? kKeptReadBacks : kKeptBackups);
    if (!kept.ok) return kept.error;
    lastBackup_ = kept.file;
    return std::nullopt;
}

} // namespace quelro
