// The CSV memory form: the header's columns, the band for a list, and rows
// placed in the channel table as channel records; the report's texts.
#include "files/csv_form.h"

#include <algorithm>
#include <array>
#include <variant>

#include "channels/channel_record.h"
#include "codes/bands.h"
#include "files/csv_row.h"
#include "files/csv_text.h"
#include "i18n/captions.h"

namespace quelro {
namespace {

// ---- placing rows ------------------------------------------------------------------

// Column positions of a record, by header name; -1 for a missing column.
using Columns = std::array<int, csv::kFieldCount>;

std::optional<Columns> HeaderColumns(const CsvRecord& header) {
    Columns columns;
    columns.fill(-1);
    for (std::size_t i = 0; i < header.fields.size(); ++i)
        for (int f = 0; f < csv::kFieldCount; ++f)
            if (columns[f] < 0 && csv::SameText(csv::Trimmed(header.fields[i]), csv::kHeader[f]))
                columns[f] = static_cast<int>(i);
    if (columns[csv::kFrequency] < 0) return std::nullopt;
    return columns;
}

Columns FullHeaderColumns() {
    Columns columns;
    for (int f = 0; f < csv::kFieldCount; ++f) columns[f] = f;
    return columns;
}

std::string FieldOf(const CsvRecord& record, const Columns& columns, int field) {
    const int at = columns[field];
    return at >= 0 && at < static_cast<int>(record.fields.size()) ? csv::Trimmed(record.fields[at])
                                                                  : std::string();
}

// A record's row: missing columns (and empty Mode and Power cells, which
// have no meaning of their own) from the base channel or a new channel.
csv::Row RowOf(const CsvRecord& record, const Columns& columns, const csv::Row& base) {
    csv::Row row;
    for (int f = 0; f < csv::kFieldCount; ++f) {
        row[f] = columns[f] < 0 ? base[f] : FieldOf(record, columns, f);
        if ((f == csv::kMode || f == csv::kPower) && row[f].empty()) row[f] = base[f];
    }
    return row;
}

struct BandRange {
    double low = 0, high = 0;
    std::string text;
    // A read row's frequencies are decimal.
    bool In(Frequency frequency) const {
        const double f = static_cast<double>(*FrequencyUnits(frequency)) / 100000;
        return f >= low && f < high;
    }
    bool Holds(const ChannelRecord& c) const { return In(c.rx) && (!c.tx || In(*c.tx)); }
    std::string Outside(const ChannelRecord& c) const {
        return FrequencyText(In(c.rx) && c.tx ? *c.tx : c.rx);
    }
};

BandRange RangeOf(int position) {
    const BandLimits limits = LimitsFromText(kBands.at(position).text);
    return {static_cast<double>(limits.low), static_cast<double>(limits.high),
            std::string(kBands.at(position).text)};
}

// The rows of a text that carry a frequency, with their columns.
struct Rows {
    std::vector<CsvRecord> records;
    Columns columns{};
};

// Where rows go: one after another from a first channel, or at their
// Location moved by `shift`.
struct Placing {
    int firstRow = 1;
    bool byLocation = false;
    int shift = 0;
};

struct Placed {
    std::vector<CsvLeftOut> leftOut;
    std::vector<CsvChanged> changed;
    int written = 0;
};

// Reads the records of `rows` against `base` into `target`, checking each
// against `band`. A record without a Frequency (kept only when placing by
// Location) empties its channel.
Placed PlaceRows(const Rows& rows, const ProgramState& base, ProgramState& target,
                 const BandRange& band, const Placing& placing) {
    Placed placed;
    int next = placing.firstRow;
    for (const CsvRecord& record : rows.records) {
        const int at =
            placing.byLocation
                ? std::stoi(FieldOf(record, rows.columns, csv::kLocation)) + placing.shift
                : next;
        const bool inTable = at <= kChannels;
        if (FieldOf(record, rows.columns, csv::kFrequency).empty()) {
            if (inTable) {
                target.Channel(at).reset();
                ++placed.written;
            }
            continue;
        }
        // A row over a channel keeps what it does not name; over an empty
        // one, what a new channel has.
        const bool over = inTable && !base.ChannelEmpty(at);
        const ChannelRecord baseChannel = over ? *base.Channel(at) : ChannelRecord{};
        const csv::Row baseRow =
            over ? csv::ExportRow(baseChannel, at, nullptr) : csv::NewChannelRow();
        csv::ParsedRow parsed =
            csv::ParseRow(RowOf(record, rows.columns, baseRow), baseChannel.busyLock);
        if (parsed.channel && !band.Holds(*parsed.channel))
            parsed = {std::nullopt,
                      {0, CsvLeftOut::OutsideBand, band.Outside(*parsed.channel), band.text},
                      {}};
        if (parsed.channel && !inTable) parsed = csv::LeftOut(CsvLeftOut::NoChannelLeft, {});
        if (!parsed.channel) {
            parsed.leftOut.line = record.line;
            placed.leftOut.push_back(parsed.leftOut);
            continue;
        }
        for (CsvChanged& changed : parsed.changed) {
            changed.line = record.line;
            placed.changed.push_back(std::move(changed));
        }
        target.Channel(at) = *parsed.channel;
        ++next;
        ++placed.written;
    }
    return placed;
}

// True when every row names a distinct Location from 1 to 16.
bool PlacedByLocation(const Rows& rows) {
    if (rows.columns[csv::kLocation] < 0 || rows.records.empty()) return false;
    std::array<bool, kChannels + 1> taken{};
    for (const CsvRecord& record : rows.records) {
        const std::string location = FieldOf(record, rows.columns, csv::kLocation);
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
int ChooseBand(const Rows& rows) {
    std::vector<ChannelRecord> channels;
    const csv::Row fresh = csv::NewChannelRow();
    for (const CsvRecord& record : rows.records) {
        const csv::ParsedRow parsed =
            csv::ParseRow(RowOf(record, rows.columns, fresh), BusyLock::kCarrier);
        if (parsed.channel) channels.push_back(*parsed.channel);
    }
    int best = 0;
    std::size_t bestCount = 0;
    for (int position = 0; position < static_cast<int>(kBands.size()); ++position) {
        const BandRange range = RangeOf(position);
        const auto count = static_cast<std::size_t>(
            std::count_if(channels.begin(), channels.end(),
                          [&](const ChannelRecord& c) { return range.Holds(c); }));
        if (count == channels.size()) return position;
        if (count > bestCount) {
            best = position;
            bestCount = count;
        }
    }
    return best;
}

bool HoldsAll(const Rows& rows, const ProgramState& cleared, int position) {
    ProgramState scratch = cleared;
    const std::vector<CsvLeftOut> leftOut =
        PlaceRows(rows, cleared, scratch, RangeOf(position), {1, PlacedByLocation(rows), 0})
            .leftOut;
    return std::none_of(leftOut.begin(), leftOut.end(),
                        [](const CsvLeftOut& l) { return l.reason == CsvLeftOut::OutsideBand; });
}

// Splits a text into its rows with a frequency. Without a header the
// columns stand in the order of the full header (when allowed).
std::variant<Rows, CsvRefusal> ReadRows(std::string_view text, bool headerOptional,
                                        bool keepLocated) {
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
        if (!FieldOf(csv.records[i], rows.columns, csv::kFrequency).empty() ||
            (keepLocated && !FieldOf(csv.records[i], rows.columns, csv::kLocation).empty()))
            rows.records.push_back(csv.records[i]);
    // Rows without a frequency stand for empty channels only where every row
    // has its place.
    if (keepLocated && !PlacedByLocation(rows))
        std::erase_if(rows.records, [&rows](const CsvRecord& r) {
            return FieldOf(r, rows.columns, csv::kFrequency).empty();
        });
    return rows;
}

} // namespace

CsvImport ImportCsv(std::string_view text, const ProgramState& base, CsvBand band,
                    CsvUnnamed unnamed) {
    CsvImport result{std::nullopt, {}, {}, base};
    std::variant<Rows, CsvRefusal> read = ReadRows(text, false, false);
    if (const auto* refusal = std::get_if<CsvRefusal>(&read)) {
        result.refusal = *refusal;
        return result;
    }
    const Rows& rows = std::get<Rows>(read);
    ProgramState& s = result.state;
    s.Channels = {};
    int position = band.position;
    if (position < 0 || position >= static_cast<int>(kBands.size()) ||
        (band.onlyIfItHoldsAll && !HoldsAll(rows, s, position)))
        position = ChooseBand(rows);

    s.BandIndex = position;
    s.SelectBandPosition(position);
    const ProgramState cleared = s;
    Placed placed = PlaceRows(rows, unnamed == CsvUnnamed::BaseChannel ? base : cleared, s,
                              RangeOf(position), {1, PlacedByLocation(rows), 0});
    result.leftOut = std::move(placed.leftOut);
    result.changed = std::move(placed.changed);
    return result;
}

CsvPaste PasteCsv(std::string_view text, ProgramState& state, int firstRow) {
    CsvPaste result;
    std::variant<Rows, CsvRefusal> read = ReadRows(text, true, true);
    if (const auto* refusal = std::get_if<CsvRefusal>(&read)) {
        result.refusal = *refusal;
        return result;
    }
    const Rows& rows = std::get<Rows>(read);
    BandRange band{static_cast<double>(state.BandLow), static_cast<double>(state.BandHigh),
                   std::to_string(state.BandLow) + "-" + std::to_string(state.BandHigh) + "MHz"};
    Placing placing{firstRow, PlacedByLocation(rows), 0};
    if (placing.byLocation) {
        int lowest = kChannels;
        for (const CsvRecord& record : rows.records)
            lowest = std::min(lowest, std::stoi(FieldOf(record, rows.columns, csv::kLocation)));
        placing.shift = firstRow - lowest;
    }
    const ProgramState base = state;
    Placed placed = PlaceRows(rows, base, state, band, placing);
    result.leftOut = std::move(placed.leftOut);
    result.changed = std::move(placed.changed);
    result.rowsWritten = placed.written;
    return result;
}

CsvExport ExportCsv(const ProgramState& state, const std::vector<int>& rows, bool withEmpty) {
    CsvExport result;
    result.text = CsvLine(std::vector<std::string>(csv::kHeader.begin(), csv::kHeader.end()));
    for (int row : rows) {
        if (row < 1 || row > kChannels) continue;
        if (state.ChannelEmpty(row)) {
            if (!withEmpty) continue;
            std::vector<std::string> empty(csv::kFieldCount);
            empty[csv::kLocation] = std::to_string(row);
            result.text += CsvLine(empty);
            continue;
        }
        const csv::Row out = csv::ExportRow(*state.Channel(row), row, &result.warnings);
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

std::string ChangedText(const CsvChanged& changed, int languageMode) {
    static constexpr Caption kChanged{"第%1行：“%2”按“%3”读入",
                                      "line %1: \"%2\" was taken as \"%3\""};
    return Filled(kChanged, languageMode,
                  {std::to_string(changed.line), changed.value, changed.taken});
}

} // namespace quelro
