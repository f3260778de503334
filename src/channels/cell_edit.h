// The rules of the channel grid's in-place editors, free of any window:
// which editor a cell gets, which keys the text editors take, and what a
// committed frequency, tone or list choice does to the channel table.
#pragma once

#include <string_view>
#include <vector>

#include "channels/program_state.h"

namespace quelro {

enum class EditorKind { None, Frequency, Tone, List };

// The editor of a grid column: 1 and 3 the frequency box, 2 and 4 the tone
// drop-down, 5..8 their fixed lists, 0 none.
EditorKind EditorForColumn(int column);

// The column an edit of (row, column) really opens: an empty channel can
// only be started by its receive frequency.
int EditColumn(const ProgramState& state, int row, int column);

// The rows an edit of `row` reaches while `selected` rows are selected: the
// row itself first, then every other selected row that holds a channel - but
// only when `row` holds one (starting a channel is an edit of its own row).
// Each of them goes through the same rule as the row itself.
std::vector<int> BulkEditRows(const ProgramState& state, int row, const std::vector<int>& selected);

// Characters the frequency box and the tone drop-down take: digits, "." and
// Backspace (8). Enter is handled before this filter.
bool AcceptedEditCharacter(char32_t character);

enum class FrequencyOutcome {
    Written,     // the cell holds the snapped frequency
    NewChannel,  // written, and the row received a new channel's defaults
    Cleared,     // the receive frequency was erased: the channel is gone
    Kept,        // nothing changed (empty transmit text, not a number)
    OutsideBand, // refused: the caller shows the band message
};

// Commits the text typed into the frequency box for cell (row, column),
// column 1 or 3, against the state's band limits.
FrequencyOutcome CommitFrequency(ProgramState& state, int row, int column, std::string_view text);

// Starts channel `row` at a receive frequency with the defaults of a new
// channel: the same transmit frequency, tones off, low power, busy lock on
// carrier, wide band, in the scan list.
void GiveNewChannelDefaults(ProgramState& state, int row, Frequency rx);

// A pick from the tone list (position 0..260, 0 off) for column 2 or 4.
void PickTone(ProgramState& state, int row, int column, int position);

// Commits the tone drop-down's text when it loses the focus. `listPosition`
// is the tone-list position the text stands for (0 for the off entry), or -1
// for a typed text that is no entry of the list. A typed tone in 67..254.1
// becomes the channel's tone; outside that range the channel keeps its tone.
void CommitTone(ProgramState& state, int row, int column, std::string_view text, int listPosition);

// A pick (0 or 1) from the list of column 5..8.
void PickListItem(ProgramState& state, int row, int column, int position);

} // namespace quelro
