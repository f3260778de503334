// One row of the CSV memory form and the channel record it stands for: the
// columns, a row read into a record (frequencies through the grid's commit
// rule, the tone modes, FM / NFM, scan and power) and a record written as a
// row. The CSV form places these records in the channel table.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "channels/channel_record.h"
#include "files/csv_form.h"

namespace quelro::csv {

// The columns of the full header, in its order.
enum Field : int {
    kLocation,
    kName,
    kFrequency,
    kDuplex,
    kOffset,
    kTone,
    kRToneFreq,
    kCToneFreq,
    kDtcsCode,
    kDtcsPolarity,
    kRxDtcsCode,
    kCrossMode,
    kMode,
    kTStep,
    kSkip,
    kPower,
    kFieldCount = 21,
};

inline constexpr std::array<std::string_view, kFieldCount> kHeader{
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

using Row = std::array<std::string, kFieldCount>;

// What an empty channel contributes for a missing column: a new channel of
// the grid, and the values that unused tone columns hold.
Row NewChannelRow();

// Texts equal but for letter case.
bool SameText(std::string_view a, std::string_view b);
// A text without its leading and trailing blanks and tabs.
std::string Trimmed(std::string_view text);
// A number in "." or "," decimal form (files from comma-decimal locales).
std::optional<double> Number(std::string_view text);

// A row read: the channel, or why it was left out (its line still 0).
struct ParsedRow {
    std::optional<ChannelRecord> channel;
    CsvLeftOut leftOut;
    std::vector<CsvChanged> changed; // lines still 0
};

ParsedRow LeftOut(CsvLeftOut::Reason reason, std::string value);

// Reads a row whose missing columns are filled in; the form has no column
// for the busy lock, so the channel takes `busyLock`.
ParsedRow ParseRow(const Row& row, BusyLock busyLock);

// The row of `channel` as channel `location`. A tone the form cannot carry
// is written as off and, when `warnings` is given, reported there.
Row ExportRow(const ChannelRecord& channel, int location, std::vector<CsvToneWarning>* warnings);

} // namespace quelro::csv
