// Input checks and report texts shared by quelro-cli's write and clone.
#include "cli/radio_common_qt.h"

#include <QString>

#include <csignal>
#include <iostream>
#include <optional>

#include "cli/cli_common.h"
#include "codes/bands.h"
#include "files/data_file.h"
#include "i18n/captions.h"
#include "i18n/captions_link.h"
#include "i18n/unicode_path.h"
#include "image/memory_image.h"
#include "link/port_diagnosis.h"
#include "link/port_map.h"
#include "link/port_selector_qt.h"
#include "link/serial_link_qt.h"

namespace quelro::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) {
    interrupted = 1;
}
// Windows has no hang-up: Ctrl+Break stands in its place.
#ifdef SIGHUP
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGBREAK};
#endif

} // namespace

InterruptGuard::InterruptGuard() {
    interrupted = 0;
    for (int i = 0; i < 3; ++i) previous_[i] = std::signal(kSignals[i], OnInterrupt);
}

InterruptGuard::~InterruptGuard() {
    for (int i = 0; i < 3; ++i) std::signal(kSignals[i], previous_[i]);
}

bool TakeInterrupt() {
    const bool was = interrupted != 0;
    interrupted = 0;
    return was;
}

bool LoadDataFileToWrite(const std::string& path, ProgramState& state, int& exitCode,
                         int languageMode) {
    static constexpr Caption kCannotOpen{"无法打开：", "cannot open: "};
    static constexpr Caption kNotDataFile{"不是 Quelro 数据文件", "not a Quelro data file"};
    const DataFileRead file = ReadDataFile(PathFromUtf8(path));
    if (file.status == DataFileRead::CannotOpen) {
        std::cerr << "quelro-cli: " << path << ": " << Localize(kCannotOpen, languageMode)
                  << file.error << "\n";
        exitCode = kExitBadInput;
        return false;
    }
    if (file.status == DataFileRead::WrongType || !DecodeImage(state, file.imageHex)) {
        std::cerr << "quelro-cli: " << path << ": " << Localize(kNotDataFile, languageMode) << "\n";
        exitCode = kExitBadInput;
        return false;
    }
    return true;
}

// COM and a number that is no port (COM0, COM9, COM12).
bool IsOtherComName(const std::string& port) {
    if (port.size() < 4 || port.size() > 6) return false;
    for (std::size_t i = 0; i < 3; ++i)
        if ((port[i] & ~0x20) != "COM"[i]) return false;
    return port.find_first_not_of("0123456789", 3) == std::string::npos;
}

bool OpenPort(SerialLink& link, const std::string& port, int& exitCode, int languageMode) {
    const std::optional<int> number = PortNumberFromName(port);
    static constexpr Caption kNoPortNamed{"--port 未指定串口", "--port names no port"};
    static constexpr Caption kOnlyEightPorts{"%1：只有 COM1 到 COM8",
                                             "%1: only COM1 to COM8 exist"};
    static constexpr Caption kGivePort{"：请给出 COM1..COM8 或设备路径，如 /dev/ttyUSB0",
                                       ": give COM1..COM8 or a device path such as /dev/ttyUSB0"};
    static constexpr Caption kPortsLists{"quelro-cli ports 列出各设备",
                                         "quelro-cli ports lists the devices"};
    if (port.empty() || (!number && IsOtherComName(port))) {
        std::cerr << "quelro-cli: "
                  << (port.empty() ? Localize(kNoPortNamed, languageMode)
                                   : LocalizeFilled(kOnlyEightPorts, languageMode, {port}))
                  << Localize(kGivePort, languageMode) << "\n";
        exitCode = kExitUsage;
        return false;
    }
    std::string device = port;
    if (number) {
        const auto mapped = DeviceForPort(*number, LinkConfigFolder(), SerialDevicesPresent());
        if (!mapped) {
            std::cerr << NoDeviceLine(*number, LinkConfigFolder() / kPortsFileName, languageMode)
                      << "\nquelro-cli: " << Localize(kPortsLists, languageMode) << "\n";
            exitCode = kExitLinkFailure;
            return false;
        }
        device = mapped->path;
    }
    if (SurelyNotSerial(device)) {
        OpenProblem problem;
        problem.kind = OpenProblem::Kind::NotSerial;
        problem.device = device;
        std::cerr << OpenProblemText(problem, 0, languageMode) << "\n";
        exitCode = kExitLinkFailure;
        return false;
    }
    const SerialLink::OpenResult opened = link.Open(QString::fromStdString(device));
    if (opened.ok) return true;
    std::cerr << OpenProblemText(opened.problem, number.value_or(0), languageMode) << "\n";
    exitCode = kExitLinkFailure;
    return false;
}

std::string Hex4(int value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    return text;
}

std::string BandText(int position, const char* none) {
    if (position < 0 || position >= static_cast<int>(kBands.size())) return none;
    return std::string(kBands[static_cast<std::size_t>(position)].text);
}

} // namespace quelro::cli
