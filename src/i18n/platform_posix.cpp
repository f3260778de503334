// The operating system's part on Linux.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "i18n/platform.h"

namespace quelro {

namespace fs = std::filesystem;

namespace {

int CodeOfMode(mode_t mode) {
    if (S_ISREG(mode)) return 0;
    return S_ISDIR(mode) ? EISDIR : kNotRegularFile;
}

bool WriteAll(int fd, std::string_view bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback under the home folder.
fs::path XdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    const char* home = std::getenv("HOME");
    const fs::path folder = value != nullptr && *value == '/' ? fs::path(value)
                            : home != nullptr                 ? fs::path(home) / underHome
                                                              : fs::path();
    return folder.empty() ? folder : folder / "quelro";
}

int signalSocket[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    const char byte = 1;
    // Nothing to do when the byte cannot go: one is already waiting.
    [[maybe_unused]] const ssize_t sent = ::write(signalSocket[0], &byte, 1);
}

} // namespace

fs::path ProgramFile() {
    // The kernel's link names the binary itself, with every symbolic link in
    // the way (/usr/local/bin/quelro -> /opt/quelro/bin/quelro) resolved.
    std::error_code ec;
    fs::path binary = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : binary;
}

long ProcessId() {
    return static_cast<long>(::getpid());
}

fs::path SettingsFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

fs::path LocalDataFolder() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_r(&time, &local);
    return local;
}

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

int FolderWritableCode(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

RegularFileRead ReadRegularFileBytes(const fs::path& path, std::size_t maxBytes) {
    RegularFileRead result;
    // Looked at before opening, so that a device is never opened (and a pipe
    // never waited on); checked again on what was opened, in case the name
    // changed in between.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        result.code = errno;
        return result;
    }
    if ((result.code = CodeOfMode(st.st_mode)) != 0) return result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.code = errno;
        return result;
    }
    if (::fstat(fd, &st) != 0 || (result.code = CodeOfMode(st.st_mode)) != 0) {
        if (result.code == 0) result.code = errno;
        ::close(fd);
        return result;
    }
    result.bytes.resize(maxBytes);
    std::size_t done = 0;
    while (done < maxBytes) {
        const ssize_t n = ::read(fd, result.bytes.data() + done, maxBytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) result.code = errno;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    result.bytes.resize(done);
    return result;
}

int ReplaceFileBytes(const fs::path& target, std::string_view bytes) {
    int code = 0;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (code = CodeOfMode(old.st_mode)) != 0) return code;
    // A file the user may not write stays as it is, even where the folder
    // would allow replacing it.
    if (exists && ::access(target.c_str(), W_OK) != 0) return errno;
    // Past the file size limit the system would end the program (SIGXFSZ)
    // in the middle of the write.
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        bytes.size() > limit.rlim_cur)
        return EFBIG;

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device random;
    const fs::path temporary =
        folder / ("." + target.filename().string() + ".tmp" + std::to_string(random() % 1000000));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    // The replacement keeps the old file's permissions (and owner, where the
    // system lets us).
    bool ok = !exists || ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok && exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        ok = ::fchown(fd, old.st_uid, old.st_gid) == 0 || errno == EPERM;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    code = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) ::unlink(temporary.c_str());
    return code;
}

std::optional<DeviceNode> DescribeDevice(const fs::path& device) {
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) return std::nullopt;
    DeviceNode node;
    node.character = S_ISCHR(info.st_mode);
    // Major 1 holds the memory devices: /dev/null, /dev/zero, /dev/full ...
    node.memoryDevice = node.character && major(info.st_rdev) == 1;
    node.owner = info.st_uid;
    node.group = info.st_gid;
    node.mode = info.st_mode & 0777;
    return node;
}

unsigned EffectiveUserId() {
    return static_cast<unsigned>(::geteuid());
}

std::intptr_t CatchStopSignals() {
    // The handler only writes a byte, which the event loop reads and acts on
    // (nothing else is safe inside a handler).
    if (signalSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSocket) != 0) return -1;
    // A handler never waits on a full socket.
    ::fcntl(signalSocket[0], F_SETFL, ::fcntl(signalSocket[0], F_GETFL) | O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
    return signalSocket[1];
}

void TakeStopSignal(std::intptr_t handle) {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(static_cast<int>(handle), &byte, 1);
}

bool MarkBreaks(int descriptor) {
    termios settings{};
    if (::tcgetattr(descriptor, &settings) != 0) return false;
    settings.c_iflag |= PARMRK;
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | ISTRIP);
    return ::tcsetattr(descriptor, TCSANOW, &settings) == 0;
}

} // namespace quelro
