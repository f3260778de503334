// The serial port adapter on Linux: line settings, PARMRK, and the received
// stream.
#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include "i18n/platform.h"
#include "link/serial_link_qt.h"

namespace quelro {

SerialLink::SerialLink(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialLink::OnReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::OnError);
}

SerialLink::~SerialLink() {
    Close();
}

SerialLink::OpenResult SerialLink::Open(const QString& device) {
    Close();
    OpenResult result;
    // The device's own name, so that the lock file is the one every other
    // program of the system uses for it.
    const QFileInfo info(device);
    const QString name = info.isSymLink() && info.exists() ? info.canonicalFilePath() : device;
    // Qt's own lock takes over a lock file whose program name it does not
    // recognise, or whose form it cannot read: a running holder is asked
    // about first.
    if (auto held = LockHolder(paths_, QFile::encodeName(name).toStdString())) {
        result.problem = *held;
        result.error = QString("locked by process %1").arg(held->pid);
        return result;
    }
    port_.setPortName(name);
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    bool opened = port_.open(QIODevice::ReadWrite);
    for (int attempt = 0; !opened && attempt < 2; ++attempt) {
        result.error = port_.errorString();
        port_.clearError();
        result.problem = DiagnoseOpenFailure(paths_, QFile::encodeName(name).toStdString(),
                                             result.error.toStdString());
        // Only a stale lock file that was just removed is worth a second try.
        if (result.problem.kind != OpenProblem::Kind::TakenOver || attempt > 0) return result;
        opened = port_.open(QIODevice::ReadWrite);
    }
    if (!MarkBreaks(static_cast<int>(port_.handle()))) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        result.problem.kind = OpenProblem::Kind::Other;
        result.problem.device = name.toStdString();
        result.problem.error = result.error.toStdString();
        port_.close();
        return result;
    }
    // A pseudo-terminal has no modem lines; the failure is of no consequence.
    port_.setDataTerminalReady(true);
    port_.setRequestToSend(false);
    port_.clear(QSerialPort::Input);
    port_.clearError();
    decoder_ = ParmrkDecoder{};
    device_ = device;
    result.ok = true;
    return result;
}

bool SerialLink::IsOpen() const {
    return port_.isOpen();
}

void SerialLink::Close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
    device_.clear();
    lost_.clear();
}

void SerialLink::DiscardInput() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::Input);
    // What the terminal had buffered but Qt had not read yet goes too.
    port_.readAll();
    decoder_ = ParmrkDecoder{};
}

void SerialLink::Send(std::string_view bytes) {
    if (!port_.isOpen()) return;
    port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    // Hand the bytes to the system now rather than on the next loop turn.
    port_.flush();
}

bool SerialLink::Flush(int timeoutMs) {
    while (port_.isOpen() && port_.bytesToWrite() > 0)
        if (!port_.waitForBytesWritten(timeoutMs)) return false;
    return true;
}

void SerialLink::OnReadyRead() {
    // A receiver may open a modal box; QSerialPort does not signal again while
    // this handler runs, so whatever came in meanwhile is taken here.
    while (port_.isOpen() && port_.bytesAvailable() > 0) {
        const QByteArray raw = port_.readAll();
        EmitEvents(
            decoder_.Feed(std::string_view(raw.constData(), static_cast<std::size_t>(raw.size()))));
    }
}

void SerialLink::OnError(QSerialPort::SerialPortError error) {
    // A device that went away keeps reporting read errors (a hung-up
    // terminal reads as end of file); the port is of no further use.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
    if (port_.isOpen()) LoseDevice();
}

} // namespace quelro
