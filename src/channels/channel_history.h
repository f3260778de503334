// The undo history of the channel table: every change to the 16 channels
// (and the band they were checked against) as a step that can be undone and
// redone. The windows record a step after each command that may change the
// table; the history keeps only real changes.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <optional>

#include "channels/program_state.h"

namespace quelro {

class ChannelHistory {
  public:
    static constexpr std::size_t kSteps = 100;

    // Starts a new history at the state's table (start-up, a file opened, a
    // radio read).
    void Reset(const ProgramState& state);

    // Makes the state's table a new step when it differs from the last one;
    // whatever was undone can then no longer be redone. True when it did.
    bool Record(const ProgramState& state);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

    // Puts the table of the step before (after) into the state. False when
    // there is none.
    bool Undo(ProgramState& state);
    bool Redo(ProgramState& state);

  private:
    struct Table {
        std::array<std::optional<ChannelRecord>, kChannels> channels;
        int bandIndex = 0;
        int bandSelection = 0;
        bool operator==(const Table&) const = default;
    };
    static Table TableOf(const ProgramState& state);
    static void Restore(const Table& table, ProgramState& state);
    // Moves the newest step of `from` into the state, the present onto `to`.
    bool Step(std::deque<Table>& from, std::deque<Table>& to, ProgramState& state);

    Table current_;
    std::deque<Table> undo_;
    std::deque<Table> redo_;
};

} // namespace quelro
