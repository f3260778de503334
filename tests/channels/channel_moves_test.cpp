// The reorder commands over the channel table: which channel ends where,
// and what is refused.
#include "channels/channel_moves.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quelro {
namespace {

// Rows 1..16 hold channels with the given receive texts ("" empty); each
// channel carries its row number as its tone words, so that every channel is
// told apart.
ProgramState Table(const std::vector<std::string>& rx) {
    ProgramState state = ProgramState::StartUp();
    for (int row = 1; row <= static_cast<int>(rx.size()); ++row) {
        if (rx[row - 1].empty()) continue;
        ChannelRecord c;
        c.rx = FrequencyOfText(rx[row - 1]);
        c.rxTone = c.txTone = static_cast<std::uint16_t>(row);
        state.Channel(row) = c;
    }
    return state;
}

struct MoveCase {
    const char* name;
    std::vector<std::string> rx;
    std::function<MoveOutcome(ProgramState&)> act;
    MoveOutcome outcome;
    std::vector<int> from; // the row each of rows 1.. held before (0 empty); rows after: empty
};

class Moves : public ::testing::TestWithParam<MoveCase> {};

TEST_P(Moves, ChannelsMoveWhole) {
    const MoveCase& c = GetParam();
    ProgramState state = Table(c.rx);
    const ProgramState before = state;
    ASSERT_EQ(c.act(state), c.outcome);
    for (int row = 1; row <= kChannels; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const int from = row <= static_cast<int>(c.from.size()) ? c.from[row - 1] : 0;
        EXPECT_EQ(state.Channel(row), from ? before.Channel(from) : std::nullopt);
    }
}

auto Move(std::vector<int> rows, int delta, std::vector<int> after) {
    return [=](ProgramState& s) mutable {
        const MoveOutcome o = MoveChannels(s, rows, delta);
        EXPECT_EQ(rows, after);
        return o;
    };
}
auto DragTo(std::vector<int> rows, int target, std::vector<int> after) {
    return [=](ProgramState& s) mutable {
        const MoveOutcome o = MoveChannelsTo(s, rows, target);
        EXPECT_EQ(rows, after);
        return o;
    };
}
auto Insert(int row) {
    return [=](ProgramState& s) { return InsertEmptyChannel(s, row); };
}
auto Delete(std::vector<int> rows) {
    return [=](ProgramState& s) { return DeleteAndMoveUp(s, rows); };
}
MoveOutcome Sort(ProgramState& s) {
    return SortByRxFrequency(s);
}

using O = MoveOutcome;
const std::vector<std::string> kFour{"430", "420", "", "410"};

INSTANTIATE_TEST_SUITE_P(
    Table, Moves,
    ::testing::Values(
        MoveCase{"UpOne", kFour, Move({2}, -1, {1}), O::Moved, {2, 1, 0, 4}},
        MoveCase{"UpBlock", kFour, Move({3, 4}, -1, {2, 3}), O::Moved, {1, 0, 4, 2}},
        MoveCase{"UpGappedSelection", kFour, Move({2, 4}, -1, {1, 3}), O::Moved, {2, 1, 4, 0}},
        MoveCase{"UpStopsAtRow1", kFour, Move({1, 2}, -1, {1, 2}), O::Unchanged, {1, 2, 0, 4}},
        MoveCase{"DownBlock", kFour, Move({1, 2}, 1, {2, 3}), O::Moved, {0, 1, 2, 4}},
        MoveCase{"DownStopsAtRow16", kFour, Move({4, 16}, 1, {4, 16}), O::Unchanged, {1, 2, 0, 4}},
        MoveCase{"DragDown", kFour, DragTo({1}, 4, {4}), O::Moved, {2, 0, 4, 1}},
        MoveCase{"DragBlockUp", kFour, DragTo({2, 4}, 1, {1, 2}), O::Moved, {2, 4, 1, 0}},
        MoveCase{"DragBlockToTheEnd",
                 kFour,
                 DragTo({1, 2}, 16, {15, 16}),
                 O::Moved,
                 {0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2}},
        MoveCase{"DragOntoItself", kFour, DragTo({2}, 2, {2}), O::Unchanged, {1, 2, 0, 4}},
        MoveCase{"InsertShiftsDown", kFour, Insert(2), O::Moved, {1, 0, 2, 0, 4}},
        MoveCase{"InsertRefusedWhen16InUse",
                 {"401", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "416"},
                 Insert(1),
                 O::LastInUse,
                 {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16}},
        MoveCase{"DeleteClosesGap", kFour, Delete({1, 3}), O::Moved, {2, 4}},
        MoveCase{"DeleteNothing", kFour, Delete({}), O::Unchanged, {1, 2, 0, 4}},
        MoveCase{"SortStableEmptyLast",
                 {"430", "", "410.5", "abc", "410.50", "125"},
                 Sort,
                 O::Moved,
                 {6, 3, 5, 1, 4}},
        MoveCase{"SortAlreadySorted", {"401", "402", ""}, Sort, O::Unchanged, {1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quelro
