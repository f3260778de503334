// The window program's own command-line options (--help, --version), answered
// before any window or Qt platform is set up, and the file to open. Qt's own
// options (-platform, -style, ...) are left to Qt.
#pragma once

#include <optional>
#include <string>

namespace quelro {

// Prints the help or the version when asked for and returns the exit status;
// returns nothing when the program should start its window.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv);

// The file named on the command line, once Qt has taken its own options out:
// the first argument that is no option, or the one after "--".
std::optional<std::string> FileToOpen(int argc, const char* const* argv);

} // namespace quelro
