// The serial port check: what on this system stands between the user and the
// programming cable, one finding per line with its fix. The users' groups
// against the devices' groups, USB serial adapters plugged in without a
// serial device (and who holds them: brltty, another driver, none),
// ModemManager, the lock files of serial ports and their holders, and each
// device's identity. Reads under SystemPaths only: sys, proc, dev, run/lock,
// etc (users and groups) and the udev rule folders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/port_identity.h"
#include "link/system_paths.h"

namespace quelro {

struct Finding {
    enum class Kind {
        DeviceReady,
        DeviceMissing, // named for a port, not present
        DeviceNotInGroup,
        DeviceGroupNotInSession,
        DeviceNoPermission,
        DeviceHeld,
        AdapterTakenByBrltty,
        AdapterHeldByDriver,
        AdapterWithoutDriver,
        ModemManagerRuled,
        ModemManagerUnruled,
        LockHeld,
        LockStale,
        NoAdapter,
        AllWell,
    };
    Kind kind = Kind::AllWell;
    std::string subject;   // the device, the adapter's chip, the lock file
    std::string detail;    // the adapter's USB ID; a holder's program
    std::string group;     // the device's group
    long pid = 0;          // a holder; brltty's process
    std::string other;     // the driver, the kernel module, brltty's rule
    PortIdentity identity; // devices
    bool operator==(const Finding&) const = default;
    // Something the user has to mend.
    bool Problem() const;
};

// A USB serial chip programming cables are made with.
struct KnownAdapter {
    std::string_view vendorId, productId, chip, module;
};
// CH340, CH341, PL2303, CP210x and FTDI, with the kernel module of each.
const std::vector<KnownAdapter>& KnownAdapters();

// The file name of the udev rule this program ships.
inline constexpr std::string_view kUdevRuleName = "60-quelro-cables.rules";

// `portDevices`: the devices that ports are set to stand for (the ports
// file's lines), checked as the USB serial devices are, and reported when
// missing.
std::vector<Finding> CheckSystem(const SystemPaths& paths,
                                 const std::vector<std::string>& portDevices = {});
std::string FindingText(const Finding& finding, int languageMode);

} // namespace quelro
