// Finding out why a device did not open.
#include "link/port_diagnosis.h"

#include <algorithm>

#include "i18n/captions_link.h"
#include "i18n/platform.h"

namespace quelro {

namespace fs = std::filesystem;

DeviceAccess CheckDeviceAccess(const SystemPaths& paths, std::string_view device,
                               const UserGroups& user) {
    DeviceAccess access;
    const std::optional<DeviceNode> node = DescribeDevice(paths.At(device));
    if (!node) return access;
    access.exists = true;
    access.group = GroupName(paths, node->group);
    constexpr unsigned kOwnerReadWrite = 0600, kGroupReadWrite = 0060, kOthersReadWrite = 0006;
    access.groupGrantsAccess = (node->mode & kGroupReadWrite) == kGroupReadWrite;
    access.listedInGroup =
        !access.group.empty() &&
        std::find(user.listedIn.begin(), user.listedIn.end(), access.group) != user.listedIn.end();
    access.groupInSession = std::find(user.sessionGids.begin(), user.sessionGids.end(),
                                      node->group) != user.sessionGids.end();
    // The owner's bits for the owner, the group's for a member, else the others'.
    const unsigned wanted = user.uid == node->owner ? kOwnerReadWrite
                            : access.groupInSession ? kGroupReadWrite
                                                    : kOthersReadWrite;
    access.allowed = user.uid == 0 || (node->mode & wanted) == wanted;
    return access;
}

bool SurelyNotSerial(const fs::path& device) {
    const std::optional<DeviceNode> node = DescribeDevice(device);
    return node && (!node->character || node->memoryDevice);
}

std::optional<OpenProblem> LockHolder(const SystemPaths& paths, std::string_view device) {
    const auto lock = ReadLockFile(paths, LockFileName(device));
    if (!lock || lock->pid <= 0 || lock->pid == ProcessId() || !ProcessRuns(paths, lock->pid))
        return std::nullopt;
    OpenProblem problem;
    problem.kind = OpenProblem::Kind::HeldBy;
    problem.device = std::string(device);
    problem.pid = lock->pid;
    problem.program = lock->program.empty() ? ProcessName(paths, lock->pid) : lock->program;
    return problem;
}

OpenProblem DiagnoseOpenFailure(const SystemPaths& paths, std::string_view device,
                                std::string_view error) {
    OpenProblem problem;
    problem.device = std::string(device);
    const UserGroups user = ReadUserGroups(paths);
    const DeviceAccess access = CheckDeviceAccess(paths, device, user);
    if (!access.exists) {
        problem.kind = OpenProblem::Kind::Missing;
        return problem;
    }
    if (auto held = LockHolder(paths, device)) return *held;
    const long self = ProcessId();
    if (const auto lock = ReadLockFile(paths, LockFileName(device)); lock && lock->pid != self) {
        // Its process is gone: take the lock over where the folder allows.
        std::error_code ec;
        if (fs::remove(lock->path, ec) && !ec) {
            problem.kind = OpenProblem::Kind::TakenOver;
            return problem;
        }
        problem.kind = OpenProblem::Kind::StaleLock;
        problem.pid = lock->pid;
        problem.lockFile = lock->shownPath;
        return problem;
    }
    if (!access.allowed) {
        problem.group = access.group;
        if (access.group.empty() || !access.groupGrantsAccess)
            problem.kind = OpenProblem::Kind::NoPermission;
        else if (access.listedInGroup && !access.groupInSession)
            problem.kind = OpenProblem::Kind::GroupNotInSession;
        else
            problem.kind = OpenProblem::Kind::NotInGroup;
        return problem;
    }
    if (const auto holders = ProcessesHolding(paths, device); !holders.empty()) {
        problem.kind = OpenProblem::Kind::HeldBy;
        problem.pid = holders.front();
        problem.program = ProcessName(paths, problem.pid);
        return problem;
    }
    problem.kind = OpenProblem::Kind::Other;
    problem.error = std::string(error);
    return problem;
}

std::string OpenProblemText(const OpenProblem& problem, int port, int languageMode) {
    const std::string& device = problem.device;
    switch (problem.kind) {
    case OpenProblem::Kind::Missing:
        return LocalizeFilled(linktext::kDeviceMissing, languageMode, {device});
    case OpenProblem::Kind::NotInGroup:
        return LocalizeFilled(linktext::kNotInGroup, languageMode, {device, problem.group});
    case OpenProblem::Kind::GroupNotInSession:
        return LocalizeFilled(linktext::kGroupNotInSession, languageMode, {device, problem.group});
    case OpenProblem::Kind::NotSerial:
        return LocalizeFilled(linktext::kNotSerial, languageMode, {device});
    case OpenProblem::Kind::NoPermission:
        return LocalizeFilled(linktext::kNoPermission, languageMode, {device});
    case OpenProblem::Kind::HeldBy: {
        std::string text =
            port >= 1 && port <= 8 ? Localize(PortInUseMessage(port).text, languageMode) : "";
        if (problem.pid > 0) {
            if (!text.empty()) text += "\n";
            text += LocalizeFilled(linktext::kHeldBy, languageMode,
                                   {device, std::to_string(problem.pid),
                                    problem.program.empty() ? "?" : problem.program});
        }
        // No port number and no holder to name (Windows tells none).
        return text.empty() ? LocalizeFilled(linktext::kPortBusy, languageMode, {device}) : text;
    }
    case OpenProblem::Kind::StaleLock:
        return LocalizeFilled(linktext::kStaleLock, languageMode,
                              {device, problem.lockFile, std::to_string(problem.pid)});
    case OpenProblem::Kind::TakenOver:
    case OpenProblem::Kind::Other:
        break;
    }
    return LocalizeFilled(linktext::kCannotOpen, languageMode, {device, problem.error});
}

} // namespace quelro
