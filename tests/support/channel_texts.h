// Channels for tests written as the grid shows them: frequency and tone
// texts ("" an absent transmit frequency, "" or "Off" an off tone) and list
// items 0/1.
#pragma once

#include <string>
#include <string_view>

#include "channels/program_state.h"

namespace quelro::test {

inline ChannelRecord ChannelOf(std::string_view rx, std::string_view tx, std::string_view rxTone,
                               std::string_view txTone, int power, int busyLock, int bandwidth,
                               int scan) {
    ChannelRecord c;
    c.rx = FrequencyOfText(rx);
    if (!tx.empty()) c.tx = FrequencyOfText(tx);
    const auto tone = [](std::string_view text) {
        return text == "Off" ? kToneOffWord : ToneWordOf(text);
    };
    c.rxTone = tone(rxTone);
    c.txTone = tone(txTone);
    const int items[] = {power, busyLock, bandwidth, scan};
    for (int col = kColPower; col <= kColScan; ++col) SetListItem(c, col, items[col - kColPower]);
    return c;
}

// A new channel at a frequency, as the receive-frequency editor starts it.
inline ChannelRecord ChannelAt(std::string_view rx) {
    return ChannelOf(rx, rx, "", "", 0, 1, 1, 1);
}

// The text of a cell in a language.
inline std::string Shown(const ProgramState& s, int row, int column,
                         int languageMode = kSimplified) {
    return s.CellText(row, column, languageMode);
}

// The position the grid's list shows for a cell of a channel; 0 for an
// empty channel.
inline int Choice(const ProgramState& s, int row, int column) {
    return s.ChannelEmpty(row) ? 0 : ChoiceIndex(*s.Channel(row), column);
}

} // namespace quelro::test
