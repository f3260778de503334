// quelro-cli doctor: the serial port check on the terminal, one finding per
// line with its fix. Exits 0 when nothing needs mending, 3 when something
// does.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "i18n/captions.h"
#include "link/port_map.h"
#include "link/system_check.h"

namespace quelro::cli {

int RunDoctor(const std::string& lang) {
    const int language = LanguageModeOf(lang);
    bool problem = false;
    // The devices the ports file sets COM1..COM8 to are looked at too.
    std::vector<std::string> portDevices;
    const std::string ports =
        SettingsFolder().empty() ? std::string() : ReadSmallFile(SettingsFolder() / kPortsFileName);
    for (int n = 1; n <= kPortCount; ++n)
        if (const auto device = PortsFileDevice(ports, n)) portDevices.push_back(*device);
    for (const Finding& finding : CheckSystem(SystemPaths::FromEnvironment(), portDevices)) {
        std::cout << FindingText(finding, language) << "\n";
        problem = problem || finding.Problem();
    }
    return problem ? kExitLinkFailure : kExitOk;
}

} // namespace quelro::cli
