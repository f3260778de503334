// quelro-cli: the command-line tool over data files (and, when built with Qt,
// the radio itself).
//
// Exits: 0 done, 1 usage error, 2 bad input; the radio commands add 3 and 4
// (cli_common.h). diff exits as diff(1): 0 same, 1 different, 2 trouble.
//
// The one file that knows the command line: every command, option, check
// and help text is declared here, so the parser library is compiled once;
// the commands themselves take plain argument structs.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/cli_common.h"
#include "cli/programming_input.h"
#include "i18n/platform.h"

namespace quelro::cli {
namespace {

// What the command line fills in, and the exit code of the command it ran.
struct Commands {
    Options options;
    int exitCode = kExitOk;
    NewArgs newArgs;
    ExportArgs exportArgs;
    ImportArgs importArgs;
    InfoArgs info;
    std::string doctorLang;
    DiffArgs diff;
    PrintArgs print;
#ifdef QUELRO_HAVE_QT
    ReadArgs read;
    WriteArgs write;
    std::string portsLang;
    CloneArgs clone;
#endif
};

// --lang zh|en|zh-Hant, for every command that prints text for people.
void AddLanguageOption(CLI::App& cmd, std::string& lang) {
    cmd.add_option("--lang", lang,
                   "Language: zh, en or zh-Hant (default: the one last chosen in the window "
                   "program, else en)")
        ->check(CLI::IsMember({"zh", "en", "zh-Hant"}));
}

// --format and --base of the commands that read any form of a programming.
void AddInputFormOptions(CLI::App& cmd, InputForm& form) {
    cmd.add_option("--format", form.format,
                   "dat, json or csv (default: by the extension: .csv, .json, else dat)")
        ->check(CLI::IsMember({"dat", "json", "csv"}));
    cmd.add_option("--base", form.base,
                   "JSON and CSV: apply to this data file instead of the start-up state");
}

// --format csv|json of export and import; without it the file's extension
// decides.
void AddFormatOption(CLI::App& cmd, std::string& format) {
    cmd.add_option("--format", format, "csv or json (default: by the file's extension)")
        ->check(CLI::IsMember({"csv", "json"}));
}

std::vector<std::string> BandTexts() {
    std::vector<std::string> bands;
    for (const Band& band : kBands) bands.emplace_back(band.text);
    return bands;
}

void AddNewAndExport(CLI::App& app, Commands& c) {
    CLI::App* cmd = app.add_subcommand("new", "Write the data file of a fresh start-up state");
    cmd->add_option("--band", c.newArgs.band, "Band by its list text")
        ->check(CLI::IsMember(BandTexts()))
        ->capture_default_str();
    cmd->add_option("-o,--output", c.newArgs.out, "Data file to write (OUT.DAT)")->required();
    cmd->callback([&c] { c.exitCode = RunNew(c.newArgs, c.options); });

    cmd = app.add_subcommand(
        "export", "Print a data file as JSON (quelro-dat version 1) or as a CSV channel list");
    cmd->add_option("IN.DAT", c.exportArgs.in, "Data file to read")->required();
    cmd->add_option("-o,--output", c.exportArgs.out, "Write to this file instead of stdout");
    AddFormatOption(*cmd, c.exportArgs.format);
    AddLanguageOption(*cmd, c.exportArgs.lang);
    cmd->callback([&c] { c.exitCode = RunExport(c.exportArgs, c.options); });
}

void AddImportAndInfo(CLI::App& app, Commands& c) {
    CLI::App* cmd = app.add_subcommand(
        "import", "Write a data file from its JSON form or from a CSV channel list");
    ImportArgs& args = c.importArgs;
    cmd->add_option("IN", args.in, "JSON form or CSV file to read")->required();
    cmd->add_option("-o,--output", args.out, "Data file to write (OUT.DAT)")->required();
    cmd->add_option("--base", args.base, "Start from this data file instead of the start-up state");
    cmd->add_option("--band", args.band,
                    "CSV: check the channels against this band (default: the base's band, "
                    "else the band that holds the channels)")
        ->check(CLI::IsMember(BandTexts()));
    cmd->add_flag("--strict", args.strict, "CSV: refuse the file when any row is left out");
    AddFormatOption(*cmd, args.format);
    AddLanguageOption(*cmd, args.lang);
    cmd->callback([&c] { c.exitCode = RunImport(c.importArgs, c.options); });

    cmd = app.add_subcommand(
        "info", "Show a data file's channels as the grid shows them, and its settings");
    cmd->add_option("IN.DAT", c.info.in, "Data file to read")->required();
    AddLanguageOption(*cmd, c.info.lang);
    cmd->callback([&c] { c.exitCode = RunInfo(c.info); });
}

void AddDoctorAndDiff(CLI::App& app, Commands& c) {
    CLI::App* cmd = app.add_subcommand(
        "doctor", "Check what stands between you and the programming cable: groups, adapters "
                  "without a serial device (brltty), ModemManager, lock files");
    AddLanguageOption(*cmd, c.doctorLang);
    cmd->callback([&c] { c.exitCode = RunDoctor(c.doctorLang); });

    cmd = app.add_subcommand(
        "diff", "Show what differs between two programmings (exit 0 same, 1 different, 2 "
                "trouble)");
    cmd->add_option("A", c.diff.first, "Data file, JSON form or CSV channel list")->required();
    cmd->add_option("B", c.diff.second, "Data file, JSON form or CSV channel list")->required();
    AddInputFormOptions(*cmd, c.diff.form);
    AddLanguageOption(*cmd, c.diff.lang);
    cmd->add_flag("--json", c.diff.json,
                  "Print an RFC 6902 JSON Patch from the export of A to the export of B");
    cmd->callback([&c] { c.exitCode = RunDiff(c.diff); });
}

void AddPrint(CLI::App& app, Commands& c) {
    CLI::App* cmd = app.add_subcommand(
        "print", "Write the channel sheet of a programming as PDF (OUT.pdf) or HTML (OUT.html)");
    cmd->add_option("IN", c.print.in, "Data file, JSON form or CSV channel list")->required();
    cmd->add_option("-o,--output", c.print.out, "OUT.pdf or OUT.html")
        ->required()
        ->check(SheetOutputProblem);
    AddInputFormOptions(*cmd, c.print.form);
    AddLanguageOption(*cmd, c.print.lang);
    cmd->add_option("--paper", c.print.paper, "a4 or letter")
        ->check(CLI::IsMember({"a4", "letter"}))
        ->capture_default_str();
    cmd->add_option("--font", c.print.font, "TrueType font the PDF is set in and embeds")
        ->capture_default_str();
    cmd->callback([&c] { c.exitCode = RunPrint(c.print, c.options); });
}

#ifdef QUELRO_HAVE_QT
constexpr const char* kServiceHelp =
    "Service mode: also write the two transmit power levels (0x0180-0x018F)";

void AddReadAndWrite(CLI::App& app, Commands& c) {
    CLI::App* cmd = app.add_subcommand(
        "read", "Read the radio into a data file (the bytes exactly as the radio sent them)");
    cmd->add_option("--port", c.read.port, "Serial device path, or COM1..COM8")->required();
    cmd->add_option("-o,--output", c.read.out, "Data file to write")->required();
    AddLanguageOption(*cmd, c.read.lang);
    cmd->callback([&c] { c.exitCode = RunRead(c.read, c.options); });

    cmd = app.add_subcommand("write", "Write a data file to the radio");
    cmd->add_option("--port", c.write.port, "Serial device path, or COM1..COM8")->required();
    cmd->add_option("file", c.write.in, "Data file to write")->required();
    cmd->add_flag("--service", c.write.service, kServiceHelp);
    cmd->add_flag("--yes", c.write.yes, "Write even when the radio's band differs from the file's");
    cmd->add_flag("--verify", c.write.verify, "Read the radio back and compare what was written");
    AddLanguageOption(*cmd, c.write.lang);
    cmd->callback([&c] { c.exitCode = RunWrite(c.write, c.options); });
}

void AddPortsAndClone(CLI::App& app, Commands& c) {
    CLI::App* cmd = app.add_subcommand(
        "ports", "Show the serial device behind COM1..COM8 and the devices present, with their "
                 "USB description, vendor:product ID, serial number and /dev/serial/by-id link");
    AddLanguageOption(*cmd, c.portsLang);
    cmd->callback([&c] { c.exitCode = RunPorts(c.portsLang); });

    cmd = app.add_subcommand("clone", "Write a data file to one radio after another");
    cmd->add_option("--port", c.clone.port, "Serial device path, or COM1..COM8")->required();
    cmd->add_option("file", c.clone.in, "Data file to write")->required();
    cmd->add_option("--count", c.clone.count, "Stop after this many radios (default: until Ctrl+C)")
        ->check(CLI::NonNegativeNumber);
    cmd->add_flag("--no-verify", c.clone.noVerify, "Do not read each radio back");
    cmd->add_flag("--service", c.clone.service, kServiceHelp);
    cmd->add_flag("--yes", c.clone.yes, "Write radios whose band differs from the file's too");
    cmd->add_option("--log", c.clone.log, "Append one CSV row per radio to this file");
    AddLanguageOption(*cmd, c.clone.lang);
    cmd->callback([&c] { c.exitCode = RunClone(c.clone, c.options); });
}
#endif

} // namespace
} // namespace quelro::cli

