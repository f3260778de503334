// Edit rules of the channel grid: frequency commit with band check and
// raster, tone commit with its range, list picks and new-channel defaults.
#include "channels/cell_edit.h"

#include <algorithm>

#include <string>

#include "channels/channel_record.h"
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
        state.ClearNO(row);
        return FrequencyOutcome::Cleared;
    }
    const std::optional<double> value = ParseNumber(text);
    if (!value) return FrequencyOutcome::Kept;
    // The upper limit itself already lies outside the band.
    if (*value < state.BandLow || *value >= state.BandHigh) return FrequencyOutcome::OutsideBand;

    const std::string typed = FormatFixed(*value, 5);
    const std::string frequency = FormatFixed(SnapToRaster(typed), 5);
    state.Cell(row, column) = frequency;
    if (column == kColRxFreq && state.Cell(row, kColTxFreq).empty()) {
        GiveNewChannelDefaults(state, row);
        return FrequencyOutcome::NewChannel;
    }
    return FrequencyOutcome::Written;
}

void GiveNewChannelDefaults(ProgramState& state, int row) {
    ChannelRecord channel;
    channel.rx = channel.tx = state.Cell(row, kColRxFreq);
    WriteChannel(state, row, channel);
}

void PickTone(ProgramState& state, int row, int column, int position) {
    state.Cell(row, column) = ToneItem(position, state.LanguageMode);
    state.Choice(row, column) = position;
}

void CommitTone(ProgramState& state, int row, int column, std::string_view text, int listPosition) {
    // A DCS code can only be picked, never typed, and the off entry needs no
    // check: both stand as they are.
    if (text.starts_with('D') || listPosition == 0) return;
    int& choice = state.Choice(row, column);
    const std::optional<double> value = ParseNumber(text);
    if (!value || *value < 67 || *value > 254.1) {
        // The entry the cell stands for; a tone that is no entry keeps its text.
        if (choice != kToneNotListed)
            state.Cell(row, column) = ToneItem(choice, state.LanguageMode);
        return;
    }
    state.Cell(row, column) = FormatFixed(*value, 1);
    // A typed tone is no longer the off entry, whatever the language shows next.
    choice = ToneIndexOf(state.Cell(row, column));
}

void PickListItem(ProgramState& state, int row, int column, int position) {
    state.Cell(row, column) = ColumnItemText(column, position, state.LanguageMode);
    state.Choice(row, column) = position;
}

} // namespace quelro
