// Reading a device's identity from /sys and /dev/serial/by-id.
#include "link/port_identity.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <vector>

#include "i18n/captions_link.h"

namespace quelro {

namespace fs = std::filesystem;

namespace {

#ifndef _WIN32
constexpr int kMaxLinks = 512;  // entries of /dev/serial/by-id looked at
constexpr int kMaxParents = 12; // folders walked up from a tty to its USB device

std::string Attribute(const fs::path& folder, const char* name) {
    std::string text = ReadSmallFile(folder / name, 256);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}
#endif

// Where a link under the root points, as a path of the system: relative
// targets are taken from the link's own folder.
fs::path SystemTarget(const fs::path& shownLink, const fs::path& target) {
    if (target.is_absolute()) return target.lexically_normal();
    return (shownLink.parent_path() / target).lexically_normal();
}

} // namespace

#ifndef _WIN32 // port_identity_win32.cpp asks SetupAPI
PortIdentity IdentifyPort(const SystemPaths& paths, std::string_view device) {
    PortIdentity identity;
    identity.device = std::string(device);
    std::error_code ec;
    identity.exists = fs::exists(paths.At(device), ec);
    const std::string name = fs::path(device).filename().string();
    const fs::path ttyDevice = paths.At("/sys/class/tty/" + name + "/device");
    if (fs::exists(ttyDevice, ec)) {
        identity.driver = fs::read_symlink(ttyDevice / "driver", ec).filename().string();
        // Up from the tty's device to the USB device that carries idVendor.
        const fs::path sys = fs::weakly_canonical(paths.At("/sys"), ec);
        fs::path folder = fs::weakly_canonical(ttyDevice, ec);
        for (int i = 0; !ec && i < kMaxParents && folder != sys && folder.has_relative_path();
             ++i, folder = folder.parent_path()) {
            if (!fs::exists(folder / "idVendor", ec)) continue;
            identity.usb = true;
            identity.vendorId = Attribute(folder, "idVendor");
            identity.productId = Attribute(folder, "idProduct");
            identity.manufacturer = Attribute(folder, "manufacturer");
            identity.product = Attribute(folder, "product");
            identity.serial = Attribute(folder, "serial");
            break;
        }
    }
    std::vector<std::string> links;
    int seen = 0;
    for (fs::directory_iterator it(paths.At("/dev/serial/by-id"), ec), end;
         !ec && it != end && ++seen <= kMaxLinks; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        const fs::path shown = fs::path("/dev/serial/by-id") / it->path().filename();
        if (!linkError && SystemTarget(shown, target) == fs::path(device))
            links.push_back(shown.string());
    }
    std::sort(links.begin(), links.end());
    if (!links.empty()) identity.byId = links.front();
    return identity;
}
#endif

std::string IdentityText(const PortIdentity& identity, int languageMode) {
    static constexpr Caption kSerialNumber{"序列号 %1", "serial number %1"};
    std::vector<std::string> parts;
    if (identity.usb) {
        std::string description = identity.manufacturer;
        if (!identity.product.empty())
            description += (description.empty() ? "" : " ") + identity.product;
        if (!description.empty()) parts.push_back(description);
        parts.push_back("USB " + identity.vendorId + ":" + identity.productId);
        if (!identity.serial.empty())
            parts.push_back(LocalizeFilled(kSerialNumber, languageMode, {identity.serial}));
    }
    if (!identity.byId.empty()) parts.push_back(identity.byId);
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::optional<std::string> ResolveById(const SystemPaths& paths, std::string_view byId) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(paths.At(byId), ec);
    if (ec) return std::nullopt;
    return SystemTarget(fs::path(byId), target).string();
}

std::optional<std::string> RememberedAdapter(const fs::path& configFolder) {
    std::string line = ReadSmallFile(configFolder / kAdapterFileName, 4096);
    line = line.substr(0, line.find('\n'));
    if (line.empty()) return std::nullopt;
    return line;
}

void RememberAdapter(const fs::path& configFolder, const std::string& byId) {
    std::error_code ec;
    if (byId.empty()) {
        fs::remove(configFolder / kAdapterFileName, ec);
        return;
    }
    fs::create_directories(configFolder, ec);
    std::ofstream(configFolder / kAdapterFileName) << byId << "\n";
}

int StartUpPort(int savedPort, const std::optional<std::string>& remembered,
                const SystemPaths& paths,
                const std::array<std::optional<std::string>, 8>& devices) {
    if (!remembered) return savedPort;
    if (const auto device = ResolveById(paths, *remembered))
        for (int n = 1; n <= 8; ++n)
            if (devices[n - 1] == *device) return n;
    if (savedPort < 1 || savedPort > 8 || !devices[savedPort - 1]) return savedPort;
    // The adapter is away: SavedPort may now be another adapter's number.
    const std::string other = IdentifyPort(paths, *devices[savedPort - 1]).byId;
    return !other.empty() && other != *remembered ? 0 : savedPort;
}

} // namespace quelro
