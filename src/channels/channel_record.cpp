// The channel record's texts: frequencies, tones and list items as the
// channel table shows them in each language.
#include "channels/channel_record.h"

#include <cctype>
#include <cstdio>

#include "codes/conversions.h"
#include "i18n/captions.h"

namespace quelro {

std::string FrequencyText(Frequency frequency) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(frequency));
    std::string text(digits);
    text.insert(3, 1, '.');
    return text;
}

Frequency FrequencyOfText(std::string_view text) {
    Frequency frequency = 0;
    // Digits 1..3 and 5..9 of "ddd.ddddd"; a missing digit counts as 0.
    for (std::size_t pos : {0, 1, 2, 4, 5, 6, 7, 8}) {
        const auto c = static_cast<unsigned char>(pos < text.size() ? text[pos] : '0');
        const std::size_t nibble = kHexDigits.find(static_cast<char>(std::toupper(c)));
        frequency = frequency * 16 + (nibble == std::string_view::npos ? 0 : nibble);
    }
    return frequency;
}

std::optional<long long> FrequencyUnits(Frequency frequency) {
    long long units = 0;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const unsigned nibble = (frequency >> shift) & 0xF;
        if (nibble > 9) return std::nullopt;
        units = units * 10 + nibble;
    }
    return units;
}

Frequency FrequencyOfUnits(long long units) {
    // Eight digits hold 999.99999 MHz at most, above every band.
    if (units >= 100000000) return 0x99999999;
    Frequency frequency = 0;
    for (int shift = 0; shift < 32; shift += 4, units /= 10)
        frequency |= static_cast<Frequency>(units % 10) << shift;
    return frequency;
}

int ListItem(const ChannelRecord& c, int column) {
    switch (column) {
    case kColPower:
        return static_cast<int>(c.power);
    case kColBusyLock:
        return static_cast<int>(c.busyLock);
    case kColBandwidth:
        return static_cast<int>(c.bandwidth);
    default:
        return static_cast<int>(c.scan);
    }
}

void SetListItem(ChannelRecord& c, int column, int item) {
    const auto bit = static_cast<std::uint8_t>(item == 0 ? 0 : 1);
    switch (column) {
    case kColPower:
        c.power = Power{bit};
        break;
    case kColBusyLock:
        c.busyLock = BusyLock{bit};
        break;
    case kColBandwidth:
        c.bandwidth = Bandwidth{bit};
        break;
    default:
        c.scan = ScanList{bit};
    }
}

std::string CellText(const ChannelRecord& c, int column, int languageMode) {
    switch (column) {
    case kColRxFreq:
        return FrequencyText(c.rx);
    case kColTxFreq:
        return c.tx ? FrequencyText(*c.tx) : std::string();
    case kColRxTone:
    case kColTxTone: {
        const std::uint16_t word = column == kColRxTone ? c.rxTone : c.txTone;
        return word == kToneOffWord ? ToneItem(0, languageMode) : ToneWordText(word);
    }
    default:
        return ColumnItemText(column, ListItem(c, column), languageMode);
    }
}

std::array<std::string, kGridCols - 1> ChannelCells(const ChannelRecord& c, int languageMode) {
    std::array<std::string, kGridCols - 1> cells;
    for (int col = 1; col < kGridCols; ++col) cells[col - 1] = CellText(c, col, languageMode);
    return cells;
}

int ChoiceIndex(const ChannelRecord& c, int column) {
    if (column != kColRxTone && column != kColTxTone) return ListItem(c, column);
    const std::uint16_t word = column == kColRxTone ? c.rxTone : c.txTone;
    return word == kToneOffWord ? 0 : ToneIndexOf(ToneWordText(word));
}

std::string ChannelNumberText(int row) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", row);
    return number;
}

} // namespace quelro
