// Why a serial device could not be opened, found out from the system's state
// rather than guessed from the error: the device is missing, the user lacks
// its group (or has it in /etc/group but not yet in this login session),
// another program holds it (named from its lock file or from the open files
// of the processes), or a lock file outlived its process. Each outcome has
// its message with what to do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "link/system_paths.h"

namespace quelro {

// What the system lets this user do with a device.
struct DeviceAccess {
    bool exists = false;
    bool allowed = false; // read and write
    std::string group;    // the device's group, by name; empty when unknown
    bool groupGrantsAccess = false;
    bool listedInGroup = false;  // etc/group gives the user the device's group
    bool groupInSession = false; // and this login session has it
};
DeviceAccess CheckDeviceAccess(const SystemPaths& paths, std::string_view device,
                               const UserGroups& user);

struct OpenProblem {
    enum class Kind {
        Missing,
        NotSerial, // a file, a folder, or a device that is no terminal
        NotInGroup,
        GroupNotInSession,
        NoPermission,
        HeldBy,
        StaleLock,
        TakenOver, // a stale lock file was removed: open again
        Other,
    };
    Kind kind = Kind::Other;
    std::string device;
    std::string group;    // NotInGroup, GroupNotInSession
    long pid = 0;         // HeldBy, StaleLock (0 when no holder could be named)
    std::string program;  // HeldBy
    std::string lockFile; // StaleLock, as the user names it
    std::string error;    // Other: the system's words
    bool operator==(const OpenProblem&) const = default;
};

// The problem of a device whose lock file names a process, other than this
// one, that still runs: HeldBy, naming it as the lock file does (else by its
// command name). Asked before opening, so that no live holder's lock is
// taken over whatever program it names or whichever form it has.
std::optional<OpenProblem> LockHolder(const SystemPaths& paths, std::string_view device);

// A path that exists and is surely no serial device: a file, a folder, or a
// memory device such as /dev/null (which many processes hold open).
bool SurelyNotSerial(const std::filesystem::path& device);

// `device` is the device's own path (not a link to it); `error` what the
// serial layer said.
OpenProblem DiagnoseOpenFailure(const SystemPaths& paths, std::string_view device,
                                std::string_view error);

// The message in the language. When another program holds the device and it
// stands for port `port` (1..8; 0 for a path given by hand), the port's in-use
// message comes first.
std::string OpenProblemText(const OpenProblem& problem, int port, int languageMode);

} // namespace quelro
