// quelro-cli info: the state as the program's windows would show it.
//
// Captions and list items are those of the windows (main window, optional
// functions, key settings, embedded information, test frequencies, service
// adjust), as files/setting_texts holds them for the comparison and the
// channel sheet too.
#include "cli/info_report.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "channels/channel_record.h"
#include "codes/bands.h"
#include "codes/conversions.h"
#include "files/setting_texts.h"
#include "i18n/captions.h"

namespace quelro::cli {
namespace {

struct Line {
    std::string label;
    std::string value;
};

std::string Pad(const std::string& text, std::size_t width) {
    const std::size_t used = DisplayWidth(text);
    return text + std::string(width > used ? width - used : 0, ' ');
}

void Section(std::string& out, const std::string& title, const std::vector<Line>& lines) {
    out += "\n" + title + "\n";
    std::size_t width = 0;
    for (const Line& line : lines) width = std::max(width, DisplayWidth(line.label));
    for (const Line& line : lines)
        out += "  " + Pad(line.label + ":", width + 2) + line.value + "\n";
}

// Rows of cells with every column as wide as its widest cell.
void Table(std::string& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    for (const auto& row : rows) {
        std::string line = "  ";
        for (std::size_t c = 0; c < row.size(); ++c)
            line += (c == 0 ? "" : "  ") + Pad(row[c], widths[c]);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
}

void ChannelSection(std::string& out, const ProgramState& s, int lang) {
    out += GroupTitle(SettingGroup::Band, lang) + ": " + BandText(s) + "\n\n";
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (const Caption& caption : kGridHeaders) header.push_back(Localize(caption, lang));
    rows.push_back(header);
    for (int row = 1; row <= kChannels; ++row) {
        std::vector<std::string> cells;
        for (int col = 0; col < kGridCols; ++col) cells.push_back(s.CellText(row, col, lang));
        rows.push_back(cells);
    }
    Table(out, rows);
}

// Every setting under the title of its window, as files/setting_texts gives them.
void SettingSections(std::string& out, const ProgramState& s, int lang) {
    const std::vector<SettingText> texts = SettingTexts(s, lang);
    for (SettingGroup group : {SettingGroup::General, SettingGroup::Optional, SettingGroup::Dtmf,
                               SettingGroup::Keys, SettingGroup::Embedded, SettingGroup::Service}) {
        std::vector<Line> lines;
        for (const SettingText& text : texts)
            if (text.group == group) lines.push_back({text.label, text.value});
        Section(out, GroupTitle(group, lang), lines);
    }
}

void TestFrequencySection(std::string& out, const ProgramState& s, int lang) {
    out += "\n" + GroupTitle(SettingGroup::TestFrequencies, lang) + "\n";
    std::vector<std::vector<std::string>> rows{{Localize({"频道", "Channel"}, lang),
                                                Localize({"接收频率", "RX Frequency"}, lang),
                                                Localize({"发射频率", "TX Frequency"}, lang)}};
    for (int r = 1; r <= kChannels; ++r) {
        rows.push_back(
            {ChannelNumberText(r), s.TestFrequencyTable[r - 1], s.TestFrequencyTable[r + 15]});
    }
    Table(out, rows);
}

} // namespace

std::size_t DisplayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                          (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                          (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                          (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

std::string InfoReport(const ProgramState& state, int languageMode) {
    std::string out;
    ChannelSection(out, state, languageMode);
    SettingSections(out, state, languageMode);
    TestFrequencySection(out, state, languageMode);
    return out;
}

} // namespace quelro::cli
