// Undo and redo over snapshots of the channel table.
#include "channels/channel_history.h"

namespace quelro {

ChannelHistory::Table ChannelHistory::TableOf(const ProgramState& state) {
    return {state.Channels, state.BandIndex, state.BandSelection};
}

void ChannelHistory::Restore(const Table& table, ProgramState& state) {
    state.Channels = table.channels;
    state.BandIndex = table.bandIndex;
    state.SelectBandPosition(table.bandSelection);
}

void ChannelHistory::Reset(const ProgramState& state) {
    current_ = TableOf(state);
    undo_.clear();
    redo_.clear();
}

bool ChannelHistory::Record(const ProgramState& state) {
    Table table = TableOf(state);
    if (table == current_) return false;
    undo_.push_back(std::move(current_));
    if (undo_.size() > kSteps) undo_.pop_front();
    redo_.clear();
    current_ = std::move(table);
    return true;
}

bool ChannelHistory::Undo(ProgramState& state) {
    return Step(undo_, redo_, state);
}

bool ChannelHistory::Redo(ProgramState& state) {
    return Step(redo_, undo_, state);
}

bool ChannelHistory::Step(std::deque<Table>& from, std::deque<Table>& to, ProgramState& state) {
    if (from.empty()) return false;
    to.push_back(std::move(current_));
    Restore(from.back(), state);
    from.pop_back();
    current_ = TableOf(state);
    return true;
}

} // namespace quelro
