// ChannelRecord: one channel as the image stores it - two frequencies, two
// tone words and four list items - and the texts the channel table shows for
// it in a language. The record holds no text: a language only decides how a
// channel is shown, never what it is.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codes/tone_codes.h"

namespace quelro {

inline constexpr int kChannels = 16;
inline constexpr int kGridCols = 9;

// Column numbers of the channel table.
enum Column : int {
    kColNumber = 0,
    kColRxFreq = 1,
    kColRxTone = 2,
    kColTxFreq = 3,
    kColTxTone = 4,
    kColPower = 5,
    kColBusyLock = 6,
    kColBandwidth = 7,
    kColScan = 8,
};

// The list items, in the order of their lists (and of their bits).
enum class Power : std::uint8_t { kLow, kHigh };
enum class BusyLock : std::uint8_t { kOff, kCarrier };
enum class Bandwidth : std::uint8_t { kNarrow, kWide };
enum class ScanList : std::uint8_t { kSkipped, kScanned };

// A frequency as the image stores it: eight BCD digits of 10 Hz, most
// significant first (446.00625 MHz is 0x44600625). A nibble above 9 read from
// a radio is kept, so that it is written back as it came.
using Frequency = std::uint32_t;

// The member defaults are a new channel's: tones off, low power, busy lock on
// carrier, wide band, in the scan list.
struct ChannelRecord {
    Frequency rx = 0;
    std::optional<Frequency> tx; // none when the channel cannot transmit
    std::uint16_t rxTone = kToneOffWord, txTone = kToneOffWord;
    Power power = Power::kLow;
    BusyLock busyLock = BusyLock::kCarrier;
    Bandwidth bandwidth = Bandwidth::kWide;
    ScanList scan = ScanList::kScanned;

    bool operator==(const ChannelRecord&) const = default;
};

// "ddd.ddddd" of a frequency, and the frequency of such a text (characters
// that are no hex digit count as 0).
std::string FrequencyText(Frequency frequency);
Frequency FrequencyOfText(std::string_view text);
// The frequency in units of 10 Hz; none when a nibble is no decimal digit.
std::optional<long long> FrequencyUnits(Frequency frequency);
// The frequency of a value in units of 10 Hz; from 1000 MHz on, 999.99999.
Frequency FrequencyOfUnits(long long units);

// Item 0 or 1 of list column 5..8, and the setter.
int ListItem(const ChannelRecord& channel, int column);
void SetListItem(ChannelRecord& channel, int column, int item);

// The text of column 1..8 of a channel in a language: tones off as the
// language's off entry, list items as the language's item texts.
std::string CellText(const ChannelRecord& channel, int column, int languageMode);
// The texts of columns 1..8 (at 0..7).
std::array<std::string, kGridCols - 1> ChannelCells(const ChannelRecord& channel, int languageMode);

// The position the grid's list of column 2..8 shows for the channel: a
// tone's position in the tone list (0 for off, kToneNotListed for a word no
// entry stands for), a list item.
int ChoiceIndex(const ChannelRecord& channel, int column);

// The text of column 0: "01".."16".
std::string ChannelNumberText(int row);

} // namespace quelro
