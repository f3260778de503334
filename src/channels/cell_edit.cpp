// Edit rules of the channel grid: frequency commit with band check and
// raster, tone commit with its range, list picks and new-channel defaults.
#include "channels/cell_edit.h"

#include <algorithm>

#include <string>

#include "codes/conversions.h"
#include "codes/tone_codes.h"
#include "i18n/captions.h"

namespace quelro {

EditorKind EditorForColumn(int column) {
    switch (column) {
    case kColRxFreq:
    case kColTxFreq:
        return EditorKind::Frequency;
    case kColRxTone:
    case kColTxTone:
        return EditorKind::Tone;
    case kColPower:
    case kColBusyLock:
    case kColBandwidth:
    case kColScan:
        return EditorKind::List;
    default:
        return EditorKind::None;
    }
}

int EditColumn(const ProgramState& state, int row, int column) {
    return state.ChannelEmpty(row) ? kColRxFreq : column;
}

std::vector<int> BulkEditRows(const ProgramState& state, int row,
                              const std::vector<int>& selected) {
    std::vector<int> rows{row};
    if (state.ChannelEmpty(row)) return rows;
    for (int other : selected)
        if (other != row && other >= 1 && other <= kChannels && !state.ChannelEmpty(other) &&
            std::find(rows.begin(), rows.end(), other) == rows.end())
            rows.push_back(other);
    return rows;
}

bool AcceptedEditCharacter(char32_t character) {
    return (character >= U'0' && character <= U'9') || character == U'.' || character == 8;
}

FrequencyOutcome CommitFrequency(ProgramState& state, int row, int column, std::string_view text) {
    if (text.empty()) {
        // Erasing a receive frequency deletes the channel; an erased transmit
        // frequency keeps the one it had.
        if (column != kColRxFreq) return FrequencyOutcome::Kept;
        state.Channel(row).reset();
        return FrequencyOutcome::Cleared;
    }
    const std::optional<double> value = ParseNumber(text);
    if (!value) return FrequencyOutcome::Kept;
    // The upper limit itself already lies outside the band.
    if (*value < state.BandLow || *value >= state.BandHigh) return FrequencyOutcome::OutsideBand;

    const std::string typed = FormatFixed(*value, 5);
    const Frequency frequency = FrequencyOfText(FormatFixed(SnapToRaster(typed), 5));
    std::optional<ChannelRecord>& channel = state.Channel(row);
    if (column == kColTxFreq) {
        // Only the receive frequency starts a channel (EditColumn).
        if (!channel) return FrequencyOutcome::Kept;
        channel->tx = frequency;
        return FrequencyOutcome::Written;
    }
    // A receive frequency on a channel that cannot transmit starts it anew.
    if (!channel || !channel->tx) {
        GiveNewChannelDefaults(state, row, frequency);
        return FrequencyOutcome::NewChannel;
    }
    channel->rx = frequency;
    return FrequencyOutcome::Written;
}

void GiveNewChannelDefaults(ProgramState& state, int row, Frequency rx) {
    ChannelRecord channel;
    channel.rx = rx;
    channel.tx = rx;
    state.Channel(row) = channel;
}

void PickTone(ProgramState& state, int row, int column, int position) {
    std::optional<ChannelRecord>& channel = state.Channel(row);
    if (!channel) return;
    (column == kColRxTone ? channel->rxTone : channel->txTone) =
        position <= 0 ? kToneOffWord : ToneWordOf(ToneItem(position, kSimplified));
}

void CommitTone(ProgramState& state, int row, int column, std::string_view text, int listPosition) {
    // A DCS code can only be picked, never typed, and the off entry needs no
    // check: both stand as they are.
    if (text.starts_with('D') || listPosition == 0) return;
    std::optional<ChannelRecord>& channel = state.Channel(row);
    const std::optional<double> value = ParseNumber(text);
    // Outside the range the channel keeps its tone; the grid shows it again.
    if (!channel || !value || *value < 67 || *value > 254.1) return;
    (column == kColRxTone ? channel->rxTone : channel->txTone) = ToneWordOf(FormatFixed(*value, 1));
}

void PickListItem(ProgramState& state, int row, int column, int position) {
    if (std::optional<ChannelRecord>& channel = state.Channel(row))
        SetListItem(*channel, column, position);
}

} // namespace quelro
