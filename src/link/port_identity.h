// Which cable a serial device is: its USB description, vendor:product ID and
// serial number as /sys tells them, and the /dev/serial/by-id link udev keeps
// for it, whose name stays when the device's number changes. And the memory
// of the adapter the user picked, so that the next start opens it under
// whatever number it has then.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/system_paths.h"

namespace quelro {

struct PortIdentity {
    std::string device; // /dev/ttyUSB0
    bool exists = false;
    bool usb = false;
    std::string vendorId, productId; // "1a86", "7523"
    std::string manufacturer, product, serial;
    std::string driver; // the tty's driver: ch341-uart, cp210x, ...
    std::string byId;   // /dev/serial/by-id/..., empty when there is none
    bool operator==(const PortIdentity&) const = default;
};
// On Windows `device` is a port's name (COM3) and the identity comes from
// SetupAPI; `paths` is not looked at there.
PortIdentity IdentifyPort(const SystemPaths& paths, std::string_view device);

#ifdef _WIN32
// The serial ports Windows has (COM1, COM7 ...), in numeric order.
std::vector<std::string> ComPortsPresent();
#endif

// "QinHeng Electronics USB Serial, USB 1a86:7523, serial number A1B2,
// /dev/serial/by-id/usb-..."; empty for a device /sys knows nothing of.
std::string IdentityText(const PortIdentity& identity, int languageMode);

// The device a /dev/serial/by-id link points to now (under the root), if the
// link is there.
std::optional<std::string> ResolveById(const SystemPaths& paths, std::string_view byId);

// The by-id path of the adapter picked last (the file `adapter` in the
// configuration folder), and keeping it: an empty path forgets it.
inline constexpr std::string_view kAdapterFileName = "adapter";
std::optional<std::string> RememberedAdapter(const std::filesystem::path& configFolder);
void RememberAdapter(const std::filesystem::path& configFolder, const std::string& byId);

// The port to open at start-up: the number under which the remembered
// adapter is found now, else SavedPort, but not when SavedPort now stands
// for another adapter (0: open none). `devices` are the devices of COM1..COM8.
int StartUpPort(int savedPort, const std::optional<std::string>& remembered,
                const SystemPaths& paths, const std::array<std::optional<std::string>, 8>& devices);

} // namespace quelro
