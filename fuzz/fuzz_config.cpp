// libFuzzer target: any bytes as the `parameter` file and as the `ports` file.
//
// The start-up values stay in range: the lock flag is 0 or 1 as stored, the
// language one the program knows, SavedPort a byte (only 1..8 selects a
// port). A ports line names one device path: no line break, no blank at
// either end, under /dev when the line gives no folder.
#include <cstdint>
#include <string>
#include <string_view>

#include "files/parameter_file.h"
#include "fuzz_check.h"
#include "link/port_map.h"

using quelro::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const quelro::Parameters p = quelro::ParseParameters(bytes);
    Check(p.locked == (size > 0 && data[0] == 1), "the lock flag is not the first byte's");
    Check(p.languageMode >= 0 && p.languageMode <= 2, "a language the program does not know");
    Check(p.savedPort >= 0 && p.savedPort <= 255, "SavedPort is not a byte");
    Check(p.savedPort == (size > 1 ? data[1] : 0), "SavedPort is not the second byte");

    for (int n = 0; n <= quelro::kPortCount + 1; ++n) {
        const auto device = quelro::PortsFileDevice(bytes, n);
        if (n < 1 || n > quelro::kPortCount) {
            Check(!device.has_value(), "a device for a port that does not exist");
            continue;
        }
        if (!device) continue;
        Check(!device->empty() && device->find('\n') == std::string::npos,
              "a device name across lines");
        Check(device->find('/') != std::string::npos, "a device without a folder");
        for (char edge : {device->front(), device->back()})
            Check(edge != ' ' && edge != '\t' && edge != '\r', "a device name with blanks around");
    }
    return 0;
}
