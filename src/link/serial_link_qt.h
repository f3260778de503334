// SerialLink: the one serial port of the program.
//
// 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control, raw bytes,
// every arrival handed on at once. DTR is asserted and RTS left low while the
// port is open (the states a Windows serial control opens with, so a cable
// that takes its power or direction from them behaves the same).
//
// On Linux (serial_link_posix_qt.cpp) it runs on QSerialPort. Qt reports no
// received BREAK, so the terminal is switched to PARMRK after opening and the
// marked stream is decoded back into break events and plain bytes
// (ParmrkDecoder). On Windows (serial_link_win32_qt.cpp) it is a Win32 port
// read by a thread of its own, whose breaks ClearCommError reports
// (CommBreakDecoder): QSerialPort waits there on a completion port, which
// wine never signals.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "link/port_diagnosis.h"

#ifdef _WIN32
#include "link/comm_break_decoder.h"
#else
#include <QSerialPort>

#include "link/parmrk_decoder.h"
#endif

namespace quelro {

class SerialLink : public QObject {
    Q_OBJECT

  public:
    struct OpenResult {
        bool ok = false;
        // When !ok: why, as found out from the system.
        OpenProblem problem;
        QString error;
    };

    explicit SerialLink(QObject* parent = nullptr);
    // Where the reasons of a failed open are looked for (tests: a tree of
    // their own); the default is SystemPaths::FromEnvironment().
    void SetSystemPaths(SystemPaths paths) { paths_ = std::move(paths); }
    ~SerialLink() override;

    // Closes whatever is open, then opens `device` (a path such as
    // /dev/ttyUSB0, or a link to one such as /dev/serial/by-id/...: the
    // device it points to now is opened; on Windows a port such as COM3). What the line held before
    // is dropped. A lock file whose process is gone is taken over when the system allows it.
    OpenResult Open(const QString& device);
    void Close();
    bool IsOpen() const;
    QString Device() const { return device_; }

    // After Lost: opens the device that went away again, under the path it
    // was opened by (a link finds it under its new name). False when it is
    // not back, or nothing was lost since the last Open or Close.
    bool Reopen();

    // Drops the bytes received and not yet read.
    void DiscardInput();
    void Send(std::string_view bytes);
    // Waits until what was sent has been handed to the system, at most
    // `timeoutMs`; false when it could not be.
    bool Flush(int timeoutMs);

  signals:
    void BytesReceived(const QByteArray& bytes);
    void BreakReceived();
    // The device went away (unplugged, or the other end of a
    // pseudo-terminal hung up); the port has been closed.
    void Lost();
    // Reopen succeeded.
    void Reopened();

  private:
    // The device went away: close, remember it for Reopen, tell.
    void LoseDevice();
    // Hands on what a decoder made of a read.
    void EmitEvents(const std::vector<SerialEvent>& events);

#ifdef _WIN32
    class Reader;
    // What the reader thread read (with ClearCommError's flags), delivered
    // on the link's thread; reads of an earlier generation (before a
    // DiscardInput or Close) are dropped.
    void Deliver(unsigned long commErrors, const QByteArray& bytes, std::uint64_t generation);

    void* handle_ = nullptr; // the port's HANDLE
    std::unique_ptr<Reader> reader_;
    std::uint64_t generation_ = 0;
    CommBreakDecoder decoder_;
#else
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    ParmrkDecoder decoder_;
#endif
    QString device_;
    QString lost_; // the path of the device that went away
    SystemPaths paths_ = SystemPaths::FromEnvironment();
};

} // namespace quelro
