// Reordering the channel table: moving channels up and down, inserting an
// empty channel, deleting channels and closing the gap, sorting by receive
// frequency. A channel moves as a whole record; the channel numbers of
// column 0 stay.
#pragma once

#include <vector>

#include "channels/program_state.h"

namespace quelro {

enum class MoveOutcome {
    Moved,     // the table changed
    Unchanged, // nothing to do (at the edge, nothing selected, already sorted)
    LastInUse, // refused: channel 16 holds a channel that would be pushed out
};

// Moves the channels of `rows` (1..16, any order) one row up (delta -1) or
// down (+1) past their neighbours; the selection stays together and stops at
// row 1 and 16. `rows` becomes the rows they now occupy.
MoveOutcome MoveChannels(ProgramState& state, std::vector<int>& rows, int delta);

// Moves the channels of `rows` together so that the first of them becomes
// channel `target` (a drag and drop), as near as the block fits; the others
// keep their order. `rows` becomes the rows they now occupy.
MoveOutcome MoveChannelsTo(ProgramState& state, std::vector<int>& rows, int target);

// Shifts the channels from `row` down by one and leaves `row` empty.
MoveOutcome InsertEmptyChannel(ProgramState& state, int row);

// Removes the channels of `rows` and moves those below up into the gap; the
// bottom rows become empty.
MoveOutcome DeleteAndMoveUp(ProgramState& state, const std::vector<int>& rows);

// Non-empty channels to the top in ascending receive frequency, keeping the
// order of equal frequencies (and of frequencies with a nibble that is no
// decimal digit, which come after the others); empty channels below.
MoveOutcome SortByRxFrequency(ProgramState& state);

} // namespace quelro
