// Shared pieces of quelro-cli's commands: exit codes and command registration.
#pragma once

#include <CLI/CLI.hpp>

namespace quelro::cli {

enum Exit : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitBadInput = 2,
    kExitLinkFailure = 3,
    kExitRefused = 4,
};

// Global options every command sees.
struct Options {
    bool quiet = false;
};

// The file commands: new, export, import, info.
void AddFileCommands(CLI::App& app, Options& options, int& exitCode);
// doctor: the serial port check.
void AddDoctorCommand(CLI::App& app, Options& options, int& exitCode);
// diff: exits 0 (same), 1 (different) or kExitBadInput, as diff(1) does.
void AddDiffCommand(CLI::App& app, int& exitCode);
// print: the channel sheet as PDF or HTML.
void AddPrintCommand(CLI::App& app, Options& options, int& exitCode);
// The radio commands: read, write, ports (built when Qt is present).
void AddRadioCommands(CLI::App& app, Options& options, int& exitCode);
// clone: one data file to radio after radio (built when Qt is present).
void AddCloneCommand(CLI::App& app, Options& options, int& exitCode);

} // namespace quelro::cli
