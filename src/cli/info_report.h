// The readable report of quelro-cli info: the channel table as the grid
// shows it and every setting with the captions of the window that edits it.
#pragma once

#include <string>
#include <string_view>

#include "channels/program_state.h"

namespace quelro::cli {

// The report in `languageMode`.
std::string InfoReport(const ProgramState& state, int languageMode);

// Columns a UTF-8 text takes on a terminal (East Asian wide characters count 2).
std::size_t DisplayWidth(std::string_view utf8);

} // namespace quelro::cli
