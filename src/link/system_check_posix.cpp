// The serial port check on Linux: groups, device nodes, /sys, brltty,
// ModemManager and lock files.
#include <algorithm>
#include <system_error>

#include "link/port_diagnosis.h"
#include "link/port_map.h"
#include "link/system_check.h"

namespace quelro {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxEntries = 2000; // of any folder looked through
constexpr int kTtyDepth = 3;      // <usb device>/<interface>/tty/ttyACM0

Finding Make(Finding::Kind kind, std::string subject = {}, std::string detail = {}) {
    Finding finding;
    finding.kind = kind;
    finding.subject = std::move(subject);
    finding.detail = std::move(detail);
    return finding;
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    int seen = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end && ++seen <= kMaxEntries;
         it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The tty names (ttyUSB0, ttyACM1) under a USB device's folder.
void FindTtys(const fs::path& folder, int depth, std::vector<std::string>& found) {
    if (depth > kTtyDepth) return;
    for (const std::string& name : Entries(folder)) {
        if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM")) {
            found.push_back(name);
            continue;
        }
        std::error_code ec;
        // Interfaces (1-2:1.0) and the tty folder; the links back up are not followed.
        const fs::path child = folder / name;
        if ((name.find(':') != std::string::npos || name == "tty") && fs::is_directory(child, ec) &&
            !fs::is_symlink(child, ec))
            FindTtys(child, depth + 1, found);
    }
}

std::string Attribute(const fs::path& folder, const char* name) {
    std::string text = ReadSmallFile(folder / name, 256);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

std::string WithoutLeadingZeros(std::string_view id) {
    while (id.size() > 1 && id.front() == '0') id.remove_prefix(1);
    return std::string(id);
}

// A brltty udev rule that names the adapter (as "1a86/7523" in PRODUCT).
std::string BrlttyRuleFor(const SystemPaths& paths, const KnownAdapter& adapter) {
    const std::string product =
        WithoutLeadingZeros(adapter.vendorId) + "/" + WithoutLeadingZeros(adapter.productId);
    for (const char* folder : {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"})
        for (const std::string& name : Entries(paths.At(folder))) {
            if (name.find("brltty") == std::string::npos) continue;
            std::string text = ReadSmallFile(paths.At(folder) / name, 1 << 20);
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (text.find(product) != std::string::npos) return std::string(folder) + "/" + name;
        }
    return {};
}

// The driver bound to the first interface of a USB device that has one.
std::string InterfaceDriver(const fs::path& device) {
    for (const std::string& name : Entries(device)) {
        if (name.find(':') == std::string::npos) continue;
        std::error_code ec;
        const fs::path driver = fs::read_symlink(device / name / "driver", ec);
        if (!ec) return driver.filename().string();
    }
    return {};
}

bool UdevRuleInstalled(const SystemPaths& paths) {
    std::error_code ec;
    for (const char* folder : {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"})
        if (fs::exists(paths.At(folder) / kUdevRuleName, ec)) return true;
    return false;
}

// The kernel lists every 8250 port it could drive; one with a UART behind it
// has a type other than 0 (none).
bool UartPresent(const SystemPaths& paths, const std::string& name) {
    const std::string type = ReadSmallFile(paths.At("/sys/class/tty") / name / "type", 16);
    return !type.empty() && type != "0" && type != "0\n";
}

void CheckDevices(const SystemPaths& paths, const std::vector<std::string>& portDevices,
                  std::vector<Finding>& findings) {
    const UserGroups user = ReadUserGroups(paths);
    std::vector<std::string> devices;
    for (const std::string& name : Entries(paths.At("/sys/class/tty")))
        if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM") ||
            (StartsWith(name, "ttyS") && UartPresent(paths, name)))
            devices.push_back("/dev/" + name);
    devices = OrderSerialDevices(devices);
    // A ttyS port matters where COM1..COM8 may stand for it; the USB
    // adapters come first.
    for (std::size_t i = devices.size(); i-- > static_cast<std::size_t>(kPortCount);)
        if (StartsWith(devices[i], "/dev/ttyS")) devices.erase(devices.begin() + i);
    for (const std::string& device : portDevices)
        if (std::find(devices.begin(), devices.end(), device) == devices.end())
            devices.push_back(device);
    for (const std::string& device : devices) {
        const bool named =
            std::find(portDevices.begin(), portDevices.end(), device) != portDevices.end();
        Finding finding = Make(Finding::Kind::DeviceReady, device);
        finding.identity = IdentifyPort(paths, device);
        if (!finding.identity.exists) {
            // A USB adapter without its node is reported below.
            if (named) findings.push_back(Make(Finding::Kind::DeviceMissing, device));
            continue;
        }
        const DeviceAccess access = CheckDeviceAccess(paths, device, user);
        finding.group = access.group;
        const std::vector<long> holders = ProcessesHolding(paths, device);
        if (!access.allowed)
            finding.kind = access.group.empty() || !access.groupGrantsAccess
                               ? Finding::Kind::DeviceNoPermission
                           : access.listedInGroup && !access.groupInSession
                               ? Finding::Kind::DeviceGroupNotInSession
                               : Finding::Kind::DeviceNotInGroup;
        else if (!holders.empty()) {
            finding.kind = Finding::Kind::DeviceHeld;
            finding.pid = holders.front();
            finding.detail = ProcessName(paths, finding.pid);
        }
        findings.push_back(finding);
    }
}

void CheckAdapters(const SystemPaths& paths, std::vector<Finding>& findings) {
    const std::vector<long> brltty = ProcessesNamed(paths, "brltty");
    for (const std::string& name : Entries(paths.At("/sys/bus/usb/devices"))) {
        if (name.find(':') != std::string::npos) continue; // an interface
        std::error_code ec;
        const fs::path device = fs::weakly_canonical(paths.At("/sys/bus/usb/devices") / name, ec);
        const std::string vendor = Attribute(device, "idVendor");
        const std::string product = Attribute(device, "idProduct");
        const auto& known = KnownAdapters();
        const auto adapter = std::find_if(known.begin(), known.end(), [&](const KnownAdapter& a) {
            return a.vendorId == vendor && a.productId == product;
        });
        if (adapter == known.end()) continue;
        std::vector<std::string> ttys;
        FindTtys(device, 0, ttys);
        const bool hasNode = std::any_of(ttys.begin(), ttys.end(), [&](const std::string& tty) {
            std::error_code nodeError;
            return fs::exists(paths.At("/dev/" + tty), nodeError);
        });
        if (hasNode) continue;
        Finding finding = Make(Finding::Kind::AdapterWithoutDriver, std::string(adapter->chip),
                               vendor + ":" + product);
        const std::string rule = BrlttyRuleFor(paths, *adapter);
        const std::string driver = InterfaceDriver(device);
        if (!brltty.empty() || !rule.empty()) {
            finding.kind = Finding::Kind::AdapterTakenByBrltty;
            if (!brltty.empty())
                finding.pid = brltty.front();
            else
                finding.other = rule;
        } else if (!driver.empty()) {
            finding.kind = Finding::Kind::AdapterHeldByDriver;
            finding.other = driver;
        } else {
            finding.other = std::string(adapter->module);
        }
        findings.push_back(finding);
    }
}

} // namespace

std::vector<Finding> CheckSystem(const SystemPaths& paths,
                                 const std::vector<std::string>& portDevices) {
    std::vector<Finding> findings;
    CheckDevices(paths, portDevices, findings);
    CheckAdapters(paths, findings);
    // A built-in ttyS port is no programming cable.
    if (std::all_of(findings.begin(), findings.end(),
                    [](const Finding& f) { return StartsWith(f.subject, "/dev/ttyS"); }))
        findings.push_back(Make(Finding::Kind::NoAdapter));
    if (const auto mm = ProcessesNamed(paths, "ModemManager"); !mm.empty()) {
        Finding finding = Make(UdevRuleInstalled(paths) ? Finding::Kind::ModemManagerRuled
                                                        : Finding::Kind::ModemManagerUnruled);
        finding.pid = mm.front();
        findings.push_back(finding);
    }
    for (const LockFile& lock : LockFiles(paths)) {
        Finding finding = Make(Finding::Kind::LockStale, lock.shownPath);
        finding.pid = lock.pid;
        if (lock.pid > 0 && ProcessRuns(paths, lock.pid)) {
            finding.kind = Finding::Kind::LockHeld;
            finding.detail = lock.program.empty() ? ProcessName(paths, lock.pid) : lock.program;
        }
        findings.push_back(finding);
    }
    if (std::none_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.Problem(); }))
        findings.push_back(Make(Finding::Kind::AllWell));
    return findings;
}

} // namespace quelro
