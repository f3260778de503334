// Port numbers to device paths.
#include "link/port_map.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <fstream>
#include <tuple>

#include "i18n/captions_link.h"
#include "i18n/unicode_path.h"
#include "link/port_identity.h"

namespace quelro {

namespace {

constexpr std::array<std::string_view, 3> kDeviceGroups{"ttyUSB", "ttyACM", "ttyS"};

// Group, number and name of a device, for ordering.
std::tuple<std::size_t, long, std::string> DeviceKey(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    for (std::size_t group = 0; group < kDeviceGroups.size(); ++group) {
        const std::string_view prefix = kDeviceGroups[group];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        // from_chars cannot throw: a number too long to hold sorts last.
        long number = LONG_MAX;
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
        return {group, number, name};
    }
    return {kDeviceGroups.size(), 0, name};
}

std::string Trim(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && blank(text[first])) ++first;
    return text.substr(first);
}

// The ports file is a few lines; a longer one is not read beyond this.
constexpr int kPortsFileLines = 200;

std::string PortsFileText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string text, line;
    for (int i = 1; i <= kPortsFileLines && std::getline(in, line); ++i) text += line + '\n';
    return text;
}

std::optional<std::string> PortsFileLine(const std::filesystem::path& configFolder, int n) {
    return PortsFileDevice(PortsFileText(configFolder / kPortsFileName), n);
}

bool IsComment(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

} // namespace

std::optional<std::string> PortsFileDevice(std::string_view text, int n) {
    if (n < 1 || n > kPortCount) return std::nullopt;
    // Comment lines do not count; every other line, empty ones too, is a port.
    for (int i = 1; i <= n && !text.empty();) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (IsComment(raw)) continue;
        if (i++ < n) continue;
        std::string line = Trim(std::string(raw));
        if (line.empty()) return std::nullopt;
        if (line.find('/') == std::string::npos) line = "/dev/" + line;
        return line;
    }
    return std::nullopt;
}

int PortsFileLineNumber(std::string_view text, int n) {
    int line = 0;
    for (int port = 0; !text.empty();) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const bool comment = IsComment(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++line;
        if (!comment && ++port == n) return line;
        if (text.empty()) return line + n - port;
    }
    return line + n;
}

std::vector<std::string> OrderSerialDevices(std::vector<std::string> devices) {
    std::sort(devices.begin(), devices.end(), [](const std::string& a, const std::string& b) {
        return DeviceKey(a) < DeviceKey(b);
    });
    return devices;
}

std::optional<PortDevice> DeviceForPort(int n, const std::filesystem::path& configFolder,
                                        const std::vector<std::string>& devicesPresent) {
    if (n < 1 || n > kPortCount) return std::nullopt;
    if (auto line = PortsFileLine(configFolder, n)) return PortDevice{*line, true};
#ifdef _WIN32
    // Windows names its ports itself.
    (void)devicesPresent;
    return PortDevice{"COM" + std::to_string(n), false};
#else
    const std::vector<std::string> ordered = OrderSerialDevices(devicesPresent);
    if (static_cast<std::size_t>(n) > ordered.size()) return std::nullopt;
    return PortDevice{ordered[n - 1], false};
#endif
}

std::optional<int> PortNumberFromName(std::string_view name) {
    if (name.size() != 4) return std::nullopt;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (upper(name[0]) != 'C' || upper(name[1]) != 'O' || upper(name[2]) != 'M')
        return std::nullopt;
    if (name[3] < '1' || name[3] > '0' + kPortCount) return std::nullopt;
    return name[3] - '0';
}

std::string WindowsDevicePath(std::string_view port) {
    if (port.substr(0, 4) == "\\\\.\\") return std::string(port);
    return "\\\\.\\" + std::string(port);
}

std::string NoDeviceLine(int n, const std::filesystem::path& portsFile, int languageMode) {
    static constexpr Caption kText{
        "没有串行设备对应 COM#：请接上编程线，或在文件 @ 的第 # 行写明其设备。",
        "No serial device is assigned to COM#: plug in the programming cable, or name its "
        "device on line # of @."};
    // The marks are filled in after the conversion, which leaves them alone.
    std::string text = Localize(kText, languageMode);
    std::string filled;
    bool portDone = false;
    for (const char c : text) {
        if (c == '#' && !portDone) {
            filled += std::to_string(n);
            portDone = true;
        } else if (c == '#')
            filled += std::to_string(PortsFileLineNumber(PortsFileText(portsFile), n));
        else if (c == '@')
            filled += Utf8Of(portsFile);
        else
            filled += c;
    }
    return filled;
}

std::string PortStatusTip(const std::optional<PortDevice>& device, const SystemPaths& paths,
                          int languageMode) {
    static constexpr Caption kNoDevice{"没有对应的串行设备", "No serial device"};
    if (!device) return Localize(kNoDevice, languageMode);
    const PortIdentity identity = IdentifyPort(paths, device->path);
    if (!identity.exists) return device->path + Localize(linktext::kMissingMark, languageMode);
    const std::string text = IdentityText(identity, languageMode);
    return text.empty() ? device->path : device->path + " - " + text;
}

} // namespace quelro
