// Where the link reads the system's state: /sys, /proc, /dev, /run/lock and
// /etc, all under one root that a test points at a tree of its own (and the
// environment variable QUELRO_SYSTEM_ROOT at one for a whole program). And
// the few facts read there that several checks share: who the user is, the
// groups, the processes, the lock files of serial devices.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelro {

struct SystemPaths {
    std::filesystem::path root = "/";
    // `absolute` ("/dev/ttyUSB0") under the root.
    std::filesystem::path At(std::string_view absolute) const;
    // The root named by QUELRO_SYSTEM_ROOT, else "/".
    static SystemPaths FromEnvironment();
};

// At most `limit` bytes of a file; empty when it cannot be read.
std::string ReadSmallFile(const std::filesystem::path& path, std::size_t limit = 4096);

// The user of this process as its login session knows it (proc/self/status)
// and as the system's files know it (etc/passwd, etc/group).
struct UserGroups {
    unsigned uid = 0;
    std::string name;                  // empty when etc/passwd does not know the uid
    std::vector<unsigned> sessionGids; // effective gid and supplementary groups
    std::vector<std::string> listedIn; // groups etc/group (or the passwd entry) gives the user
};
UserGroups ReadUserGroups(const SystemPaths& paths);

// The name of group `gid` in etc/group; empty when unknown.
std::string GroupName(const SystemPaths& paths, unsigned gid);

// Whether process `pid` runs (has its folder in proc), and its command name.
bool ProcessRuns(const SystemPaths& paths, long pid);
std::string ProcessName(const SystemPaths& paths, long pid);
// The running processes whose command name is `name`.
std::vector<long> ProcessesNamed(const SystemPaths& paths, std::string_view name);
// Processes other than this one holding `device` open (links in proc/*/fd).
std::vector<long> ProcessesHolding(const SystemPaths& paths, std::string_view device);

// A lock file of the kind serial programs leave in run/lock: LCK..ttyUSB0.
struct LockFile {
    std::filesystem::path path; // under the root
    std::string shownPath;      // as the user would name it: /run/lock/LCK..ttyUSB0
    long pid = 0;               // 0 when the file names none
    std::string program;        // the program it names (Qt's form), else empty
};
// The lock file name for a device: /dev/ttyUSB0 -> LCK..ttyUSB0,
// /dev/pts/3 -> LCK..pts_3.
std::string LockFileName(std::string_view device);
std::optional<LockFile> ReadLockFile(const SystemPaths& paths, std::string_view name);
// Every LCK.. file in run/lock, by name.
std::vector<LockFile> LockFiles(const SystemPaths& paths);

} // namespace quelro
