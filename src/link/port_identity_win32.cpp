// The serial ports of Windows and what SetupAPI tells of each: the USB
// vendor and product IDs, maker, description, serial number and driver.
#include <windows.h>

#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "i18n/unicode_path.h"
#include "link/port_identity.h"

namespace quelro {

namespace {

constexpr DWORD kMaxDevices = 256; // devices of the ports class looked at
constexpr int kMaxComNumber = 64;  // COMn looked for by name

std::string Utf8(const std::wstring& text) {
    return Utf8Of(std::filesystem::path(text));
}

std::wstring Property(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
    wchar_t buffer[512] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(set, &info, property, nullptr,
                                             reinterpret_cast<BYTE*>(buffer),
                                             sizeof buffer - sizeof(wchar_t), nullptr))
        return {};
    return buffer; // of a MULTI_SZ, the first string
}

std::wstring PortName(HDEVINFO set, SP_DEVINFO_DATA& info) {
    const HKEY key = ::SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const bool ok = ::RegQueryValueExW(key, L"PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
    ::RegCloseKey(key);
    return ok ? name : L"";
}

// "0403" out of "FTDIBUS\VID_0403+PID_6001+..." or "USB\VID_0403&PID_6001".
std::string IdAfter(const std::string& hardwareId, const std::string& key) {
    std::string upper = hardwareId;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::size_t at = upper.find(key);
    if (at == std::string::npos || at + key.size() + 4 > upper.size()) return {};
    std::string id = hardwareId.substr(at + key.size(), 4);
    std::transform(id.begin(), id.end(), id.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return id;
}

// The serial number a USB device's instance ID ends in (USB\VID_..&PID_..\A1B2);
// Windows makes up one with '&' in it for a device that has none.
std::string SerialOf(const std::string& instance) {
    const std::size_t first = instance.find('\\');
    const std::size_t last = instance.rfind('\\');
    if (first == std::string::npos || first == last) return {};
    const std::string tail = instance.substr(last + 1);
    return tail.find('&') == std::string::npos ? tail : std::string();
}

} // namespace

std::vector<std::string> ComPortsPresent() {
    std::set<int> numbers;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) == ERROR_SUCCESS) {
        for (DWORD i = 0; i < kMaxDevices; ++i) {
            wchar_t name[256], data[64] = {};
            DWORD nameSize = 256, dataSize = sizeof data - sizeof(wchar_t), type = 0;
            if (::RegEnumValueW(key, i, name, &nameSize, nullptr, &type,
                                reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
                break;
            const std::string port = Utf8(data);
            if (type == REG_SZ && port.rfind("COM", 0) == 0)
                numbers.insert(std::atoi(port.c_str() + 3));
        }
        ::RegCloseKey(key);
    }
    // Ports mapped by name only (wine's, some virtual ones) are not listed there.
    for (int n = 1; n <= kMaxComNumber; ++n) {
        wchar_t target[512];
        const std::wstring name = L"COM" + std::to_wstring(n);
        if (::QueryDosDeviceW(name.c_str(), target, 512) != 0) numbers.insert(n);
    }
    std::vector<std::string> ports;
    for (int n : numbers)
        if (n > 0) ports.push_back("COM" + std::to_string(n));
    return ports;
}

PortIdentity IdentifyPort(const SystemPaths&, std::string_view device) {
    PortIdentity identity;
    identity.device = std::string(device);
    const std::vector<std::string> present = ComPortsPresent();
    identity.exists = std::find(present.begin(), present.end(), device) != present.end();
    const HDEVINFO set =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return identity;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; i < kMaxDevices && ::SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        if (Utf8(PortName(set, info)) != device) continue;
        const std::string hardwareId = Utf8(Property(set, info, SPDRP_HARDWAREID));
        identity.vendorId = IdAfter(hardwareId, "VID_");
        identity.productId = IdAfter(hardwareId, "PID_");
        identity.usb = !identity.vendorId.empty() && !identity.productId.empty();
        identity.manufacturer = Utf8(Property(set, info, SPDRP_MFG));
        identity.product = Utf8(Property(set, info, SPDRP_FRIENDLYNAME));
        identity.driver = Utf8(Property(set, info, SPDRP_SERVICE));
        wchar_t instance[512] = {};
        if (::SetupDiGetDeviceInstanceIdW(set, &info, instance, 511, nullptr))
            identity.serial = identity.usb ? SerialOf(Utf8(instance)) : std::string();
        break;
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return identity;
}

} // namespace quelro
