// Why a device did not open, found out from a system tree of the test's own.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "i18n/captions.h"
#include "link/fake_system.h"
#include "link/port_diagnosis.h"

namespace quelro {
void PrintTo(const OpenProblem& p, std::ostream* out) {
    *out << "kind " << static_cast<int>(p.kind) << " " << p.device << " group " << p.group
         << " pid " << p.pid << " " << p.program << " lock " << p.lockFile << " " << p.error;
}
} // namespace quelro

namespace quelro::test {
namespace {

using Kind = OpenProblem::Kind;

struct Case {
    const char* name;
    std::function<void(FakeSystem&)> system; // after the device and the user exist
    mode_t mode;
    const char* group; // etc/group's line for the device's gid, %g standing for it
    OpenProblem expected;
};

std::string WithGid(std::string line, unsigned gid) {
    const auto at = line.find("%g");
    if (at != std::string::npos) line.replace(at, 2, std::to_string(gid));
    return line;
}

TEST(OpenDiagnosis, FindsOutWhyTheDeviceDidNotOpen) {
    const std::string dev = "/dev/ttyUSB0";
    const auto problem = [&](Kind kind) {
        OpenProblem p;
        p.kind = kind;
        p.device = dev;
        return p;
    };
    OpenProblem notInGroup = problem(Kind::NotInGroup);
    notInGroup.group = "dialout";
    OpenProblem notInSession = problem(Kind::GroupNotInSession);
    notInSession.group = "dialout";
    OpenProblem noPermission = problem(Kind::NoPermission);
    noPermission.group = "dialout";
    OpenProblem qtLock = problem(Kind::HeldBy);
    qtLock.pid = 4242;
    qtLock.program = "minicom";
    OpenProblem uucpLock = problem(Kind::HeldBy);
    uucpLock.pid = 4243;
    uucpLock.program = "picocom";
    OpenProblem stale = problem(Kind::TakenOver);
    OpenProblem openFile = problem(Kind::HeldBy);
    openFile.pid = 555;
    openFile.program = "ModemManager";
    OpenProblem other = problem(Kind::Other);
    other.error = "Unknown error";

    const std::vector<Case> cases{
        {"missing", [&](FakeSystem& s) { std::filesystem::remove(s.Paths().At(dev)); }, 0660,
         "dialout:x:%g:", problem(Kind::Missing)},
        {"not in the group", [](FakeSystem&) {}, 0660, "dialout:x:%g:bob", notInGroup},
        {"in the group, not in this session", [](FakeSystem&) {}, 0660, "dialout:x:%g:bob,alice",
         notInSession},
        {"the group may not write", [](FakeSystem&) {}, 0640, "dialout:x:%g:alice", noPermission},
        {"Qt's lock file",
         [](FakeSystem& s) {
             s.File("/run/lock/LCK..ttyUSB0", "4242\nminicom\nhost\n");
             s.Process(4242, "minicom-real");
         },
         0666, "dialout:x:%g:", qtLock},
        {"a UUCP lock file",
         [](FakeSystem& s) {
             s.File("/run/lock/LCK..ttyUSB0", "      4243\n");
             s.Process(4243, "picocom");
         },
         0666, "dialout:x:%g:", uucpLock},
        {"a stale lock file",
         [](FakeSystem& s) { s.File("/run/lock/LCK..ttyUSB0", "999\nquelro\nhost\n"); }, 0666,
         "dialout:x:%g:", stale},
        {"open in another process",
         [](FakeSystem& s) {
             s.Process(555, "ModemManager");
             s.Link("/proc/555/fd/7", "/dev/ttyUSB0");
             s.Link("/proc/556/fd/3", "/dev/ttyUSB1");
         },
         0666, "dialout:x:%g:", openFile},
        {"nothing to see", [](FakeSystem&) {}, 0666, "dialout:x:%g:", other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        const unsigned gid = system.Device(dev, c.mode);
        system.User("1000");
        system.File("/etc/group", "alice:x:1000:\n" + WithGid(c.group, gid) + "\n");
        c.system(system);
        EXPECT_EQ(DiagnoseOpenFailure(system.Paths(), dev, "Unknown error"), c.expected);
        if (c.expected.kind == Kind::TakenOver) {
            EXPECT_FALSE(std::filesystem::exists(system.Paths().At("/run/lock/LCK..ttyUSB0")));
        }
    }
}

TEST(OpenDiagnosis, PermissionIsTheSessionsNotTheFiles) {
    // In the group by etc/group and in this session: allowed.
    FakeSystem system;
    const unsigned gid = system.Device("/dev/ttyACM0", 0660);
    system.User("1000 " + std::to_string(gid));
    system.File("/etc/group", "dialout:x:" + std::to_string(gid) + ":alice\n");
    const DeviceAccess access =
        CheckDeviceAccess(system.Paths(), "/dev/ttyACM0", ReadUserGroups(system.Paths()));
    EXPECT_TRUE(access.allowed);
    EXPECT_EQ(access.group, "dialout");
    EXPECT_TRUE(access.listedInGroup && access.groupInSession);
}

TEST(OpenDiagnosis, Texts) {
    OpenProblem p;
    p.device = "/dev/ttyUSB0";
    p.kind = OpenProblem::Kind::NotInGroup;
    p.group = "dialout";
    EXPECT_EQ(OpenProblemText(p, 1, kEnglish),
              "No permission to open /dev/ttyUSB0 (it belongs to the group dialout): run sudo "
              "usermod -aG dialout $USER, then log out and in again.");
    p.kind = OpenProblem::Kind::GroupNotInSession;
    EXPECT_EQ(OpenProblemText(p, 1, kSimplified),
              "没有权限打开 /dev/ttyUSB0（它属于 dialout 组）：您已加入 dialout "
              "组，但本次登录还没有生效，请注销并重新登录。");
    p.kind = OpenProblem::Kind::HeldBy;
    p.pid = 4242;
    p.program = "minicom";
    EXPECT_EQ(OpenProblemText(p, 3, kEnglish),
              "Serial port 3 has been other programs use, please choose other serial or turn off "
              "its program.\n/dev/ttyUSB0 is in use by process 4242 (minicom).");
    EXPECT_EQ(OpenProblemText(p, 0, kEnglish), "/dev/ttyUSB0 is in use by process 4242 (minicom).");
    p.kind = OpenProblem::Kind::StaleLock;
    p.pid = 999;
    p.lockFile = "/run/lock/LCK..ttyUSB0";
    EXPECT_EQ(OpenProblemText(p, 1, kEnglish),
              "/dev/ttyUSB0 is locked by the stale lock file /run/lock/LCK..ttyUSB0 (process 999 "
              "no longer runs): remove it with sudo rm /run/lock/LCK..ttyUSB0, then try again.");
    p.kind = OpenProblem::Kind::Missing;
    EXPECT_EQ(OpenProblemText(p, 1, kSimplified),
              "串口设备 /dev/ttyUSB0 不存在：请插上编程线，或选择其它串口。");
    EXPECT_EQ(LockFileName("/dev/pts/3"), "LCK..pts_3");
}

} // namespace
} // namespace quelro::test
