// Safe reading and atomic replacing of user-named files.
#include "files/file_access.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "i18n/captions.h"

namespace quelro {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinkDepth = 40;

int CodeOfMode(mode_t mode) {
    if (S_ISREG(mode)) return 0;
    return S_ISDIR(mode) ? EISDIR : kNotRegularFile;
}

FileWrite Failed(int code) {
    return {false, FileErrorReason(code, kEnglish), code};
}

// The file a save to `path` replaces: the end of its chain of symbolic links.
bool ResolveLinks(fs::path& path, int& code) {
    for (int depth = 0;; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        if (depth == kMaxLinkDepth) {
            code = ELOOP;
            return false;
        }
        std::error_code ec;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            code = ec.value();
            return false;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
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

std::string FailedText(const Caption& lead, std::string_view name, int code, int languageMode) {
    return Localize(lead, languageMode) + std::string(name) + "\n" +
           FileErrorReason(code, languageMode);
}

} // namespace

FileBytes ReadRegularFile(const fs::path& path, std::size_t maxBytes) {
    FileBytes result;
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
    result.ok = result.code == 0;
    return result;
}

FileWrite WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    fs::path target = path;
    int code = 0;
    if (!ResolveLinks(target, code)) return Failed(code);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (code = CodeOfMode(old.st_mode)) != 0) return Failed(code);
    // A file the user may not write stays as it is, even where the folder
    // would allow replacing it.
    if (exists && ::access(target.c_str(), W_OK) != 0) return Failed(errno);
    // Past the file size limit the system would end the program (SIGXFSZ)
    // in the middle of the write.
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        bytes.size() > limit.rlim_cur)
        return Failed(EFBIG);

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device random;
    const fs::path temporary =
        folder / ("." + target.filename().string() + ".tmp" + std::to_string(random() % 1000000));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Failed(errno);
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
    if (!ok) {
        ::unlink(temporary.c_str());
        return Failed(code);
    }
    return {true, {}, 0};
}

std::string FileErrorReason(int code, int languageMode) {
    struct Reason {
        int code;
        Caption text;
    };
    static constexpr Reason kReasons[] = {
        {ENOENT, {"文件或文件夹不存在", "No such file or folder"}},
        {EACCES, {"没有访问权限", "Permission denied"}},
        {EPERM, {"没有访问权限", "Permission denied"}},
        {EROFS, {"该位置只读", "The place is read-only"}},
        {ENOSPC, {"磁盘已满", "The disk is full"}},
        {EDQUOT, {"磁盘配额已用完", "The disk quota is used up"}},
        {EFBIG, {"文件超过了允许的大小（文件大小限制）", "The file exceeds the file size limit"}},
        {EISDIR, {"这是一个文件夹，不是文件", "It is a folder, not a file"}},
        {kNotRegularFile,
         {"这不是普通文件（而是管道、设备或套接字）",
          "It is not a regular file (but a pipe, a device or a socket)"}},
        {ELOOP, {"符号链接层数过多", "Too many levels of symbolic links"}},
    };
    for (const Reason& reason : kReasons)
        if (reason.code == code) return Localize(reason.text, languageMode);
    return std::strerror(code);
}

std::string OpenFailedText(std::string_view name, int code, int languageMode) {
    return FailedText({"文件无法打开：", "The file could not be opened: "}, name, code,
                      languageMode);
}

std::string SaveFailedText(std::string_view name, int code, int languageMode) {
    return FailedText({"文件保存失败：", "The file could not be saved: "}, name, code,
                      languageMode);
}

} // namespace quelro
