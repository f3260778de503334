// quelro-cli doctor: the serial port check on the terminal, one finding per
// line with its fix. Exits 0 when nothing needs mending, 3 when something
// does.
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "i18n/captions.h"
#include "link/system_check.h"

namespace quelro::cli {

void AddDoctorCommand(CLI::App& app, Options&, int& exitCode) {
    auto lang = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand(
        "doctor", "Check what stands between you and the programming cable: groups, adapters "
                  "without a serial device (brltty), ModemManager, lock files");
    AddLanguageOption(*cmd, *lang);
    cmd->callback([&exitCode, lang] {
        const int language = LanguageModeOf(*lang);
        bool problem = false;
        for (const Finding& finding : CheckSystem(SystemPaths::FromEnvironment())) {
            std::cout << FindingText(finding, language) << "\n";
            problem = problem || finding.Problem();
        }
        exitCode = problem ? kExitLinkFailure : kExitOk;
    });
}

} // namespace quelro::cli
