// The reorder commands over the channel table, as permutations of whole channels.
#include "channels/channel_moves.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>

namespace quelro {
namespace {

using Row = std::optional<ChannelRecord>;

void Put(ProgramState& state, int row, const Row& r) {
    state.Channel(row) = r;
}

// Writes a new order (old row numbers, top to bottom); true when it differs.
bool Reorder(ProgramState& state, const std::array<int, kChannels>& order) {
    const std::array<Row, kChannels> rows = state.Channels;
    bool changed = false;
    for (int i = 0; i < kChannels; ++i) {
        if (order[i] != i) changed = true;
        Put(state, i + 1, rows[order[i]]);
    }
    return changed;
}

std::set<int> ValidRows(const std::vector<int>& rows) {
    std::set<int> valid;
    for (int row : rows)
        if (row >= 1 && row <= kChannels) valid.insert(row);
    return valid;
}

} // namespace

MoveOutcome MoveChannels(ProgramState& state, std::vector<int>& rows, int delta) {
    const std::set<int> selected = ValidRows(rows);
    if (selected.empty() || (delta != -1 && delta != 1)) return MoveOutcome::Unchanged;
    if ((delta < 0 && *selected.begin() == 1) || (delta > 0 && *selected.rbegin() == kChannels))
        return MoveOutcome::Unchanged;
    std::array<int, kChannels> order;
    for (int i = 0; i < kChannels; ++i) order[i] = i;
    // Each selected row swaps with the one it moves onto, walking against
    // the direction so that a block of rows moves as one.
    auto swapInto = [&](int row) { std::swap(order[row - 1], order[row - 1 + delta]); };
    if (delta < 0)
        for (int row : selected) swapInto(row);
    else
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) swapInto(*it);
    Reorder(state, order);
    rows.clear();
    for (int row : selected) rows.push_back(row + delta);
    return MoveOutcome::Moved;
}

MoveOutcome MoveChannelsTo(ProgramState& state, std::vector<int>& rows, int target) {
    const std::set<int> moved = ValidRows(rows);
    if (moved.empty()) return MoveOutcome::Unchanged;
    const int count = static_cast<int>(moved.size());
    const int first = std::clamp(target, 1, kChannels - count + 1);
    std::vector<int> others;
    for (int i = 0; i < kChannels; ++i)
        if (!moved.contains(i + 1)) others.push_back(i);
    std::array<int, kChannels> order{};
    auto next = others.begin();
    auto block = moved.begin();
    for (int row = 1; row <= kChannels; ++row)
        order[row - 1] = row >= first && row < first + count ? *block++ - 1 : *next++;
    rows.clear();
    for (int row = first; row < first + count; ++row) rows.push_back(row);
    return Reorder(state, order) ? MoveOutcome::Moved : MoveOutcome::Unchanged;
}

MoveOutcome InsertEmptyChannel(ProgramState& state, int row) {
    if (row < 1 || row > kChannels) return MoveOutcome::Unchanged;
    if (!state.ChannelEmpty(kChannels)) return MoveOutcome::LastInUse;
    const std::array<Row, kChannels> rows = state.Channels;
    for (int r = kChannels; r > row; --r) Put(state, r, rows[r - 2]);
    Put(state, row, std::nullopt);
    return MoveOutcome::Moved;
}

MoveOutcome DeleteAndMoveUp(ProgramState& state, const std::vector<int>& rows) {
    const std::set<int> gone = ValidRows(rows);
    if (gone.empty()) return MoveOutcome::Unchanged;
    const std::array<Row, kChannels> all = state.Channels;
    int to = 1;
    for (int from = 1; from <= kChannels; ++from)
        if (!gone.contains(from)) Put(state, to++, all[from - 1]);
    for (; to <= kChannels; ++to) Put(state, to, std::nullopt);
    return MoveOutcome::Moved;
}

MoveOutcome SortByRxFrequency(ProgramState& state) {
    std::array<int, kChannels> order;
    for (int i = 0; i < kChannels; ++i) order[i] = i;
    // Rank: 0 a number, 1 a text that is none, 2 an empty channel.
    auto key = [&state](int i) {
        const Row& channel = state.Channel(i + 1);
        if (!channel) return std::pair{2, 0LL};
        const std::optional<long long> f = FrequencyUnits(channel->rx);
        return f ? std::pair{0, *f} : std::pair{1, 0LL};
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    return Reorder(state, order) ? MoveOutcome::Moved : MoveOutcome::Unchanged;
}

} // namespace quelro
