// The channel record's rules: which list item and tone a cell stands for,
// and the cells and list positions a record is written as.
#include "channels/channel_record.h"

#include <utility>

#include "codes/tone_codes.h"
#include "i18n/captions.h"

namespace quelro {
namespace {

int ListItemOf(const ProgramState& s, int row, int column) {
    const std::string& cell = s.Cell(row, column);
    if (column == kColScan && cell.empty()) return 0;
    return cell == ColumnItemText(column, 0, s.LanguageMode) ? 0 : 1;
}

std::string ToneOf(const std::string& cell, const std::string& offText) {
    return cell == offText ? std::string() : cell;
}

int TonePosition(const std::string& tone) {
    return tone.empty() ? 0 : ToneIndexOf(tone);
}

} // namespace

ChannelRecord ReadChannel(const ProgramState& s, int row) {
    const std::string off = ToneOffText(s.LanguageMode);
    ChannelRecord c;
    c.rx = s.Cell(row, kColRxFreq);
    c.tx = s.Cell(row, kColTxFreq);
    c.rxTone = ToneOf(s.Cell(row, kColRxTone), off);
    c.txTone = ToneOf(s.Cell(row, kColTxTone), off);
    c.power = ListItemOf(s, row, kColPower);
    c.busyLock = ListItemOf(s, row, kColBusyLock);
    c.bandwidth = ListItemOf(s, row, kColBandwidth);
    c.scan = ListItemOf(s, row, kColScan);
    return c;
}

std::array<std::string, kGridCols - 1> ChannelCells(const ChannelRecord& c, int languageMode) {
    const auto tone = [languageMode](const std::string& text) {
        return text.empty() ? ToneOffText(languageMode) : text;
    };
    return {c.rx,
            tone(c.rxTone),
            c.tx,
            tone(c.txTone),
            ColumnItemText(kColPower, c.power, languageMode),
            ColumnItemText(kColBusyLock, c.busyLock, languageMode),
            ColumnItemText(kColBandwidth, c.bandwidth, languageMode),
            ColumnItemText(kColScan, c.scan, languageMode)};
}

void WriteChannel(ProgramState& s, int row, const ChannelRecord& c) {
    std::array<std::string, kGridCols - 1> cells = ChannelCells(c, s.LanguageMode);
    for (int col = 1; col < kGridCols; ++col) s.Cell(row, col) = std::move(cells[col - 1]);
    s.Choice(row, kColRxTone) = TonePosition(c.rxTone);
    s.Choice(row, kColTxTone) = TonePosition(c.txTone);
    s.Choice(row, kColPower) = c.power;
    s.Choice(row, kColBusyLock) = c.busyLock;
    s.Choice(row, kColBandwidth) = c.bandwidth;
    s.Choice(row, kColScan) = c.scan;
}

} // namespace quelro
