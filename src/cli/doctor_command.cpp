// quelro-cli doctor: the serial port check on the terminal, one finding per
// line with its fix. Exits 0 when nothing needs mending, 3 when something
// does.
#include <iostream>

#include "cli/cli_common.h"
#include "i18n/captions.h"
#include "link/system_check.h"

namespace quelro::cli {

void AddDoctorCommand(CLI::App& app, Options&, int& exitCode) {
    CLI::App* cmd = app.add_subcommand(
        "doctor", "Check what stands between you and the programming cable: groups, adapters "
                  "without a serial device (brltty), ModemManager, lock files");
    cmd->callback([&exitCode] {
        bool problem = false;
        for (const Finding& finding : CheckSystem(SystemPaths::FromEnvironment())) {
            std::cout << FindingText(finding, kEnglish) << "\n";
            problem = problem || finding.Problem();
        }
        exitCode = problem ? kExitLinkFailure : kExitOk;
    });
}

} // namespace quelro::cli
