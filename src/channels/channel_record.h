// ChannelRecord: one channel of the table as the image and every form carry
// it - two frequencies, two tones and four list items - and the one place
// that reads it from the table's cells and writes it back.
//
// A list cell stands for item 0 only when it shows item 0's text in the
// state's language; an empty scan cell (an empty channel) stands for "not
// scanned", every other cell for item 1. A tone cell that is empty or shows
// the off text is off.
#pragma once

#include <array>
#include <string>

#include "channels/program_state.h"

namespace quelro {

// The member defaults are a new channel's: tones off, low power, busy lock on
// carrier, wide band, in the scan list.
struct ChannelRecord {
    std::string rx, tx;         // frequency cells; tx empty when the channel cannot transmit
    std::string rxTone, txTone; // tone texts ("88.5", "D023N", a decoded ".5"), empty for off
    int power = 0;              // 0 low, 1 high
    int busyLock = 1;           // 0 off, 1 carrier
    int bandwidth = 1;          // 0 narrow, 1 wide
    int scan = 1;               // 0 not scanned, 1 in the scan list

    bool operator==(const ChannelRecord&) const = default;
};

// The channel in grid row 1..16. An empty row reads as what the image keeps
// for it: no frequencies, tones off, items 1 but for scan 0.
ChannelRecord ReadChannel(const ProgramState& state, int row);

// Writes the channel's eight cells in the state's language, with their list
// positions: a tone's position in the tone list (0 for off), or
// kToneNotListed for a tone text that is no entry of it.
void WriteChannel(ProgramState& state, int row, const ChannelRecord& channel);

// The texts of columns 1..8 (at 0..7) that WriteChannel writes for a channel.
std::array<std::string, kGridCols - 1> ChannelCells(const ChannelRecord& channel, int languageMode);

} // namespace quelro
