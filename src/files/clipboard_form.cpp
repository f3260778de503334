// The clipboard form: the JSON rows are {"format": "quelro-channels",
// "version": 1, "rows": [{"location": n, "channel": {...} or null}, ...]},
// each channel object as the data file's JSON form writes it.
#include "files/clipboard_form.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "codes/conversions.h"
#include "files/json_form.h"

namespace quelro {
namespace {

using cli::Json;

constexpr const char* kFormat = "quelro-channels";
constexpr int kVersion = 1;

struct JsonRow {
    int location = 0;
    Json channel;
};

// The rows of a well-formed form with distinct locations 1..16, each channel
// one the data file's form takes; nullopt for anything else.
std::optional<std::vector<JsonRow>> JsonRows(std::string_view text) {
    if (text.empty() || text.size() > kCsvMaxBytes) return std::nullopt;
    const Json form = Json::parse(text, nullptr, false);
    if (form.is_discarded() || !form.is_object() || form.value("format", "") != kFormat ||
        form.value("version", 0) != kVersion || !form.contains("rows") ||
        !form["rows"].is_array() || form["rows"].empty() || form["rows"].size() > kChannels)
        return std::nullopt;
    std::vector<JsonRow> rows;
    std::array<bool, kChannels + 1> taken{};
    ProgramState scratch = ProgramState::StartUp();
    for (const Json& row : form["rows"]) {
        if (!row.is_object() || !row.contains("location") || !row["location"].is_number_integer() ||
            !row.contains("channel"))
            return std::nullopt;
        const auto location = row["location"].get<std::int64_t>();
        if (location < 1 || location > kChannels || taken[location]) return std::nullopt;
        taken[location] = true;
        scratch.Channel(1).reset();
        if (cli::ImportJsonChannel(row["channel"], 1, "channel", scratch)) return std::nullopt;
        rows.push_back({static_cast<int>(location), row["channel"]});
    }
    return rows;
}

// The frequency of a cell in MHz; a cell with hex digits (as a read radio
// may hold) is kept as it is.
bool InBand(const std::string& cell, const ProgramState& s) {
    const std::optional<double> mhz = ParseNumber(cell);
    return cell.empty() || !mhz || (*mhz >= s.BandLow && *mhz < s.BandHigh);
}

} // namespace

ClipboardCopy CopyChannels(const ProgramState& state, const std::vector<int>& rows) {
    ClipboardCopy copy;
    copy.text = ExportCsv(state, rows, true).text;
    Json form = Json::object();
    form["format"] = kFormat;
    form["version"] = kVersion;
    Json list = Json::array();
    for (int row : rows)
        if (row >= 1 && row <= kChannels)
            list.push_back({{"location", row}, {"channel", cli::ExportJsonChannel(state, row)}});
    form["rows"] = list;
    copy.json = form.dump();
    return copy;
}

CsvPaste PasteChannels(std::string_view json, std::string_view text, ProgramState& state,
                       int firstRow) {
    const std::optional<std::vector<JsonRow>> rows = JsonRows(json);
    if (!rows) return PasteCsv(text, state, firstRow);
    CsvPaste result;
    int lowest = kChannels;
    for (const JsonRow& row : *rows) lowest = std::min(lowest, row.location);
    const std::string band =
        std::to_string(state.BandLow) + "-" + std::to_string(state.BandHigh) + "MHz";
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const JsonRow& row = (*rows)[i];
        const int at = firstRow + row.location - lowest;
        // The report numbers the rows as the copy's text lines: the header
        // is line 1.
        const int line = static_cast<int>(i) + 2;
        if (at > kChannels) {
            if (!row.channel.is_null())
                result.leftOut.push_back({line, CsvLeftOut::NoChannelLeft, {}, {}});
            continue;
        }
        ProgramState placed = state;
        placed.Channel(at).reset();
        cli::ImportJsonChannel(row.channel, at, "channel", placed);
        const std::string rx = placed.CellText(at, kColRxFreq, kEnglish);
        const std::string tx = placed.CellText(at, kColTxFreq, kEnglish);
        if (!row.channel.is_null() && (!InBand(rx, state) || !InBand(tx, state))) {
            result.leftOut.push_back(
                {line, CsvLeftOut::OutsideBand, InBand(rx, state) ? tx : rx, band});
            continue;
        }
        state = std::move(placed);
        ++result.rowsWritten;
    }
    return result;
}

} // namespace quelro
