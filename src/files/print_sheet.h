// The channel sheet: one printed page of a programming - a title with the
// file's name and the date, the band, the 16 channels as the grid shows them
// and the settings in compact tables, with the texts the windows show in one
// language. quelro-cli print and the main window's Print and Export PDF all
// build the sheet here; sheet_layout places it on paper, sheet_pdf writes
// it, and SheetHtml gives the same content as a web page.
#pragma once

#include <string>
#include <vector>

#include "channels/program_state.h"

namespace quelro {

enum class Paper { A4, Letter };

struct PaperSize {
    double width; // points (1/72 inch)
    double height;
};
PaperSize SizeOf(Paper paper);

struct SheetTable {
    std::string title;               // above the table; may be empty
    std::vector<std::string> header; // column captions; empty: a table of label and value
    std::vector<std::vector<std::string>> rows;
};

struct Sheet {
    std::string title; // "Channel sheet: radio.DAT"
    std::string date;  // as given, "2024-05-18"
    std::string band;  // "Model: 400-500MHz"
    SheetTable channels;
    // The main window's general settings, key settings, embedded information
    // (the first column of the page), the optional functions (the second)
    // and the test frequencies (the third).
    std::vector<SheetTable> firstColumn;
    SheetTable optionalFunctions;
    SheetTable testFrequencies;
};

// The sheet of a state in `languageMode`. `fileName` is shown as given;
// `date` is the caller's, since the core reads no clock.
Sheet BuildSheet(const ProgramState& state, const std::string& fileName, const std::string& date,
                 int languageMode);

// The sheet as a web page of its own (UTF-8, print styles for the paper).
std::string SheetHtml(const Sheet& sheet, Paper paper, int languageMode);

} // namespace quelro
