// The operating system's part on Windows: the wide (UTF-16) functions only,
// so that every name reaches the system whole.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "i18n/platform.h"

namespace quelro {

namespace fs = std::filesystem;

namespace {

// The errno code closest to a Windows error, for the messages the files
// layer has for them.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_TOO_LARGE:
        return EFBIG;
    case ERROR_DIRECTORY:
        return EISDIR;
    default:
        return EIO;
    }
}

// 0 for a regular file, EISDIR for a folder, kNotRegularFile for anything
// else; an errno code when it cannot be looked at.
int KindCode(const fs::path& path, bool& exists) {
    struct _stat64 st {};
    exists = ::_wstat64(path.c_str(), &st) == 0;
    if (!exists) return errno;
    if ((st.st_mode & _S_IFMT) == _S_IFREG) return 0;
    return (st.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : kNotRegularFile;
}

// A folder Windows knows for this user, by its environment variable (which
// tests may point elsewhere), else by the shell.
fs::path KnownFolder(const wchar_t* variable, const KNOWNFOLDERID& id) {
    if (const wchar_t* value = ::_wgetenv(variable); value != nullptr && *value != L'\0')
        return fs::path(value) / "quelro";
    PWSTR shell = nullptr;
    fs::path folder;
    if (::SHGetKnownFolderPath(id, 0, nullptr, &shell) == S_OK) folder = fs::path(shell) / "quelro";
    ::CoTaskMemFree(shell);
    return folder;
}

HANDLE stopEvent = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    ::SetEvent(stopEvent);
    // Windows ends the process once the handler returns from a close,
    // log-off or shut-down: give the event loop the time to save.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::Sleep(4000);
    return TRUE;
}

} // namespace

fs::path ProgramFile() {
    std::wstring name(MAX_PATH, L'\0');
    // A path longer than the buffer is cut short: grow it and ask again.
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name);
        }
        name.resize(name.size() * 2);
    }
    return {};
}

long ProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

fs::path SettingsFolder() {
    return KnownFolder(L"APPDATA", FOLDERID_RoamingAppData);
}

fs::path LocalDataFolder() {
    return KnownFolder(L"LOCALAPPDATA", FOLDERID_LocalAppData);
}

std::vector<std::string> ProgramArguments(int, char**) {
    ::SetConsoleOutputCP(CP_UTF8);
    // What the programs print is the same bytes as on Linux (a JSON export to
    // stdout included), not text-mode CR LF.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide != nullptr && i < count; ++i) {
        const int length =
            ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(std::max(length, 1)), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), length, nullptr, nullptr);
        argument.resize(argument.size() - 1); // the terminating NUL
        arguments.push_back(std::move(argument));
    }
    ::LocalFree(wide);
    return arguments;
}

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_s(&local, &time);
    return local;
}

bool StderrIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

int FolderWritableCode(const fs::path& folder) {
    return ::_waccess(folder.c_str(), 2) == 0 ? 0 : errno;
}

RegularFileRead ReadRegularFileBytes(const fs::path& path, std::size_t maxBytes) {
    RegularFileRead result;
    bool exists = false;
    if ((result.code = KindCode(path, exists)) != 0) return result;
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.code = ErrnoOf(::GetLastError());
        return result;
    }
    // Checked again on what was opened, in case the name changed in between.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        result.code = kNotRegularFile;
        return result;
    }
    result.bytes.resize(maxBytes);
    std::size_t done = 0;
    while (done < maxBytes) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(maxBytes - done, 1u << 20));
        if (!::ReadFile(file, result.bytes.data() + done, want, &n, nullptr)) {
            result.code = ErrnoOf(::GetLastError());
            break;
        }
        if (n == 0) break;
        done += n;
    }
    ::CloseHandle(file);
    result.bytes.resize(done);
    return result;
}

int ReplaceFileBytes(const fs::path& target, std::string_view bytes) {
    bool exists = false;
    const int kind = KindCode(target, exists);
    if (exists && kind != 0) return kind;
    const DWORD attributes = exists ? ::GetFileAttributesW(target.c_str()) : 0;
    // A read-only file stays as it is, even where the folder would allow
    // replacing it.
    if (exists && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return EACCES;

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device random;
    const fs::path temporary = folder / (L"." + target.filename().wstring() + L".tmp" +
                                         std::to_wstring(random() % 1000000));
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ErrnoOf(::GetLastError());
    int code = 0;
    for (std::size_t done = 0; code == 0 && done < bytes.size();) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::WriteFile(file, bytes.data() + done, want, &n, nullptr) || n == 0)
            code = ErrnoOf(::GetLastError());
        done += n;
    }
    if (code == 0 && !::FlushFileBuffers(file)) code = ErrnoOf(::GetLastError());
    ::CloseHandle(file);
    // The replacement keeps the old file's attributes (hidden, archive ...).
    if (code == 0 && exists && attributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(temporary.c_str(), attributes);
    if (code == 0 && !::MoveFileExW(temporary.c_str(), target.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        code = ErrnoOf(::GetLastError());
    if (code != 0) ::DeleteFileW(temporary.c_str());
    return code;
}

std::optional<DeviceNode> DescribeDevice(const fs::path& device) {
    struct _stat64 st {};
    if (::_wstat64(device.c_str(), &st) != 0) return std::nullopt;
    DeviceNode node;
    node.character = (st.st_mode & _S_IFMT) == _S_IFCHR;
    node.mode = 0666;
    return node;
}

unsigned EffectiveUserId() {
    return 0;
}

std::intptr_t CatchStopSignals() {
    if (stopEvent != nullptr) return -1;
    stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stopEvent == nullptr) return -1;
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    return reinterpret_cast<std::intptr_t>(stopEvent);
}

void TakeStopSignal(std::intptr_t handle) {
    ::ResetEvent(reinterpret_cast<HANDLE>(handle));
}

} // namespace quelro
