// The serial port check on Windows: each COM port with its identity and
// whether another program holds it, and the known USB serial chips plugged
// in without a serial port (their driver is missing). Windows has no groups,
// udev, ModemManager or lock files to look at.
#include <windows.h>

#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include <algorithm>

#include "i18n/unicode_path.h"
#include "link/port_map.h"
#include "link/system_check.h"

namespace quelro {

namespace {

constexpr DWORD kMaxDevices = 512; // USB devices looked at

// Whether another program holds the port now: Windows opens a port once.
bool Busy(const std::string& port) {
    const std::filesystem::path name = PathFromUtf8(WindowsDevicePath(port));
    const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return false;
    }
    return ::GetLastError() == ERROR_ACCESS_DENIED;
}

// The vendor:product IDs ("1a86:7523") of the USB devices present.
std::vector<std::string> UsbDevicesPresent() {
    std::vector<std::string> ids;
    const HDEVINFO set =
        ::SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return ids;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; i < kMaxDevices && ::SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        wchar_t buffer[512] = {};
        if (!::SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_HARDWAREID, nullptr,
                                                 reinterpret_cast<BYTE*>(buffer),
                                                 sizeof buffer - sizeof(wchar_t), nullptr))
            continue;
        std::string id = Utf8Of(std::filesystem::path(buffer));
        std::transform(id.begin(), id.end(), id.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::size_t vid = id.find("vid_"), pid = id.find("pid_");
        if (vid != std::string::npos && pid != std::string::npos && pid + 8 <= id.size())
            ids.push_back(id.substr(vid + 4, 4) + ":" + id.substr(pid + 4, 4));
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return ids;
}

Finding Of(Finding::Kind kind) {
    Finding finding;
    finding.kind = kind;
    return finding;
}

} // namespace

std::vector<Finding> CheckSystem(const SystemPaths& paths, const std::vector<std::string>&) {
    std::vector<Finding> findings;
    std::vector<std::string> portIds;
    bool usbPort = false;
    for (const std::string& port : ComPortsPresent()) {
        Finding finding = Of(Busy(port) ? Finding::Kind::DeviceHeld : Finding::Kind::DeviceReady);
        finding.subject = port;
        finding.identity = IdentifyPort(paths, port);
        usbPort = usbPort || finding.identity.usb;
        if (finding.identity.usb)
            portIds.push_back(finding.identity.vendorId + ":" + finding.identity.productId);
        findings.push_back(finding);
    }
    for (const std::string& id : UsbDevicesPresent()) {
        const auto& known = KnownAdapters();
        const auto adapter = std::find_if(known.begin(), known.end(), [&](const KnownAdapter& a) {
            return id == std::string(a.vendorId) + ":" + std::string(a.productId);
        });
        if (adapter == known.end() || std::count(portIds.begin(), portIds.end(), id) > 0) continue;
        Finding finding = Of(Finding::Kind::AdapterWithoutDriver);
        finding.subject = std::string(adapter->chip);
        finding.detail = id;
        findings.push_back(finding);
    }
    if (!usbPort) findings.push_back(Of(Finding::Kind::NoAdapter));
    if (std::none_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.Problem(); }))
        findings.push_back(Of(Finding::Kind::AllWell));
    return findings;
}

} // namespace quelro