int main(int argc, char** argv) {
    using namespace quelro::cli;
    CLI::App app{"Quelro Programmer command-line tool", "quelro-cli"};
    app.require_subcommand(1);
    // Global options may stand after the command name as well.
    app.fallthrough();
    app.set_version_flag("--version", std::string("quelro-cli ") + QUELRO_VERSION);
    Commands commands;
    app.add_flag("-q,--quiet", commands.options.quiet,
                 "Print nothing but requested output and errors");
    AddNewAndExport(app, commands);
    AddImportAndInfo(app, commands);
    AddDoctorAndDiff(app, commands);
    AddPrint(app, commands);
#ifdef QUELRO_HAVE_QT
    AddReadAndWrite(app, commands);
    AddPortsAndClone(app, commands);
#endif
    // UTF-8 on every system, so that a file name is never narrowed to a code page.
    const std::vector<std::string> arguments = quelro::ProgramArguments(argc, argv);
    std::vector<char*> utf8;
    for (const std::string& argument : arguments)
        utf8.push_back(const_cast<char*>(argument.c_str()));
    try {
        app.parse(static_cast<int>(utf8.size()), utf8.data());
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
    const int exitCode = commands.exitCode;
    if (!std::cout.flush()) {
        // The command's --lang is gone by now: the stored language says it.
        if (exitCode != kExitBadInput)
            std::cerr << "quelro-cli: (stdout): " << CannotWriteText("", LanguageModeOf(""))
                      << "\n";
        if (exitCode == kExitOk || app.got_subcommand("diff")) return kExitBadInput;
    }
    return exitCode;
}
