// The window program's own command-line options (--help, --version), answered
// before any window or Qt platform is set up. Everything else on the command
// line is left to Qt (-platform, -style, ...).
#pragma once

#include <optional>

namespace quelro {

// Prints the help or the version when asked for and returns the exit status;
// returns nothing when the program should start its window.
std::optional<int> AnswerCommandLine(int argc, const char* const* argv);

} // namespace quelro
