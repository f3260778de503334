// The serial port check and the identity of devices, against system trees
// built in the test.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "i18n/captions.h"
#include "link/fake_system.h"
#include "link/port_identity.h"
#include "link/system_check.h"

namespace quelro::test {
namespace {

const FakeSystem::Usb kCh340{
    "1-2", "1a86",    "7523",  "QinHeng Electronics",           "USB Serial",
    "",    "ttyUSB0", "ch341", "usb-1a86_USB_Serial-if00-port0"};

std::vector<std::string> Lines(const FakeSystem& system, int language = kEnglish) {
    std::vector<std::string> lines;
    for (const Finding& finding : CheckSystem(system.Paths()))
        lines.push_back(FindingText(finding, language));
    return lines;
}

TEST(PortIdentity, FromSysAndById) {
    FakeSystem system;
    system.Adapter({"3-1", "10c4", "ea60", "Silicon Labs", "CP2102 USB to UART", "0001", "ttyUSB1",
                    "cp210x", "usb-Silicon_Labs_CP2102-if00-port0"});
    const PortIdentity identity = IdentifyPort(system.Paths(), "/dev/ttyUSB1");
    EXPECT_TRUE(identity.exists && identity.usb);
    EXPECT_EQ(IdentityText(identity, kEnglish),
              "Silicon Labs CP2102 USB to UART, USB 10c4:ea60, serial number 0001, "
              "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0");
    EXPECT_EQ(IdentityText(identity, kSimplified),
              "Silicon Labs CP2102 USB to UART, USB 10c4:ea60, 序列号 0001, "
              "/dev/serial/by-id/usb-Silicon_Labs_CP2102-if00-port0");
    EXPECT_EQ(ResolveById(system.Paths(), identity.byId), "/dev/ttyUSB1");
    // A device /sys knows nothing of, and one that is not there.
    system.Device("/dev/ttyS0", 0660);
    EXPECT_EQ(IdentityText(IdentifyPort(system.Paths(), "/dev/ttyS0"), kEnglish), "");
    EXPECT_FALSE(IdentifyPort(system.Paths(), "/dev/ttyUSB7").exists);
}

// The adapter picked last is opened under the number it has now; when it
// is away, SavedPort is opened unless it now stands for another adapter.
TEST(PortIdentity, StartUpPortFollowsTheRememberedAdapter) {
    FakeSystem system;
    system.Adapter(kCh340);
    system.Adapter({"1-3", "067b", "2303", "Prolific", "USB-Serial", "", "ttyUSB1", "pl2303",
                    "usb-Prolific_USB-Serial-if00-port0"});
    const std::string ch340 = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
    const std::array<std::optional<std::string>, 8> now{"/dev/ttyUSB1", "/dev/ttyUSB0",
                                                        "/dev/ttyS0"};
    struct Case {
        int saved;
        std::optional<std::string> remembered;
        int port;
    };
    for (const Case& c : {Case{1, ch340, 2}, Case{1, std::nullopt, 1},
                          Case{3, "/dev/serial/by-id/usb-gone-if00-port0", 3},
                          Case{1, "/dev/serial/by-id/usb-gone-if00-port0", 0}, Case{0, ch340, 2}}) {
        EXPECT_EQ(StartUpPort(c.saved, c.remembered, system.Paths(), now), c.port)
            << c.saved << " " << c.remembered.value_or("-");
    }
    // The memory file: kept, forgotten.
    const auto folder = system.Root() / "config";
    RememberAdapter(folder, ch340);
    EXPECT_EQ(RememberedAdapter(folder), ch340);
    RememberAdapter(folder, "");
    EXPECT_FALSE(RememberedAdapter(folder).has_value());
}

struct CheckCase {
    const char* name;
    std::function<void(FakeSystem&, unsigned gid)> system;
    std::vector<std::string> lines;
};

TEST(SystemCheck, OneLinePerFindingWithItsFix) {
    const std::vector<CheckCase> cases{
        {"nothing plugged in",
         [](FakeSystem&, unsigned) {},
         {"No USB serial device found: plug in the programming cable."}},
        {"a cable ready to use",
         [](FakeSystem& s, unsigned gid) {
             s.User("1000 " + std::to_string(gid));
             s.Adapter(kCh340);
         },
         {"/dev/ttyUSB0 (QinHeng Electronics USB Serial, USB 1a86:7523, "
          "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0): ready to use.",
          "Nothing wrong found."}},
        {"a built-in port COM1 may stand for, the group's, and one the kernel only lists",
         [](FakeSystem& s, unsigned) {
             s.File("/sys/class/tty/ttyS0/type", "4\n");
             s.File("/sys/class/tty/ttyS1/type", "0\n");
             s.Device("/dev/ttyS0", 0660);
             s.Device("/dev/ttyS1", 0660);
         },
         {"No permission to open /dev/ttyS0 (it belongs to the group dialout): run sudo "
          "usermod -aG dialout $USER, then log out and in again.",
          "No USB serial device found: plug in the programming cable."}},
        {"not in the group",
         [](FakeSystem& s, unsigned) {
             s.User("1000");
             s.Adapter(kCh340);
         },
         {"No permission to open /dev/ttyUSB0 (it belongs to the group dialout): run sudo "
          "usermod -aG dialout $USER, then log out and in again."}},
        {"in the group, not in this session",
         [](FakeSystem& s, unsigned gid) {
             s.User("1000");
             s.File("/etc/group", "dialout:x:" + std::to_string(gid) + ":alice\n");
             s.Adapter(kCh340);
         },
         {"No permission to open /dev/ttyUSB0 (it belongs to the group dialout): you were "
          "added to dialout, but this login session does not have it yet. Log out and in "
          "again."}},
        {"brltty holds a CH340",
         [](FakeSystem& s, unsigned) {
             s.Adapter({"1-2", "1a86", "7523", "", "USB Serial", "", "", "usbfs", ""});
             s.Process(321, "brltty");
         },
         {"CH340 (USB 1a86:7523) is plugged in but has no serial device: brltty takes it for a "
          "braille display (process 321). Unless you use one, run sudo apt remove brltty, then "
          "plug the cable in again."}},
        {"brltty's rule names a PL2303",
         [](FakeSystem& s, unsigned) {
             s.Adapter({"1-4", "067b", "2303", "", "", "", "", "", ""});
             s.File("/usr/lib/udev/rules.d/85-brltty.rules",
                    "ENV{PRODUCT}==\"67b/2303/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"sk\"\n");
         },
         {"PL2303 (USB 067b:2303) is plugged in but has no serial device: brltty takes it for a "
          "braille display (rule /usr/lib/udev/rules.d/85-brltty.rules). Unless you use one, "
          "run sudo apt remove brltty, then plug the cable in again."}},
        {"another driver holds an FTDI",
         [](FakeSystem& s, unsigned) {
             s.Adapter({"2-1", "0403", "6001", "FTDI", "FT232R", "A10K", "", "usbhid", ""});
         },
         {"FT232R (USB 0403:6001) is plugged in but has no serial device: the driver usbhid "
          "holds it. Unplug the cable and plug it in again."}},
        {"no driver for a CP210x",
         [](FakeSystem& s, unsigned) {
             s.Adapter({"2-2", "10c4", "ea60", "", "", "", "", "", ""});
         },
         {"CP210x (USB 10c4:ea60) is plugged in but no driver took it: run sudo modprobe cp210x, "
          "then plug the cable in again."}},
        {"ModemManager, with and without the rule",
         [](FakeSystem& s, unsigned gid) {
             s.User("1000 " + std::to_string(gid));
             s.Adapter(kCh340);
             s.Process(77, "ModemManager");
         },
         {"/dev/ttyUSB0 (QinHeng Electronics USB Serial, USB 1a86:7523, "
          "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0): ready to use.",
          "ModemManager (process 77) is running and probes every new serial port, which disturbs "
          "the radio: run sudo systemctl stop ModemManager, or reinstall this program to get its "
          "udev rule."}},
        {"lock files and a holder",
         [](FakeSystem& s, unsigned gid) {
             s.User("1000 " + std::to_string(gid));
             s.Adapter(kCh340);
             s.Process(900, "minicom");
             s.Link("/proc/900/fd/3", "/dev/ttyUSB0");
             s.File("/run/lock/LCK..ttyUSB0", "       900\n");
             s.File("/run/lock/LCK..ttyS0", "4711\nquelro\nhost\n");
         },
         {"/dev/ttyUSB0 is in use by process 900 (minicom): close that program first.",
          "Lock file /run/lock/LCK..ttyS0 is stale (process 4711 no longer runs): remove it "
          "with sudo rm /run/lock/LCK..ttyS0.",
          "Lock file /run/lock/LCK..ttyUSB0: the port is in use by process 900 (minicom)."}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem system;
        // The device nodes get the gid of the test's files: etc/group calls it dialout.
        const unsigned gid = system.Device("/dev/probe", 0660);
        std::filesystem::remove(system.Paths().At("/dev/probe"));
        system.File("/etc/group", "dialout:x:" + std::to_string(gid) + ":bob\n");
        system.User("1000");
        c.system(system, gid);
        EXPECT_EQ(Lines(system), c.lines);
    }
}

TEST(SystemCheck, ModemManagerWithTheRuleInstalledAndChinese) {
    FakeSystem system;
    system.Process(77, "ModemManager");
    system.File(std::string("/usr/lib/udev/rules.d/") + std::string(kUdevRuleName), "");
    EXPECT_EQ(Lines(system, kSimplified),
              (std::vector<std::string>{
                  "没有找到 USB 串口设备：请插上编程线。",
                  "ModemManager（进程 77）正在运行。本软件的 udev 规则已让它避开常见的编程线；"
                  "若使用其它串口线，请执行 sudo systemctl stop ModemManager。"}));
}

// The rule the package ships tells ModemManager to leave every adapter the
// check knows alone.
TEST(SystemCheck, UdevRuleCoversTheKnownAdapters) {
    std::ifstream in(std::string(QUELRO_SOURCE_DIR) + "/packaging/udev/" +
                     std::string(kUdevRuleName));
    ASSERT_TRUE(in);
    std::vector<std::string> rules;
    for (std::string line; std::getline(in, line);)
        if (line.find("ID_MM_DEVICE_IGNORE}=\"1\"") != std::string::npos) rules.push_back(line);
    for (const KnownAdapter& adapter : KnownAdapters()) {
        const std::string ids = "ATTRS{idVendor}==\"" + std::string(adapter.vendorId) +
                                "\", ATTRS{idProduct}==\"" + std::string(adapter.productId) + "\"";
        EXPECT_TRUE(std::any_of(rules.begin(), rules.end(), [&](const std::string& r) {
            return r.find(ids) != std::string::npos;
        })) << adapter.chip;
    }
}

} // namespace
} // namespace quelro::test
