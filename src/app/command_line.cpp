// --help and --version of the window program. The help text is also the
// source of the quelro(1) manual page.
#include "app/command_line.h"

#include <cstdio>
#include <string_view>

namespace quelro {
namespace {

constexpr const char* kHelp =
    "Usage: quelro [OPTION]... [FILE]\n"
    "Read, edit and write the 16 channels and the settings of the Quelro handheld radio\n"
    "over its serial programming cable, and keep programmings as .DAT files.\n"
    "\n"
    "FILE, when given, is opened once the window is up: a .DAT programming as\n"
    "File > Open does, a .csv channel list as File > Import CSV does. A file that\n"
    "cannot be opened gets the same message as from the File menu.\n"
    "\n"
    "The window opens in the language last chosen (Simplified Chinese, English or\n"
    "Traditional Chinese) and selects the serial port last used.\n"
    "\n"
    "Options:\n"
    "  -h, --help     display this help and exit\n"
    "  -v, --version  output version information and exit\n"
    "\n"
    "Qt's standard options, such as -platform NAME and -style NAME, are accepted too.\n";

} // namespace

std::optional<int> AnswerCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (arg == "-v" || arg == "--version") {
            std::fputs("quelro " QUELRO_VERSION "\n", stdout);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FileToOpen(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            return i + 1 < argc ? std::optional<std::string>(argv[i + 1]) : std::nullopt;
        if (!arg.starts_with('-')) return std::string(arg);
    }
    return std::nullopt;
}

} // namespace quelro
