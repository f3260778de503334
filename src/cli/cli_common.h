// Shared pieces of quelro-cli's commands: exit codes, the arguments of each
// command and the function that runs it. Only main.cpp knows the command
// line itself; a command sees plain values and returns its exit code.
#pragma once

#include <string>

#include "codes/bands.h"
#include "files/truetype_font.h"

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

// How a command that only looks at a programming reads it.
struct InputForm {
    std::string format; // "dat", "json", "csv" or "" (by extension)
    std::string base;   // data file the forms are applied to, or ""
};

// ---- the file commands -----------------------------------------------------------

struct NewArgs {
    std::string band{kBands[0].text};
    std::string out;
};
int RunNew(const NewArgs& args, const Options& options);

struct ExportArgs {
    std::string in;
    std::string out;
    std::string format;
    std::string lang;
};
int RunExport(const ExportArgs& args, const Options& options);

struct ImportArgs {
    std::string in;
    std::string out;
    std::string base;
    std::string band;
    std::string format;
    std::string lang;
    bool strict = false;
};
int RunImport(const ImportArgs& args, const Options& options);

struct InfoArgs {
    std::string in;
    std::string lang;
};
int RunInfo(const InfoArgs& args);

// doctor: the serial port check; `lang` as --lang.
int RunDoctor(const std::string& lang);

// diff: exits 0 (same), 1 (different) or kExitBadInput, as diff(1) does.
struct DiffArgs {
    std::string first;
    std::string second;
    InputForm form;
    std::string lang;
    bool json = false;
};
int RunDiff(const DiffArgs& args);

// print: the channel sheet as PDF or HTML.
struct PrintArgs {
    std::string in;
    std::string out;
    InputForm form;
    std::string lang;
    std::string paper = "a4";
    std::string font = SheetFontFile();
};
int RunPrint(const PrintArgs& args, const Options& options);
// Why `out` cannot name a channel sheet, or "" when it can.
std::string SheetOutputProblem(const std::string& out);

// ---- the radio commands (built when Qt is present) -------------------------------

struct ReadArgs {
    std::string port;
    std::string out;
    std::string lang;
};
int RunRead(const ReadArgs& args, const Options& options);

struct WriteArgs {
    std::string port;
    std::string in;
    bool service = false;
    bool yes = false;
    bool verify = false;
    std::string lang;
};
int RunWrite(const WriteArgs& args, const Options& options);

// ports: `lang` as --lang.
int RunPorts(const std::string& lang);

// clone: one data file to radio after radio.
struct CloneArgs {
    std::string port;
    std::string in;
    std::string log;
    std::string lang;
    int count = 0;
    bool noVerify = false;
    bool service = false;
    bool yes = false;
};
int RunClone(const CloneArgs& args, const Options& options);

} // namespace quelro::cli
