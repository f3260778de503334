// One CSV row and its channel record, both ways.
#include "files/csv_row.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "codes/conversions.h"
#include "codes/tone_codes.h"

namespace quelro::csv {

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

std::optional<double> Number(std::string_view text) {
    std::string dotted(text);
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    const std::optional<double> value = ParseNumber(dotted);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

ParsedRow LeftOut(CsvLeftOut::Reason reason, std::string value) {
    return {std::nullopt, {0, reason, std::move(value), {}}, {}};
}

namespace {

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

bool IsLow(std::string_view power) {
    if (!power.empty() && (power.front() == 'L' || power.front() == 'l')) return true;
    // A watt value ("1.0W"); a text that is no number counts as high.
    const std::string number(power.substr(0, power.find_first_of("wW")));
    const std::optional<double> watts = Number(number);
    return watts && *watts <= 2;
}

// The tone a source names, as the grid's tone text ("" for off). A rounded
// tone is noted in `error.changed`.
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
        if (!tone) {
            error = LeftOut(CsvLeftOut::BadTone, row[field]);
        } else if (const double tenths = *Number(row[field]) * 10;
                   std::abs(tenths - std::round(tenths)) > 1e-6) {
            error.changed.push_back({0, row[field], *tone});
        }
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

// ---- writing a row ---------------------------------------------------------------

struct Tone {
    ToneKind kind = ToneKind::Off;
    std::string value; // "88.5", or a DCS code "023"
    char polarity = 'N';
};

// A record's tone as the form can carry it; nullopt for a decoded tone it
// cannot.
std::optional<Tone> ToneOf(const std::string& tone) {
    if (tone.empty()) return Tone{};
    if (ToneIndexOf(tone) >= kFirstDcsNormal)
        return Tone{ToneKind::Dcs, tone.substr(1, 3), tone.back() == 'N' ? 'N' : 'R'};
    if (const std::optional<std::string> text = CtcssText(tone); text && *text == tone)
        return Tone{ToneKind::Ctcss, tone};
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

} // namespace

ParsedRow ParseRow(const Row& row, BusyLock busyLock) {
    ChannelRecord c;
    c.busyLock = busyLock;
    const std::optional<long long> rx = Units(row[kFrequency]);
    if (!rx || *rx == 0) return LeftOut(CsvLeftOut::BadFrequency, row[kFrequency]);
    const std::string rxText = Committed(*rx);
    c.rx = FrequencyOfUnits(*Units(rxText));
    std::vector<CsvChanged> changed;
    if (*Units(rxText) != *rx) changed.push_back({0, row[kFrequency], rxText});

    const std::string& duplex = row[kDuplex];
    const std::optional<long long> offset = Units(row[kOffset]);
    const long long rxUnits = *Units(rxText);
    if (duplex.empty()) {
        c.tx = c.rx;
    } else if (SameText(duplex, "off")) {
        c.tx.reset();
    } else if (duplex == "+" || duplex == "-" || SameText(duplex, "split")) {
        const long long tx = !offset         ? 0
                             : duplex == "+" ? rxUnits + *offset
                             : duplex == "-" ? rxUnits - *offset
                                             : *offset;
        if (tx <= 0 || tx >= kHighestMHz * kUnitsPerMHz)
            return LeftOut(CsvLeftOut::BadOffset, row[kOffset]);
        const std::string txText = Committed(tx);
        c.tx = FrequencyOfUnits(*Units(txText));
        if (*Units(txText) != tx) changed.push_back({0, UnitsText(tx, 5), txText});
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
    c.txTone = ToneWordOf(*txTone);
    c.rxTone = ToneWordOf(*rxTone);

    if (SameText(row[kMode], "FM"))
        c.bandwidth = Bandwidth::kWide;
    else if (SameText(row[kMode], "NFM"))
        c.bandwidth = Bandwidth::kNarrow;
    else
        return LeftOut(CsvLeftOut::BadMode, row[kMode]);
    c.scan = SameText(row[kSkip], "S") ? ScanList::kSkipped : ScanList::kScanned;
    c.power = IsLow(row[kPower]) ? Power::kLow : Power::kHigh;
    changed.insert(changed.end(), error.changed.begin(), error.changed.end());
    return {c, {}, changed};
}

Row ExportRow(const ChannelRecord& c, int location, std::vector<CsvToneWarning>* warnings) {
    Row out = NewChannelRow();
    out[kLocation] = std::to_string(location);
    const std::optional<long long> rx = FrequencyUnits(c.rx);
    const std::optional<long long> tx = c.tx ? FrequencyUnits(*c.tx) : std::nullopt;
    out[kFrequency] = UnitsText(rx.value_or(0), 6);
    if (!c.tx) {
        out[kDuplex] = "off";
    } else if (rx && tx && *tx != *rx) {
        out[kDuplex] = *tx > *rx ? "+" : "-";
        out[kOffset] = UnitsText(std::llabs(*tx - *rx), 6);
    }
    std::array<Tone, 2> tones; // transmit, receive
    for (auto [i, word] : {std::pair{0, c.txTone}, std::pair{1, c.rxTone}}) {
        const std::string text = ToneWordText(word);
        const std::optional<Tone> tone = ToneOf(text);
        if (tone)
            tones[i] = *tone;
        else if (warnings != nullptr)
            warnings->push_back({location, text});
    }
    PutTones(out, tones[0], tones[1]);
    out[kMode] = c.bandwidth == Bandwidth::kNarrow ? "NFM" : "FM";
    // 6.25 kHz steps only for a frequency off the 5 kHz raster.
    constexpr long long k5kHz = 500, k625kHz = 625;
    for (const std::optional<long long>& f : {rx, tx})
        if (f && *f % k5kHz != 0 && *f % k625kHz == 0) out[kTStep] = "6.25";
    out[kSkip] = c.scan == ScanList::kSkipped ? "S" : "";
    out[kPower] = c.power == Power::kLow ? "Low" : "High";
    return out;
}

} // namespace quelro::csv
