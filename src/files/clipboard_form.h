// The clipboard form of channel rows: CSV text that spreadsheets and other
// programmers take, every selected row with its Location (empty channels as
// a Location alone), and beside it the rows' JSON form, which carries every
// value exactly (odd tones, off-raster frequencies, the busy lock) between
// this program's windows and instances.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/csv_form.h"

namespace quelro {

// The clipboard format of the JSON form.
inline constexpr const char* kClipboardMimeType = "application/x-quelro-channels+json";

struct ClipboardCopy {
    std::string text;
    std::string json;
};

// Grid rows 1..16, in the order given.
ClipboardCopy CopyChannels(const ProgramState& state, const std::vector<int>& rows);

// Puts the rows back from `firstRow` on, each at its offset from the lowest
// copied row, checked against the state's band: from `json` when it is a
// well-formed JSON form of rows, else from `text` as a CSV paste.
CsvPaste PasteChannels(std::string_view json, std::string_view text, ProgramState& state,
                       int firstRow);

} // namespace quelro
