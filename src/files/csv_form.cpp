// The CSV memory form: rows to channels (frequencies through the grid's
// commit rule, the tone modes, FM / NFM, scan and power) and back.
#include "files/csv_form.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <variant>

#include "channels/cell_edit.h"
#include "codes/bands.h"
#include "codes/conversions.h"
#include "codes/tone_codes.h"
#include "files/csv_text.h"
#include "i18n/captions.h"

namespace quelro {
namespace {

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

constexpr std::array<std::string_view, kFieldCount> kHeader{
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

using Row = std::array<std::string, kFieldCount>;

// What an empty channel contributes for a missing column: a new channel of
// the grid (tones off, low power, wide, in the scan list), and the values
// that unused tone columns hold.
Row NewChannelRow() {
    Row row;
    row[kOffset] = "0.000000";
    row[kRToneFreq] = "88.5";
    row[kCToneFreq] = "88.5";
    row[kDtcsCode] = "023";
    row[kDtcsPolarity] = "NN";
    row[kRxDtcsCode] = "023";
    row[kCrossMode] = "Tone->Tone";
    row[kMode] = "FM";
    row[kTStep] = "5.00";
    row[kPower] = "Low";
    return row;
}

// ---- tones ---------------------------------------------------------------------

// Where a tone of a row comes from. DTCS uses DtcsCode for both tones, each
// with its own polarity letter.
enum class ToneSource { Off, RTone, CTone, DtcsTx, DtcsRx, RxDtcs };

struct CrossEntry {
    std::string_view name;
    ToneSource tx;
    ToneSource rx;
};

constexpr std::array<CrossEntry, 8> kCrossModes{{
    {"Tone->Tone", ToneSource::RTone, ToneSource::CTone},
    {"Tone->DTCS", ToneSource::RTone, ToneSource::RxDtcs},
    {"DTCS->Tone", ToneSource::DtcsTx, ToneSource::CTone},
    {"->Tone", ToneSource::Off, ToneSource::CTone},
    {"->DTCS", ToneSource::Off, ToneSource::RxDtcs},
    {"DTCS->", ToneSource::DtcsTx, ToneSource::Off},
    {"Tone->", ToneSource::RTone, ToneSource::Off},
    {"DTCS->DTCS", ToneSource::DtcsTx, ToneSource::RxDtcs},
}};

enum class ToneKind { Off, Ctcss, Dcs };

ToneKind KindOf(ToneSource source) {
    switch (source) {
    case ToneSource::Off:
        return ToneKind::Off;
    case ToneSource::RTone:
    case ToneSource::CTone:
        return ToneKind::Ctcss;
    default:
        return ToneKind::Dcs;
    }
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// A number in "." or "," decimal form (files from comma-decimal locales).
std::optional<double> Number(std::string_view text) {
    std::string dotted(text);
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    const std::optional<double> value = ParseNumber(dotted);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

// A CTCSS tone as the tone editor takes it: 67.0..254.1, one decimal.
std::optional<std::string> CtcssText(std::string_view text) {
    const std::optional<double> value = Number(text);
    if (!value || *value < 67 || *value > 254.1) return std::nullopt;
    return FormatFixed(*value, 1);
}

// A DCS code of the radio's list, "23" standing for 023.
std::optional<std::string> DcsCode(std::string_view text) {
    const std::string code = Trimmed(text);
    if (code.empty() || code.size() > 3 ||
        !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const std::string padded = std::string(3 - code.size(), '0') + code;
    if (std::find(kDcsCodes.begin(), kDcsCodes.end(), padded) == kDcsCodes.end())
        return std::nullopt;
    return padded;
}

// ---- frequencies -------------------------------------------------------------------

// Frequencies as whole 10 Hz units, so that offsets add exactly.
constexpr long long kUnitsPerMHz = 100000;
constexpr double kHighestMHz = 10000; // no radio frequency reaches it

std::optional<long long> Units(std::string_view text) {
    const std::optional<double> value = Number(text);
    if (!value || *value < 0 || *value >= kHighestMHz) return std::nullopt;
    return std::llround(*value * kUnitsPerMHz);
}

std::string UnitsText(long long units, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%05lld", units / kUnitsPerMHz, units % kUnitsPerMHz);
    return std::string(text) + std::string(static_cast<std::size_t>(decimals - 5), '0');
}

// The grid's commit rule: five decimals, then down to the channel raster.
std::string Committed(long long units) {
    return FormatFixed(SnapToRaster(UnitsText(units, 5)), 5);
}

// ---- reading a row ---------------------------------------------------------------

struct Channel {
    std::string rx, tx;         // cells; tx empty when the channel cannot transmit
    std::string rxTone, txTone; // tone texts, empty for off
    int power = 0, busy = 1, bandwidth = 1, scan = 1;
};

struct ParsedRow {
    std::optional<Channel> channel;
    CsvLeftOut leftOut;
};

ParsedRow LeftOut(CsvLeftOut::Reason reason, std::string value) {
    return {std::nullopt, {0, reason, std::move(value), {}}};
}

bool IsLow(std::string_view power) {
    if (!power.empty() && (power.front() == 'L' || power.front() == 'l')) return true;
    // A watt value ("1.0W"); a text that is no number counts as high.
    const std::string number(power.substr(0, power.find_first_of("wW")));
    const std::optional<double> watts = Number(number);
    return watts && *watts <= 2;
}

// The tone a source names, as the grid's tone text ("" for off).
std::optional<std::string> ToneFrom(ToneSource source, const Row& row, ParsedRow& error) {
    auto dcs = [&](Field codeField, std::size_t letter) -> std::optional<std::string> {
        const std::optional<std::string> code = DcsCode(row[codeField]);
        if (!code) {
            error = LeftOut(CsvLeftOut::BadDcsCode, row[codeField]);
            return std::nullopt;
        }
        const std::string& polarity = row[kDtcsPolarity];
        const char p =
            polarity.size() == 2
                ? static_cast<char>(std::toupper(static_cast<unsigned char>(polarity[letter])))
                : '?';
        if (p != 'N' && p != 'R') {
            error = LeftOut(CsvLeftOut::BadPolarity, polarity);
            return std::nullopt;
        }
        return "D" + *code + (p == 'N' ? "N" : "I");
    };
    auto ctcss = [&](Field field) -> std::optional<std::string> {
        std::optional<std::string> tone = CtcssText(row[field]);
        if (!tone) error = LeftOut(CsvLeftOut::BadTone, row[field]);
        return tone;
    };
    switch (source) {
    case ToneSource::Off:
        return std::string();
    case ToneSource::RTone:
        return ctcss(kRToneFreq);
    case ToneSource::CTone:
        return ctcss(kCToneFreq);
    case ToneSource::DtcsTx:
        return dcs(kDtcsCode, 0);
    case ToneSource::DtcsRx:
        return dcs(kDtcsCode, 1);
    case ToneSource::RxDtcs:
        return dcs(kRxDtcsCode, 1);
    }
    return std::nullopt;
}

ParsedRow ParseRow(const Row& row, int busy) {
    Channel c;
    c.busy = busy;
    const std::optional<long long> rx = Units(row[kFrequency]);
    if (!rx || *rx == 0) return LeftOut(CsvLeftOut::BadFrequency, row[kFrequency]);
    c.rx = Committed(*rx);

    const std::string& duplex = row[kDuplex];
    const std::optional<long long> offset = Units(row[kOffset]);
    const long long rxUnits = *Units(c.rx);
    if (duplex.empty()) {
        c.tx = c.rx;
    } else if (SameText(duplex, "off")) {
        c.tx.clear();
    } else if (duplex == "+" || duplex == "-" || SameText(duplex, "split")) {
        const long long tx = !offset         ? 0
                             : duplex == "+" ? rxUnits + *offset
                             : duplex == "-" ? rxUnits - *offset
                                             : *offset;
        if (tx <= 0 || tx >= kHighestMHz * kUnitsPerMHz)
            return LeftOut(CsvLeftOut::BadOffset, row[kOffset]);
        c.tx = Committed(tx);
    } else {
        return LeftOut(CsvLeftOut::BadDuplex, duplex);
    }

    const std::string& mode = row[kTone];
    ToneSource txSource = ToneSource::Off;
    ToneSource rxSource = ToneSource::Off;
    if (SameText(mode, "Tone")) {
        txSource = ToneSource::RTone;
    } else if (SameText(mode, "TSQL")) {
        txSource = rxSource = ToneSource::CTone;
    } else if (SameText(mode, "DTCS")) {
        txSource = ToneSource::DtcsTx;
        rxSource = ToneSource::DtcsRx;
    } else if (SameText(mode, "Cross")) {
        const auto entry = std::find_if(kCrossModes.begin(), kCrossModes.end(), [&](const auto& e) {
            return SameText(e.name, row[kCrossMode]);
        });
        if (entry == kCrossModes.end()) return LeftOut(CsvLeftOut::BadToneMode, row[kCrossMode]);
        txSource = entry->tx;
        rxSource = entry->rx;
    } else if (!mode.empty()) {
        return LeftOut(CsvLeftOut::BadToneMode, mode);
    }
    ParsedRow error;
    const std::optional<std::string> txTone = ToneFrom(txSource, row, error);
    if (!txTone) return error;
    const std::optional<std::string> rxTone = ToneFrom(rxSource, row, error);
    if (!rxTone) return error;
    c.txTone = *txTone;
    c.rxTone = *rxTone;

    if (SameText(row[kMode], "FM"))
        c.bandwidth = 1;
    else if (SameText(row[kMode], "NFM"))
        c.bandwidth = 0;
    else
        return LeftOut(CsvLeftOut::BadMode, row[kMode]);
    c.scan = SameText(row[kSkip], "S") ? 0 : 1;
    c.power = IsLow(row[kPower]) ? 0 : 1;
    return {c, {}};
}

// ---- writing a row ---------------------------------------------------------------

// The list position a list cell stands for, as the image stores it: item 0
// only when the cell shows item 0's text.
int ListItem(const ProgramState& s, int row, int column) {
    return s.Cell(row, column) == ColumnItemText(column, 0, s.LanguageMode) ? 0 : 1;
}

struct Tone {
    ToneKind kind = ToneKind::Off;
    std::string value; // "88.5", or a DCS code "023"
    char polarity = 'N';
};

// A tone cell as the form can carry it; nullopt for a decoded tone it cannot.
std::optional<Tone> ToneOfCell(const ProgramState& s, int row, int column) {
    const std::string& cell = s.Cell(row, column);
    if (cell.empty() || cell == ToneOffText(s.LanguageMode)) return Tone{};
    if (ToneIndexOf(cell) >= kFirstDcsNormal)
        return Tone{ToneKind::Dcs, cell.substr(1, 3), cell.back() == 'N' ? 'N' : 'R'};
    if (const std::optional<std::string> text = CtcssText(cell); text && *text == cell)
        return Tone{ToneKind::Ctcss, cell};
    return std::nullopt;
}

void PutTones(Row& out, const Tone& tx, const Tone& rx) {
    auto put = [&out](const Tone& tone, bool isTx) {
        if (tone.kind == ToneKind::Ctcss) out[isTx ? kRToneFreq : kCToneFreq] = tone.value;
        if (tone.kind == ToneKind::Dcs) {
            out[isTx ? kDtcsCode : kRxDtcsCode] = tone.value;
            out[kDtcsPolarity][isTx ? 0 : 1] = tone.polarity;
        }
    };
    if (tx.kind == ToneKind::Off && rx.kind == ToneKind::Off) return;
    if (tx.kind == ToneKind::Ctcss && rx.kind == ToneKind::Off) {
        out[kTone] = "Tone";
        put(tx, true);
    } else if (tx.kind == ToneKind::Ctcss && rx.kind == ToneKind::Ctcss && tx.value == rx.value) {
        // Readers differ in which column they take the tone from.
        out[kTone] = "TSQL";
        out[kRToneFreq] = out[kCToneFreq] = tx.value;
    } else if (tx.kind == ToneKind::Dcs && rx.kind == ToneKind::Dcs && tx.value == rx.value) {
        out[kTone] = "DTCS";
        out[kDtcsCode] = tx.value;
        out[kDtcsPolarity] = {tx.polarity, rx.polarity};
    } else {
        out[kTone] = "Cross";
        for (const CrossEntry& entry : kCrossModes)
            if (KindOf(entry.tx) == tx.kind && KindOf(entry.rx) == rx.kind) {
                out[kCrossMode] = std::string(entry.name);
                break;
            }
        put(tx, true);
        put(rx, false);
    }
}

Row ExportRow(const ProgramState& s, int row, std::vector<CsvToneWarning>* warnings) {
    Row out = NewChannelRow();
    out[kLocation] = std::to_string(row);
    const std::optional<long long> rx = Units(s.Cell(row, kColRxFreq));
    const std::optional<long long> tx = Units(s.Cell(row, kColTxFreq));
    out[kFrequency] = UnitsText(rx.value_or(0), 6);
    if (s.Cell(row, kColTxFreq).empty()) {
        out[kDuplex] = "off";
    } else if (rx && tx && *tx != *rx) {
        out[kDuplex] = *tx > *rx ? "+" : "-";
        out[kOffset] = UnitsText(std::llabs(*tx - *rx), 6);
    }
    std::array<Tone, 2> tones; // transmit, receive
    for (auto [i, column] : {std::pair{0, kColTxTone}, std::pair{1, kColRxTone}}) {
        const std::optional<Tone> tone = ToneOfCell(s, row, column);
        if (tone)
            tones[i] = *tone;
        else if (warnings != nullptr)
            warnings->push_back({row, s.Cell(row, column)});
    }
    PutTones(out, tones[0], tones[1]);
    out[kMode] = ListItem(s, row, kColBandwidth) == 0 ? "NFM" : "FM";
    // 6.25 kHz steps only for a frequency off the 5 kHz raster.
    constexpr long long k5kHz = 500, k625kHz = 625;
    for (const std::optional<long long>& f : {rx, tx})
        if (f && *f % k5kHz != 0 && *f % k625kHz == 0) out[kTStep] = "6.25";
    const std::string& scan = s.Cell(row, kColScan);
    out[kSkip] = scan.empty() || scan == ColumnItemText(kColScan, 0, s.LanguageMode) ? "S" : "";
    out[kPower] = ListItem(s, row, kColPower) == 0 ? "Low" : "High";
    return out;
}

// ---- placing rows ------------------------------------------------------------------

// Column positions of a record, by header name; -1 for a missing column.
using Columns = std::array<int, kFieldCount>;

std::optional<Columns> HeaderColumns(const CsvRecord& header) {
    Columns columns;
    columns.fill(-1);
    for (std::size_t i = 0; i < header.fields.size(); ++i)
        for (int f = 0; f < kFieldCount; ++f)
            if (columns[f] < 0 && SameText(Trimmed(header.fields[i]), kHeader[f]))
                columns[f] = static_cast<int>(i);
    if (columns[kFrequency] < 0) return std::nullopt;
    return columns;
}

Columns FullHeaderColumns() {
    Columns columns;
    for (int f = 0; f < kFieldCount; ++f) columns[f] = f;
    return columns;
}

std::string FieldOf(const CsvRecord& record, const Columns& columns, int field) {
    const int at = columns[field];
    return at >= 0 && at < static_cast<int>(record.fields.size()) ? Trimmed(record.fields[at])
                                                                  : std::string();
}

// A record's row: missing columns (and empty Mode and Power cells, which
// have no meaning of their own) from the base channel or a new channel.
Row RowOf(const CsvRecord& record, const Columns& columns, const Row& base) {
    Row row;
    for (int f = 0; f < kFieldCount; ++f) {
        row[f] = columns[f] < 0 ? base[f] : FieldOf(record, columns, f);
        if ((f == kMode || f == kPower) && row[f].empty()) row[f] = base[f];
    }
    return row;
}

struct BandRange {
    double low = 0, high = 0;
    std::string text;
    bool Holds(const Channel& c) const {
        auto in = [this](const std::string& cell) {
            const double f = *Number(cell);
            return f >= low && f < high;
        };
        return in(c.rx) && (c.tx.empty() || in(c.tx));
    }
    std::string Outside(const Channel& c) const {
        const double rx = *Number(c.rx);
        return rx >= low && rx < high ? c.tx : c.rx;
    }
};

BandRange RangeOf(int position) {
    const BandLimits limits = LimitsFromText(kBands.at(position).text);
    return {static_cast<double>(limits.low), static_cast<double>(limits.high),
            std::string(kBands.at(position).text)};
}

void Apply(ProgramState& s, int row, const Channel& c) {
    s.Cell(row, kColRxFreq) = c.rx;
    s.Cell(row, kColTxFreq) = c.tx;
    for (auto [column, tone] :
         {std::pair{kColRxTone, &c.rxTone}, std::pair{kColTxTone, &c.txTone}}) {
        const int position = tone->empty() ? 0 : ToneIndexOf(*tone);
        if (position != kToneNotListed) {
            PickTone(s, row, column, position);
        } else {
            // A tone from the editor's range that is no entry of the list.
            s.Cell(row, column) = *tone;
            s.Choice(row, column) = kToneNotListed;
        }
    }
    PickListItem(s, row, kColPower, c.power);
    PickListItem(s, row, kColBusyLock, c.busy);
    PickListItem(s, row, kColBandwidth, c.bandwidth);
    PickListItem(s, row, kColScan, c.scan);
}

// The rows of a text that carry a frequency, with their columns.
struct Rows {
    std::vector<CsvRecord> records;
    Columns columns{};
};

// Reads the records of `rows` against `base` into `target`, from
// `firstRow` on or at their Location, checking each against `band`.
std::vector<CsvLeftOut> PlaceRows(const Rows& rows, const ProgramState& base, ProgramState& target,
                                  const BandRange& band, int firstRow, bool byLocation,
                                  int* written) {
    std::vector<CsvLeftOut> leftOut;
    int next = firstRow;
    for (const CsvRecord& record : rows.records) {
        const int at = byLocation ? std::stoi(FieldOf(record, rows.columns, kLocation)) : next;
        const bool inTable = at <= kChannels;
        const Row baseRow =
            inTable && !base.ChannelEmpty(at) ? ExportRow(base, at, nullptr) : NewChannelRow();
        const int busy = inTable && !base.ChannelEmpty(at) ? ListItem(base, at, kColBusyLock) : 1;
        ParsedRow parsed = ParseRow(RowOf(record, rows.columns, baseRow), busy);
        if (parsed.channel && !band.Holds(*parsed.channel))
            parsed = {std::nullopt,
                      {0, CsvLeftOut::OutsideBand, band.Outside(*parsed.channel), band.text}};
        if (parsed.channel && !inTable) parsed = LeftOut(CsvLeftOut::NoChannelLeft, {});
        if (!parsed.channel) {
            parsed.leftOut.line = record.line;
            leftOut.push_back(parsed.leftOut);
            continue;
        }
        Apply(target, at, *parsed.channel);
        ++next;
        if (written != nullptr) ++*written;
    }
    return leftOut;
}

// True when every row names a distinct Location from 1 to 16.
bool PlacedByLocation(const Rows& rows) {
    if (rows.columns[kLocation] < 0) return false;
    std::array<bool, kChannels + 1> taken{};
    for (const CsvRecord& record : rows.records) {
        const std::string location = FieldOf(record, rows.columns, kLocation);
        if (location.empty() || location.size() > 2 ||
            !std::all_of(location.begin(), location.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        const int n = std::stoi(location);
        if (n < 1 || n > kChannels || taken[n]) return false;
        taken[n] = true;
    }
    return true;
}

// The band for the rows: the first that holds them all, else the one that
// holds the most (the earlier on a tie).
int ChooseBand(const Rows& rows, const ProgramState& base) {
    std::vector<Channel> channels;
    const Row fresh = NewChannelRow();
    for (const CsvRecord& record : rows.records) {
        const int at = static_cast<int>(channels.size()) + 1;
        const bool useBase = at <= kChannels && !base.ChannelEmpty(at);
        const ParsedRow parsed = ParseRow(
            RowOf(record, rows.columns, useBase ? ExportRow(base, at, nullptr) : fresh), 1);
        if (parsed.channel) channels.push_back(*parsed.channel);
    }
    int best = 0;
    std::size_t bestCount = 0;
    for (int position = 0; position < static_cast<int>(kBands.size()); ++position) {
        const BandRange range = RangeOf(position);
        const auto count = static_cast<std::size_t>(std::count_if(
            channels.begin(), channels.end(), [&](const Channel& c) { return range.Holds(c); }));
        if (count == channels.size()) return position;
        if (count > bestCount) {
            best = position;
            bestCount = count;
        }
    }
    return best;
}

bool HoldsAll(const Rows& rows, const ProgramState& base, int position) {
    ProgramState scratch = base;
    const std::vector<CsvLeftOut> leftOut =
        PlaceRows(rows, base, scratch, RangeOf(position), 1, PlacedByLocation(rows), nullptr);
    return std::none_of(leftOut.begin(), leftOut.end(),
                        [](const CsvLeftOut& l) { return l.reason == CsvLeftOut::OutsideBand; });
}

// Splits a text into its rows with a frequency. Without a header the
// columns stand in the order of the full header (when allowed).
std::variant<Rows, CsvRefusal> ReadRows(std::string_view text, bool headerOptional) {
    const CsvText csv = ParseCsvText(text);
    if (csv.errorLine) {
        return CsvRefusal{CsvRefusal::Syntax, *csv.errorLine,
                          "field " + std::to_string(csv.errorField)};
    }
    Rows rows;
    std::size_t first = 0;
    if (!csv.records.empty()) {
        if (const std::optional<Columns> columns = HeaderColumns(csv.records.front())) {
            rows.columns = *columns;
            first = 1;
        }
    }
    if (first == 0) {
        if (!headerOptional)
            return CsvRefusal{CsvRefusal::NoFrequencyColumn,
                              csv.records.empty() ? 1 : csv.records.front().line, "Frequency"};
        rows.columns = FullHeaderColumns();
    }
    for (std::size_t i = first; i < csv.records.size(); ++i)
        if (!FieldOf(csv.records[i], rows.columns, kFrequency).empty())
            rows.records.push_back(csv.records[i]);
    return rows;
}

} // namespace

CsvImport ImportCsv(std::string_view text, const ProgramState& base, CsvBand band) {
    CsvImport result{std::nullopt, {}, base};
    std::variant<Rows, CsvRefusal> read = ReadRows(text, false);
    if (const auto* refusal = std::get_if<CsvRefusal>(&read)) {
        result.refusal = *refusal;
        return result;
    }
    const Rows& rows = std::get<Rows>(read);
    int position = band.position;
    if (position < 0 || position >= static_cast<int>(kBands.size()) ||
        (band.onlyIfItHoldsAll && !HoldsAll(rows, base, position)))
        position = ChooseBand(rows, base);

    ProgramState& s = result.state;
    s.ClearGrid();
    s.BandIndex = position;
    s.SelectBandPosition(position);
    result.leftOut =
        PlaceRows(rows, base, s, RangeOf(position), 1, PlacedByLocation(rows), nullptr);
    return result;
}

CsvPaste PasteCsv(std::string_view text, ProgramState& state, int firstRow) {
    CsvPaste result;
    std::variant<Rows, CsvRefusal> read = ReadRows(text, true);
    if (const auto* refusal = std::get_if<CsvRefusal>(&read)) {
        result.refusal = *refusal;
        return result;
    }
    BandRange band{static_cast<double>(state.BandLow), static_cast<double>(state.BandHigh),
                   std::to_string(state.BandLow) + "-" + std::to_string(state.BandHigh) + "MHz"};
    const ProgramState base = state;
    result.leftOut =
        PlaceRows(std::get<Rows>(read), base, state, band, firstRow, false, &result.rowsWritten);
    return result;
}

CsvExport ExportCsv(const ProgramState& state, const std::vector<int>& rows) {
    CsvExport result;
    result.text = CsvLine(std::vector<std::string>(kHeader.begin(), kHeader.end()));
    for (int row : rows) {
        if (row < 1 || row > kChannels || state.ChannelEmpty(row)) continue;
        const Row out = ExportRow(state, row, &result.warnings);
        result.text += CsvLine(std::vector<std::string>(out.begin(), out.end()));
    }
    return result;
}

CsvExport ExportCsv(const ProgramState& state) {
    std::vector<int> rows;
    for (int row = 1; row <= kChannels; ++row) rows.push_back(row);
    return ExportCsv(state, rows);
}

namespace {

std::string Filled(const Caption& caption, int languageMode,
                   std::initializer_list<std::string_view> values) {
    std::string text = Localize(caption, languageMode);
    char mark[] = "%1";
    for (std::string_view value : values) {
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, 2, value);
        ++mark[1];
    }
    return text;
}

} // namespace

std::string RefusalText(const CsvRefusal& refusal, int languageMode) {
    static constexpr Caption kSyntax{
        "第%1行，%2：不是有效的CSV文本（引号未闭合，或出现在字段中间）",
        "line %1, %2: not valid CSV (a quote is not closed, or stands inside a field)"};
    static constexpr Caption kNoFrequency{"第%1行，%2列：标题行中没有Frequency列",
                                          "line %1, column %2: the header has no Frequency column"};
    return Filled(refusal.kind == CsvRefusal::Syntax ? kSyntax : kNoFrequency, languageMode,
                  {std::to_string(refusal.line), refusal.column});
}

std::string LeftOutText(const CsvLeftOut& leftOut, int languageMode) {
    static constexpr std::array<Caption, 10> kReasons{{
        {"第%1行：Frequency“%2”不是以MHz为单位的频率，未导入",
         "line %1: Frequency \"%2\" is not a frequency in MHz; left out"},
        {"第%1行：Duplex“%2”不是空白、+、-、split或off，未导入",
         "line %1: Duplex \"%2\" is none of empty, +, -, split, off; left out"},
        {"第%1行：Offset“%2”得不出发射频率，未导入",
         "line %1: Offset \"%2\" gives no transmit frequency; left out"},
        {"第%1行：不支持亚音模式“%2”，未导入",
         "line %1: tone mode \"%2\" is not supported; left out"},
        {"第%1行：亚音频“%2”不在67.0到254.1之间，未导入",
         "line %1: tone \"%2\" is not from 67.0 to 254.1; left out"},
        {"第%1行：数字亚音“%2”不在本机的列表中，未导入",
         "line %1: DCS code \"%2\" is not in the radio's list; left out"},
        {"第%1行：DtcsPolarity“%2”应为两个字母N或R，未导入",
         "line %1: DtcsPolarity \"%2\" must be two letters N or R; left out"},
        {"第%1行：模式“%2”不是FM或NFM，未导入",
         "line %1: mode \"%2\" is neither FM nor NFM; left out"},
        {"第%1行：%2 MHz超出频段%3，未导入", "line %1: %2 MHz is outside the band %3; left out"},
        {"第%1行：16个信道已满，未导入", "line %1: all 16 channels are taken; left out"},
    }};
    return Filled(kReasons.at(leftOut.reason), languageMode,
                  {std::to_string(leftOut.line), leftOut.value, leftOut.band});
}

std::string WarningText(const CsvToneWarning& warning, int languageMode) {
    static constexpr Caption kTone{
        "信道%1：亚音“%2”无法写入CSV，已作为关闭写入",
        "channel %1: tone \"%2\" cannot be written to CSV; written as off"};
    return Filled(kTone, languageMode, {std::to_string(warning.channel), warning.tone});
}

} // namespace quelro
