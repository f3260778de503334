// COM1..COM8: which serial device each port number stands for, and the
// texts that name a device.
//
// On Linux port N is line N of the text file `ports` in the configuration
// folder when that line names a device; otherwise it is the Nth serial
// device present, USB adapters first (ttyUSB*, then ttyACM*), then ttyS*,
// each in numeric order, then any other device by name. On Windows port N
// is the system's own COMN unless the ports file names another.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/captions.h"
#include "link/system_paths.h"

namespace quelro {

inline constexpr int kPortCount = 8;
inline constexpr std::string_view kPortsFileName = "ports";

// Device paths in COMn order.
std::vector<std::string> OrderSerialDevices(std::vector<std::string> devices);

struct PortDevice {
    std::string path;
    bool fromPortsFile = false;
};

// The device of port n (1..8). `devicesPresent` is the system's list in any
// order. A name in the ports file without a folder is taken under /dev.
std::optional<PortDevice> DeviceForPort(int n, const std::filesystem::path& configFolder,
                                        const std::vector<std::string>& devicesPresent);

// The device line n (1..8) of a ports file's text names, if any.
std::optional<std::string> PortsFileDevice(std::string_view text, int n);

// The line of a ports file's text (from 1) where port n's device stands,
// comments counted: past the end for a port the text does not reach.
int PortsFileLineNumber(std::string_view text, int n);

// "COM3" or "com3" -> 3, for COM1..COM8.
std::optional<int> PortNumberFromName(std::string_view name);

// The name Windows opens a port by: "COM12" -> "\\.\COM12" (the only form
// that reaches COM10 and above); a name already in that form stays.
std::string WindowsDevicePath(std::string_view port);

// The message when no serial device stands for port n: neither a line of the
// ports file `portsFile` nor a device present.
std::string NoDeviceLine(int n, const std::filesystem::path& portsFile, int languageMode);

// Status tip of a port's menu item: its device and what the system tells of
// it (PortIdentity), that the device is missing, or that there is none.
std::string PortStatusTip(const std::optional<PortDevice>& device, const SystemPaths& paths,
                          int languageMode);

} // namespace quelro
