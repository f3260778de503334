// The serial port adapter on Windows: a Win32 port opened for overlapped I/O,
// read by a thread of its own that waits on event handles (never on a
// completion port, which wine does not signal), and hands each read with
// ClearCommError's flags to the link's thread.
#include <windows.h>

#include <QByteArray>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <thread>

#include "i18n/unicode_path.h"
#include "link/port_map.h"
#include "link/serial_link_qt.h"

namespace quelro {

namespace {

// A read returns as soon as a byte is there, else after this long with
// nothing, so that breaks are polled for and the thread can stop.
constexpr DWORD kReadWaitMs = 100;
constexpr DWORD kWriteTimeoutMs = 2000;
constexpr DWORD kReadChunk = 512;

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring message = text != nullptr ? text : L"";
    ::LocalFree(text);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error)
                           : Utf8Of(std::filesystem::path(message));
}

// A port that is not there, one another program holds (Windows opens a port
// once), and one that refused to open or to take the line settings.
OpenProblem ProblemOf(DWORD error, const std::string& device) {
    OpenProblem problem;
    problem.device = device;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        problem.kind = OpenProblem::Kind::Missing;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        problem.kind = OpenProblem::Kind::HeldBy;
        break;
    default:
        problem.kind = OpenProblem::Kind::Other;
        problem.error = SystemMessage(error);
    }
    return problem;
}

// 9600 8N1, binary, no flow control, NUL bytes kept; DTR on, RTS off.
bool SetLine(HANDLE port) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb)) return false;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = kReadWaitMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    return ::SetCommState(port, &dcb) && ::SetCommTimeouts(port, &timeouts) &&
           ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

} // namespace

class SerialLink::Reader {
  public:
    Reader(SerialLink& link, HANDLE port, std::uint64_t generation)
        : link_(link), port_(port), generation_(generation),
          stop_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { Run(); }) {}
    ~Reader() {
        ::SetEvent(stop_);
        thread_.join();
        ::CloseHandle(stop_);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    void SetGeneration(std::uint64_t generation) { generation_ = generation; }

  private:
    void Run() {
        OVERLAPPED overlapped{};
        overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        char buffer[kReadChunk];
        // Ends when Close stops it or the device goes away; each turn lasts
        // at most kReadWaitMs without input.
        for (;;) {
            ::ResetEvent(overlapped.hEvent);
            // What is waiting, else one byte: a read that asks for more than
            // has come may wait for all of it (wine does).
            DWORD errors = 0;
            COMSTAT status{};
            if (!::ClearCommError(port_, &errors, &status)) break;
            const DWORD wanted = std::clamp<DWORD>(status.cbInQue, 1, kReadChunk);
            DWORD count = 0;
            if (!::ReadFile(port_, buffer, wanted, &count, &overlapped)) {
                if (::GetLastError() != ERROR_IO_PENDING) break;
                const HANDLE waits[2] = {overlapped.hEvent, stop_};
                if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                    ::CancelIoEx(port_, &overlapped);
                    ::GetOverlappedResult(port_, &overlapped, &count, TRUE);
                    ::CloseHandle(overlapped.hEvent);
                    return;
                }
                if (!::GetOverlappedResult(port_, &overlapped, &count, FALSE)) break;
            }
            DWORD after = 0;
            if (!::ClearCommError(port_, &after, &status)) break;
            errors |= after;
            if (count > 0 || (errors & CE_BREAK) != 0) Post(errors, QByteArray(buffer, count));
            if (::WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) break;
        }
        ::CloseHandle(overlapped.hEvent);
        if (::WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return;
        // The device went away (unplugged): the link closes it on its thread.
        SerialLink* link = &link_;
        const std::uint64_t generation = generation_;
        QMetaObject::invokeMethod(
            link,
            [link, generation] {
                if (generation == link->generation_ && link->IsOpen()) link->LoseDevice();
            },
            Qt::QueuedConnection);
    }

    void Post(DWORD errors, const QByteArray& bytes) {
        SerialLink* link = &link_;
        const std::uint64_t generation = generation_;
        QMetaObject::invokeMethod(
            link, [link, errors, bytes, generation] { link->Deliver(errors, bytes, generation); },
            Qt::QueuedConnection);
    }

    SerialLink& link_;
    HANDLE port_;
    std::atomic<std::uint64_t> generation_;
    HANDLE stop_;
    std::thread thread_;
};

SerialLink::SerialLink(QObject* parent) : QObject(parent) {}

SerialLink::~SerialLink() {
    Close();
}

bool SerialLink::IsOpen() const {
    return handle_ != nullptr;
}

SerialLink::OpenResult SerialLink::Open(const QString& device) {
    Close();
    OpenResult result;
    const std::string name = device.toStdString();
    const std::filesystem::path path = PathFromUtf8(WindowsDevicePath(name));
    const HANDLE port = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE || !SetLine(port)) {
        const DWORD error = ::GetLastError();
        if (port != INVALID_HANDLE_VALUE) ::CloseHandle(port);
        result.problem = ProblemOf(error, name);
        result.error = QString::fromStdString(SystemMessage(error));
        return result;
    }
    handle_ = port;
    decoder_ = CommBreakDecoder{};
    device_ = device;
    reader_ = std::make_unique<Reader>(*this, port, ++generation_);
    result.ok = true;
    return result;
}

void SerialLink::Close() {
    reader_.reset(); // stops the thread before the handle goes
    if (handle_ != nullptr) ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    ++generation_;
    device_.clear();
    lost_.clear();
}

void SerialLink::DiscardInput() {
    if (!IsOpen()) return;
    ::PurgeComm(static_cast<HANDLE>(handle_), PURGE_RXCLEAR);
    // What the thread read and has not been delivered yet goes too.
    reader_->SetGeneration(++generation_);
    decoder_ = CommBreakDecoder{};
}

void SerialLink::Send(std::string_view bytes) {
    if (!IsOpen() || bytes.empty()) return;
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    if (!::WriteFile(static_cast<HANDLE>(handle_), bytes.data(), static_cast<DWORD>(bytes.size()),
                     &written, &overlapped) &&
        ::GetLastError() == ERROR_IO_PENDING)
        ::GetOverlappedResult(static_cast<HANDLE>(handle_), &overlapped, &written, TRUE);
    ::CloseHandle(overlapped.hEvent);
}

bool SerialLink::Flush(int) {
    // Send waits until the system has the bytes.
    return true;
}

void SerialLink::Deliver(unsigned long commErrors, const QByteArray& bytes,
                         std::uint64_t generation) {
    if (generation != generation_ || !IsOpen()) return;
    EmitEvents(decoder_.Feed(
        commErrors, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

} // namespace quelro
