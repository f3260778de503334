// Safe reading and atomic replacing of user-named files.
#include "files/file_access.h"

#include <cerrno>
#include <cstring>

#include "i18n/captions.h"
#include "i18n/platform.h"

namespace quelro {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinkDepth = 40;

FileWrite Failed(int code) {
    return {false, FileErrorReason(code, kEnglish), code};
}

// The file a save to `path` replaces: the end of its chain of symbolic links.
bool ResolveLinks(fs::path& path, int& code) {
    for (int depth = 0;; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return true;
        if (depth == kMaxLinkDepth) {
            code = ELOOP;
            return false;
        }
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            code = ec.value();
            return false;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

std::string FailedText(const Caption& lead, std::string_view name, int code, int languageMode) {
    return Localize(lead, languageMode) + std::string(name) + "\n" +
           FileErrorReason(code, languageMode);
}

} // namespace

FileBytes ReadRegularFile(const fs::path& path, std::size_t maxBytes) {
    RegularFileRead read = ReadRegularFileBytes(path, maxBytes);
    return {read.code == 0, std::move(read.bytes), read.code};
}

FileWrite WriteFileAtomically(const fs::path& path, std::string_view bytes) {
    fs::path target = path;
    int code = 0;
    if (!ResolveLinks(target, code)) return Failed(code);
    if ((code = ReplaceFileBytes(target, bytes)) != 0) return Failed(code);
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
#ifdef EDQUOT // Windows has no disk quota code
        {EDQUOT, {"磁盘配额已用完", "The disk quota is used up"}},
#endif
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
