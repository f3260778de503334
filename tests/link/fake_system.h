// A system tree of the test's own (sys, proc, dev, run/lock, etc, usr/lib)
// in a temporary folder, for the checks that read the system's state.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "link/system_paths.h"

namespace quelro::test {

class FakeSystem {
  public:
    FakeSystem() {
        root_ =
            std::filesystem::temp_directory_path() /
            ("quelro-fake-system-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "run/lock");
        std::filesystem::create_directories(root_ / "dev");
    }
    ~FakeSystem() { std::filesystem::remove_all(root_); }
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    SystemPaths Paths() const { return {root_}; }
    const std::filesystem::path& Root() const { return root_; }

    // A file at `absolute` under the root, with its folders.
    void File(const std::string& absolute, const std::string& text) const {
        const auto path = Paths().At(absolute);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // A symbolic link at `absolute` pointing to `target` (taken as it is).
    void Link(const std::string& absolute, const std::string& target) const {
        const auto path = Paths().At(absolute);
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::create_symlink(target, path);
    }
    // A device node stand-in: a plain file with the mode; returns its gid,
    // which etc/group may name.
    unsigned Device(const std::string& absolute, mode_t mode) const {
        File(absolute, "");
        ::chmod(Paths().At(absolute).c_str(), mode);
        struct stat info {};
        ::stat(Paths().At(absolute).c_str(), &info);
        return info.st_gid;
    }
    // The user of the session: uid 1000 "alice" with the session's groups
    // `groups` (space-separated numbers), and etc/passwd naming her.
    void User(const std::string& groups) const {
        File("/proc/self/status", "Name:\tquelro\nUid:\t1000\t1000\t1000\t1000\n"
                                  "Gid:\t1000\t1000\t1000\t1000\nGroups:\t" +
                                      groups + "\n");
        File("/etc/passwd", "root:x:0:0:root:/root:/bin/bash\n"
                            "alice:x:1000:1000:Alice:/home/alice:/bin/bash\n");
    }
    void Process(long pid, const std::string& name) const {
        File("/proc/" + std::to_string(pid) + "/comm", name + "\n");
    }

    // A USB serial adapter at USB port `port` ("1-2") as /sys shows it, with
    // relative links as the kernel makes them. `tty` ("ttyUSB0", or empty for
    // none) gets its class entry and its device node (mode 0660);
    // `driver` is the interface's driver (empty: none); `byId` a
    // /dev/serial/by-id name for the node.
    struct Usb {
        std::string port, vendor, product, manufacturer, name, serial, tty, driver, byId;
    };
    void Adapter(const Usb& usb) const {
        const std::string device = "/sys/devices/pci0000:00/0000:00:14.0/usb1/" + usb.port;
        File(device + "/idVendor", usb.vendor + "\n");
        File(device + "/idProduct", usb.product + "\n");
        if (!usb.manufacturer.empty()) File(device + "/manufacturer", usb.manufacturer + "\n");
        if (!usb.name.empty()) File(device + "/product", usb.name + "\n");
        if (!usb.serial.empty()) File(device + "/serial", usb.serial + "\n");
        Link("/sys/bus/usb/devices/" + usb.port,
             "../../../devices/pci0000:00/0000:00:14.0/usb1/" + usb.port);
        const std::string interface = device + "/" + usb.port + ":1.0";
        File(interface + "/bInterfaceNumber", "00\n");
        if (!usb.driver.empty()) {
            File("/sys/bus/usb/drivers/" + usb.driver + "/uevent", "");
            Link(interface + "/driver", "../../../../../../bus/usb/drivers/" + usb.driver);
        }
        if (usb.tty.empty()) return;
        File(interface + "/" + usb.tty + "/uevent", "");
        Link("/sys/class/tty/" + usb.tty + "/device",
             "../../../devices/pci0000:00/0000:00:14.0/usb1/" + usb.port + "/" + usb.port +
                 ":1.0/" + usb.tty);
        Device("/dev/" + usb.tty, 0660);
        if (!usb.byId.empty()) Link("/dev/serial/by-id/" + usb.byId, "../../" + usb.tty);
    }

  private:
    static inline int counter_ = 0;
    std::filesystem::path root_;
};

} // namespace quelro::test
