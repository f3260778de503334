// quelro-cli: the command-line tool over data files (and, when built with Qt,
// the radio itself).
//
// Exits: 0 done, 1 usage error, 2 bad input; the radio commands add 3 and 4
// (cli_common.h). diff exits as diff(1): 0 same, 1 different, 2 trouble.
#include <exception>
#include <iostream>
#include <string>

#include "cli/cli_common.h"

int main(int argc, char** argv) {
    using namespace quelro::cli;
    CLI::App app{"Quelro Programmer command-line tool", "quelro-cli"};
    app.require_subcommand(1);
    // Global options may stand after the command name as well.
    app.fallthrough();
    app.set_version_flag("--version", std::string("quelro-cli ") + QUELRO_VERSION);
    Options options;
    app.add_flag("-q,--quiet", options.quiet, "Print nothing but requested output and errors");
    int exitCode = kExitOk;
    AddFileCommands(app, options, exitCode);
    AddDoctorCommand(app, options, exitCode);
    AddDiffCommand(app, exitCode);
    AddPrintCommand(app, options, exitCode);
#ifdef QUELRO_HAVE_QT
    AddRadioCommands(app, options, exitCode);
    AddCloneCommand(app, options, exitCode);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) { // --help, --version
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        // diff tells its trouble by 2, as diff(1) does: 1 means "different".
        return app.got_subcommand("diff") ? kExitBadInput : kExitUsage;
    } catch (const std::exception& error) {
        std::cerr << "quelro-cli: " << error.what() << "\n";
        return kExitBadInput;
    }
    // Output that could not be written (a full disk, a closed pipe) is a
    // failure of every command; those that check it themselves said so.
    if (!std::cout.flush()) {
        if (exitCode != kExitBadInput) std::cerr << "quelro-cli: (stdout): cannot write\n";
        if (exitCode == kExitOk || app.got_subcommand("diff")) return kExitBadInput;
    }
    return exitCode;
}
