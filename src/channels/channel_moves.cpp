// The reorder commands over the channel table, as permutations of whole rows.
#include "channels/channel_moves.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <set>
#include <string>

namespace quelro {
namespace {

// A channel as it moves: the cells of columns 1..8 and its ten list slots.
struct Row {
    std::array<std::string, kGridCols - 1> cells;
    std::array<int, 10> choices{};
};

Row Take(const ProgramState& state, int row) {
    Row r;
    for (int col = 1; col < kGridCols; ++col) r.cells[col - 1] = state.Cell(row, col);
    for (int k = 0; k < 10; ++k) r.choices[k] = state.Choice(row, k + 2);
    return r;
}

void Put(ProgramState& state, int row, const Row& r) {
    for (int col = 1; col < kGridCols; ++col) state.Cell(row, col) = r.cells[col - 1];
    for (int k = 0; k < 10; ++k) state.Choice(row, k + 2) = r.choices[k];
}

// An empty channel as ClearNO leaves it, with the slot of column 11 that
// ClearNO keeps taken from `keep`.
Row EmptyRow(const Row& keep) {
    Row r;
    r.choices[9] = keep.choices[9];
    return r;
}

// Writes a new order (old row numbers, top to bottom); true when it differs.
bool Reorder(ProgramState& state, const std::array<Row, kChannels>& rows,
             const std::array<int, kChannels>& order) {
    bool changed = false;
    for (int i = 0; i < kChannels; ++i) {
        if (order[i] != i) changed = true;
        Put(state, i + 1, rows[order[i]]);
    }
    return changed;
}

std::array<Row, kChannels> AllRows(const ProgramState& state) {
    std::array<Row, kChannels> rows;
    for (int row = 1; row <= kChannels; ++row) rows[row - 1] = Take(state, row);
    return rows;
}

std::set<int> ValidRows(const std::vector<int>& rows) {
    std::set<int> valid;
    for (int row : rows)
        if (row >= 1 && row <= kChannels) valid.insert(row);
    return valid;
}

std::optional<double> Frequency(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
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
    Reorder(state, AllRows(state), order);
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
    return Reorder(state, AllRows(state), order) ? MoveOutcome::Moved : MoveOutcome::Unchanged;
}

MoveOutcome InsertEmptyChannel(ProgramState& state, int row) {
    if (row < 1 || row > kChannels) return MoveOutcome::Unchanged;
    if (!state.ChannelEmpty(kChannels)) return MoveOutcome::LastInUse;
    const std::array<Row, kChannels> rows = AllRows(state);
    for (int r = kChannels; r > row; --r) Put(state, r, rows[r - 2]);
    Put(state, row, EmptyRow(rows[row - 1]));
    return MoveOutcome::Moved;
}

MoveOutcome DeleteAndMoveUp(ProgramState& state, const std::vector<int>& rows) {
    const std::set<int> gone = ValidRows(rows);
    if (gone.empty()) return MoveOutcome::Unchanged;
    const std::array<Row, kChannels> all = AllRows(state);
    int to = 1;
    for (int from = 1; from <= kChannels; ++from)
        if (!gone.contains(from)) Put(state, to++, all[from - 1]);
    for (; to <= kChannels; ++to) Put(state, to, EmptyRow(all[to - 1]));
    return MoveOutcome::Moved;
}

MoveOutcome SortByRxFrequency(ProgramState& state) {
    std::array<int, kChannels> order;
    for (int i = 0; i < kChannels; ++i) order[i] = i;
    // Rank: 0 a number, 1 a text that is none, 2 an empty channel.
    auto key = [&state](int i) {
        const std::string& rx = state.Cell(i + 1, kColRxFreq);
        if (rx.empty()) return std::pair{2, 0.0};
        const std::optional<double> f = Frequency(rx);
        return f ? std::pair{0, *f} : std::pair{1, 0.0};
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    return Reorder(state, AllRows(state), order) ? MoveOutcome::Moved : MoveOutcome::Unchanged;
}

} // namespace quelro
