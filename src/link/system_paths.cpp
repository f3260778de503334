// Reading users, groups, processes and lock files under a root.
#include "link/system_paths.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include "i18n/platform.h"

namespace quelro {

namespace fs = std::filesystem;

namespace {

// The system's tables are small; these bound what a damaged one can cost.
constexpr std::size_t kTableBytes = 1 << 20;
constexpr int kMaxProcesses = 100000;
constexpr int kMaxDescriptors = 4096;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<long> Number(std::string_view text) {
    text = Trim(text);
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The numbers of a status line such as "Groups:\t20 24 27".
std::vector<unsigned> StatusNumbers(std::string_view status, std::string_view key) {
    std::vector<unsigned> numbers;
    for (std::string_view line : Split(status, '\n')) {
        if (line.substr(0, key.size()) != key) continue;
        line.remove_prefix(key.size());
        std::string spaced(line);
        std::replace(spaced.begin(), spaced.end(), '\t', ' ');
        for (std::string_view field : Split(spaced, ' '))
            if (auto n = Number(field); n && *n >= 0) numbers.push_back(static_cast<unsigned>(*n));
        break;
    }
    return numbers;
}

std::vector<long> ProcessIds(const SystemPaths& paths) {
    std::vector<long> pids;
    std::error_code ec;
    int seen = 0;
    for (fs::directory_iterator it(paths.At("/proc"), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (++seen > kMaxProcesses) break;
        if (auto pid = Number(it->path().filename().string()); pid && *pid > 0)
            pids.push_back(*pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

} // namespace

fs::path SystemPaths::At(std::string_view absolute) const {
    while (!absolute.empty() && absolute.front() == '/') absolute.remove_prefix(1);
    return root / fs::path(absolute);
}

SystemPaths SystemPaths::FromEnvironment() {
    const char* root = std::getenv("QUELRO_SYSTEM_ROOT");
    return SystemPaths{root != nullptr && *root != '\0' ? fs::path(root) : fs::path("/")};
}

std::string ReadSmallFile(const fs::path& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return text;
}

UserGroups ReadUserGroups(const SystemPaths& paths) {
    UserGroups user;
    const std::string status = ReadSmallFile(paths.At("/proc/self/status"));
    const std::vector<unsigned> uids = StatusNumbers(status, "Uid:");
    const std::vector<unsigned> gids = StatusNumbers(status, "Gid:");
    user.uid = uids.size() > 1 ? uids[1] : EffectiveUserId();
    if (gids.size() > 1) user.sessionGids.push_back(gids[1]);
    for (unsigned gid : StatusNumbers(status, "Groups:")) user.sessionGids.push_back(gid);

    std::optional<unsigned> primary;
    const std::string passwd = ReadSmallFile(paths.At("/etc/passwd"), kTableBytes);
    for (std::string_view line : Split(passwd, '\n')) {
        const auto fields = Split(line, ':');
        if (fields.size() < 4 || Number(fields[2]) != static_cast<long>(user.uid)) continue;
        user.name = std::string(fields[0]);
        if (auto gid = Number(fields[3]); gid && *gid >= 0) primary = static_cast<unsigned>(*gid);
        break;
    }
    const std::string groups = ReadSmallFile(paths.At("/etc/group"), kTableBytes);
    for (std::string_view line : Split(groups, '\n')) {
        const auto fields = Split(line, ':');
        if (fields.size() < 4 || user.name.empty()) continue;
        bool member = primary && Number(fields[2]) == static_cast<long>(*primary);
        for (std::string_view name : Split(Trim(fields[3]), ','))
            member = member || Trim(name) == user.name;
        if (member) user.listedIn.emplace_back(fields[0]);
    }
    return user;
}

std::string GroupName(const SystemPaths& paths, unsigned gid) {
    const std::string groups = ReadSmallFile(paths.At("/etc/group"), kTableBytes);
    for (std::string_view line : Split(groups, '\n')) {
        const auto fields = Split(line, ':');
        if (fields.size() >= 3 && Number(fields[2]) == static_cast<long>(gid))
            return std::string(fields[0]);
    }
    return {};
}

bool ProcessRuns(const SystemPaths& paths, long pid) {
    std::error_code ec;
    return pid > 0 && fs::is_directory(paths.At("/proc/" + std::to_string(pid)), ec);
}

std::string ProcessName(const SystemPaths& paths, long pid) {
    return std::string(
        Trim(ReadSmallFile(paths.At("/proc/" + std::to_string(pid) + "/comm"), 256)));
}

std::vector<long> ProcessesNamed(const SystemPaths& paths, std::string_view name) {
    std::vector<long> found;
    for (long pid : ProcessIds(paths))
        if (ProcessName(paths, pid) == name) found.push_back(pid);
    return found;
}

std::vector<long> ProcessesHolding(const SystemPaths& paths, std::string_view device) {
    std::vector<long> found;
    const long self = ProcessId();
    for (long pid : ProcessIds(paths)) {
        if (pid == self) continue;
        std::error_code ec;
        int seen = 0;
        for (fs::directory_iterator it(paths.At("/proc/" + std::to_string(pid) + "/fd"), ec), end;
             !ec && it != end && ++seen <= kMaxDescriptors; it.increment(ec)) {
            std::error_code linkError;
            const fs::path target = fs::read_symlink(it->path(), linkError);
            if (!linkError && target == fs::path(device)) {
                found.push_back(pid);
                break;
            }
        }
    }
    return found;
}

std::string LockFileName(std::string_view device) {
    std::string name(device);
    if (name.compare(0, 5, "/dev/") == 0) name.erase(0, 5);
    std::replace(name.begin(), name.end(), '/', '_');
    return "LCK.." + name;
}

std::optional<LockFile> ReadLockFile(const SystemPaths& paths, std::string_view name) {
    LockFile lock;
    lock.shownPath = "/run/lock/" + std::string(name);
    lock.path = paths.At(lock.shownPath);
    std::error_code ec;
    if (!fs::is_regular_file(lock.path, ec)) return std::nullopt;
    // Qt writes "pid\nprogram\nhost\n...", other programs the pid alone,
    // often padded to ten characters, or as four binary bytes.
    const std::string text = ReadSmallFile(lock.path, 512);
    // The old binary form: the pid as a 4-byte integer of the machine.
    if (text.size() == sizeof(std::int32_t) && !Number(text)) {
        std::int32_t pid = 0;
        std::memcpy(&pid, text.data(), sizeof pid);
        lock.pid = pid;
        return lock;
    }
    const auto lines = Split(text, '\n');
    lock.pid = Number(lines[0]).value_or(0);
    if (lines.size() > 1) lock.program = std::string(Trim(lines[1]));
    return lock;
}

std::vector<LockFile> LockFiles(const SystemPaths& paths) {
    std::vector<std::string> names;
    std::error_code ec;
    int seen = 0;
    for (fs::directory_iterator it(paths.At("/run/lock"), ec), end;
         !ec && it != end && ++seen <= kMaxDescriptors; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, 5, "LCK..") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::vector<LockFile> locks;
    for (const std::string& name : names)
        if (auto lock = ReadLockFile(paths, name)) locks.push_back(*lock);
    return locks;
}

} // namespace quelro
