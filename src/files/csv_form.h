// The CSV memory form of the channel table: the column format that channel
// lists are shared in (one row per channel, columns found by name), read
// into and written from ProgramState's channel table. The command-line tool,
// the File menu and the clipboard all go through here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/program_state.h"

namespace quelro {

// A channel list is a few kilobytes; a file far larger is not one.
inline constexpr std::size_t kCsvMaxBytes = 1 << 20;

// A CSV text is refused as a whole: not well-formed CSV, or no Frequency
// column in its header.
struct CsvRefusal {
    enum Kind { Syntax, NoFrequencyColumn } kind = Syntax;
    int line = 1;
    std::string column; // the column named, if any
};

// A row that did not become a channel, and why.
struct CsvLeftOut {
    enum Reason {
        BadFrequency,  // value: the Frequency text
        BadDuplex,     // value: the Duplex text
        BadOffset,     // value: the Offset text
        BadToneMode,   // value: the Tone or CrossMode text
        BadTone,       // value: the rToneFreq or cToneFreq text
        BadDcsCode,    // value: the DtcsCode or RxDtcsCode text
        BadPolarity,   // value: the DtcsPolarity text
        BadMode,       // value: the Mode text
        OutsideBand,   // value: the frequency, band: the band's text
        NoChannelLeft, // the table was full
    };
    int line = 0;
    Reason reason = BadFrequency;
    std::string value;
    std::string band;
};

// A value that was taken in another form than it was written: a frequency
// off the channel raster, a tone with more than one decimal.
struct CsvChanged {
    int line = 0;
    std::string value; // as the row gives it
    std::string taken; // what the channel holds now
};

// A tone that the form cannot carry, written as off.
struct CsvToneWarning {
    int channel = 0;
    std::string tone;
};

// The band an import checks against.
struct CsvBand {
    int position = -1;             // a band, or -1 to choose one from the rows
    bool onlyIfItHoldsAll = false; // keep `position` only when it holds every row
};

struct CsvImport {
    std::optional<CsvRefusal> refusal; // when set, nothing else is meaningful
    std::vector<CsvLeftOut> leftOut;
    std::vector<CsvChanged> changed;
    ProgramState state; // the base with the new channel table and band
};

// Where an import takes what a row does not name (a column the file lacks,
// the busy lock that no column carries).
enum class CsvUnnamed {
    NewChannel,  // what a new channel has: the table was cleared first
    BaseChannel, // the base's channel at the row's place, else a new channel's
};

// Reads a CSV file's text as a whole new channel table over `base`: every
// setting other than the channels and the band stays the base's.
CsvImport ImportCsv(std::string_view text, const ProgramState& base, CsvBand band,
                    CsvUnnamed unnamed = CsvUnnamed::NewChannel);

struct CsvPaste {
    std::optional<CsvRefusal> refusal; // when set, the state was not touched
    std::vector<CsvLeftOut> leftOut;
    std::vector<CsvChanged> changed;
    int rowsWritten = 0;
};

// Writes the rows of a CSV text (with or without its header; tab-separated
// as a spreadsheet copies it, too) into the channels from `firstRow` on,
// checked against the state's band. When every row names a distinct
// Location from 1 to 16, each row keeps its offset from the lowest one, and
// a row with a Location but no Frequency empties its channel.
CsvPaste PasteCsv(std::string_view text, ProgramState& state, int firstRow);

struct CsvExport {
    std::string text;
    std::vector<CsvToneWarning> warnings;
};

// The header and one row per non-empty channel among `rows` (grid rows
// 1..16, in the order given); with `withEmpty`, an empty channel is a row
// with its Location only.
CsvExport ExportCsv(const ProgramState& state, const std::vector<int>& rows,
                    bool withEmpty = false);
// Every non-empty channel.
CsvExport ExportCsv(const ProgramState& state);

// One line of a report, in a language (LanguageModes).
std::string RefusalText(const CsvRefusal& refusal, int languageMode);
std::string LeftOutText(const CsvLeftOut& leftOut, int languageMode);
std::string WarningText(const CsvToneWarning& warning, int languageMode);
std::string ChangedText(const CsvChanged& changed, int languageMode);

} // namespace quelro
