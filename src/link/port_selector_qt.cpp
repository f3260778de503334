// Port selection over SerialLink and the ports mapping.
#include "link/port_selector_qt.h"

#ifndef _WIN32
#include <QSerialPortInfo>
#endif

#include <array>

#include "i18n/platform.h"
#include "link/port_identity.h"

namespace quelro {

namespace {

// The /dev/serial/by-id path of a device, when it is a USB adapter.
std::string AdapterById(const SystemPaths& paths, const std::string& device) {
    static constexpr std::string_view kById = "/dev/serial/by-id/";
    if (device.compare(0, kById.size(), kById) == 0) return device;
    return IdentifyPort(paths, device).byId;
}

} // namespace

std::filesystem::path LinkConfigFolder() {
    return SettingsFolder();
}

std::vector<std::string> SerialDevicesPresent() {
#ifdef _WIN32
    return ComPortsPresent();
#else
    std::vector<std::string> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return devices;
#endif
}

PortSelector::PortSelector(SerialLink& link, const int& language, Callbacks callbacks,
                           std::filesystem::path configFolder, SystemPaths paths)
    : link_(link), language_(language), callbacks_(std::move(callbacks)),
      configFolder_(std::move(configFolder)), paths_(std::move(paths)) {
    // A device that goes away leaves no port open and no item marked; when
    // a transfer opens it again, its item is marked again.
    QObject::connect(&link_, &SerialLink::Lost, &link_, [this] {
        lostPort_ = checked_;
        if (checked_ != 0) SetChecked(checked_, false);
    });
    QObject::connect(&link_, &SerialLink::Reopened, &link_, [this] {
        if (lostPort_ != 0) SetChecked(lostPort_, true);
        lostPort_ = 0;
    });
}

void PortSelector::SetChecked(int port, bool checked) {
    if (callbacks_.setChecked) callbacks_.setChecked(port, checked);
    if (checked)
        checked_ = port;
    else if (checked_ == port)
        checked_ = 0;
}

std::filesystem::path PortSelector::ConfigFolder() const {
    return configFolder_.empty() ? LinkConfigFolder() : configFolder_;
}

std::optional<PortDevice> PortSelector::Device(int n) const {
    return DeviceForPort(n, ConfigFolder(), SerialDevicesPresent());
}

QString PortSelector::StatusTip(int n) const {
    return QString::fromStdString(PortStatusTip(Device(n), paths_, language_));
}

void PortSelector::SelectSavedPort() {
    const std::vector<std::string> present = SerialDevicesPresent();
    std::array<std::optional<std::string>, kPortCount> devices;
    for (int n = 1; n <= kPortCount; ++n)
        if (auto device = DeviceForPort(n, ConfigFolder(), present)) devices[n - 1] = device->path;
    const int port = StartUpPort(savedPort_, RememberedAdapter(ConfigFolder()), paths_, devices);
    // Not remembered anew: an adapter left unplugged this time stays the one.
    if (port >= 1 && port <= kPortCount) Select(port, false);
}

PortSelector::Opened PortSelector::Open(int n) {
    lostPort_ = 0;
    link_.Close();
    const std::optional<PortDevice> device = Device(n);
    if (!device)
        return {false, QString::fromStdString(
                           NoDeviceLine(n, ConfigFolder() / kPortsFileName, language_))};
    const SerialLink::OpenResult opened = link_.Open(QString::fromStdString(device->path));
    if (opened.ok) return {true, {}};
    return {false, QString::fromStdString(OpenProblemText(opened.problem, n, language_))};
}

void PortSelector::SelectPort(int n) {
    Select(n, true);
}

void PortSelector::Select(int n, bool remember) {
    if (n < 1 || n > kPortCount) return;
    if (checked_ != n)
        for (int other = 1; other <= kPortCount; ++other)
            if (other != n) SetChecked(other, false);
    const Opened opened = Open(n);
    if (opened.ok) {
        SetChecked(n, true);
        savedPort_ = n;
        if (remember)
            RememberAdapter(ConfigFolder(), AdapterById(paths_, link_.Device().toStdString()));
        return;
    }
    // No port is open now, so no item may stay marked.
    SetChecked(n, false);
    if (callbacks_.showMessage) callbacks_.showMessage(opened.message, PortInUseMessage(n).style);
}

} // namespace quelro
