// Comparing two programmings cell by cell, setting by setting and, where a
// data file keeps more than its state, byte by byte.
#include "files/programming_diff.h"

#include <algorithm>
#include <cstdio>

#include "i18n/captions.h"
#include "image/memory_image.h"

namespace quelro {
namespace {

constexpr Caption kChannelPrefix{"信道", "CH"};
constexpr Caption kAppears{"新增", "appears"};
constexpr Caption kVanishes{"消失", "vanishes"};
constexpr Caption kEmpty{"(空)", "(empty)"};
constexpr Caption kImageOffset{"映像偏移", "Image offset"};

std::string Shown(const std::string& text, int lang) {
    return text.empty() ? Localize(kEmpty, lang) : text;
}

// The two tone columns share the grid's caption "QT/DQT"; each is told apart
// by the frequency column it follows.
std::string ColumnCaption(int column, int lang) {
    std::string caption = Localize(kGridHeaders.at(column), lang);
    if (column == kColRxTone || column == kColTxTone)
        caption += " (" + Localize(kGridHeaders.at(column - 1), lang) + ")";
    return caption;
}

std::string RowText(const ProgramState& s, int row, int lang) {
    std::string text;
    for (int col = 1; col < kGridCols; ++col)
        text += (col == 1 ? "" : "  ") + Shown(s.CellText(row, col, lang), lang);
    return text;
}

void CompareChannels(const ProgramState& a, const ProgramState& b, int lang,
                     std::vector<Difference>& out) {
    for (int row = 1; row <= kChannels; ++row) {
        const std::string name = ChannelName(row, lang);
        if (a.ChannelEmpty(row) && b.ChannelEmpty(row)) continue;
        if (a.ChannelEmpty(row) || b.ChannelEmpty(row)) {
            const bool appears = a.ChannelEmpty(row);
            Difference d;
            d.kind = appears ? Difference::ChannelAppears : Difference::ChannelVanishes;
            d.channel = row;
            d.where = name + "  " + Localize(appears ? kAppears : kVanishes, lang);
            (appears ? d.after : d.before) = RowText(appears ? b : a, row, lang);
            out.push_back(std::move(d));
            continue;
        }
        for (int col = 1; col < kGridCols; ++col) {
            const std::string before = a.CellText(row, col, lang);
            const std::string after = b.CellText(row, col, lang);
            if (before == after) continue;
            out.push_back({Difference::ChannelCell, row, col, 0,
                           name + "  " + ColumnCaption(col, lang), Shown(before, lang),
                           Shown(after, lang)});
        }
    }
}

void CompareSettings(const ProgramState& a, const ProgramState& b, int lang,
                     std::vector<Difference>& out) {
    const std::vector<SettingText> first = SettingTexts(a, lang);
    const std::vector<SettingText> second = SettingTexts(b, lang);
    for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) {
        if (first[i].value == second[i].value) continue;
        const std::string title = GroupTitle(first[i].group, lang);
        Difference d;
        d.kind = Difference::Setting;
        d.where = title == first[i].label ? title : title + " / " + first[i].label;
        d.before = Shown(first[i].value, lang);
        d.after = Shown(second[i].value, lang);
        out.push_back(std::move(d));
    }
}

void CompareBytes(const Programming& a, const Programming& b, int lang,
                  std::vector<Difference>& out) {
    if (a.imageHex.empty() && b.imageHex.empty()) return;
    const std::string encodedA = EncodeImage(a.state);
    const std::string encodedB = EncodeImage(b.state);
    const std::string imageA = EffectiveImage(a);
    const std::string imageB = EffectiveImage(b);
    for (std::size_t o = 0; o < kImageBytes; ++o) {
        const std::size_t at = o * 2;
        const bool keptBeyond = imageA.compare(at, 2, encodedA, at, 2) != 0 ||
                                imageB.compare(at, 2, encodedB, at, 2) != 0;
        if (!keptBeyond || imageA.compare(at, 2, imageB, at, 2) == 0) continue;
        char offset[16];
        std::snprintf(offset, sizeof offset, "0x%03zX", o);
        out.push_back({Difference::ImageByte, 0, 0, o, Localize(kImageOffset, lang) + " " + offset,
                       imageA.substr(at, 2), imageB.substr(at, 2)});
    }
}

} // namespace

Programming SavedProgramming(const ProgramState& state) {
    Programming saved{ProgramState::StartUp(), {}};
    DecodeImage(saved.state, EncodeImage(state));
    return saved;
}

std::vector<Difference> CompareProgrammings(const Programming& first, const Programming& second,
                                            int languageMode) {
    std::vector<Difference> out;
    CompareChannels(first.state, second.state, languageMode, out);
    CompareSettings(first.state, second.state, languageMode, out);
    CompareBytes(first, second, languageMode, out);
    return out;
}

std::string DifferenceLine(const Difference& d) {
    switch (d.kind) {
    case Difference::ChannelAppears:
        return d.where + "  " + d.after;
    case Difference::ChannelVanishes:
        return d.where + "  " + d.before;
    default:
        return d.where + "  " + d.before + " -> " + d.after;
    }
}

std::string ChannelName(int channel, int languageMode) {
    char number[4];
    std::snprintf(number, sizeof number, "%02d", channel);
    return Localize(kChannelPrefix, languageMode) + number;
}

std::string EffectiveImage(const Programming& programming) {
    std::string image = EncodeImage(programming.state);
    const std::size_t kept = std::min(programming.imageHex.size(), image.size()) & ~std::size_t{1};
    image.replace(0, kept, programming.imageHex, 0, kept);
    return image;
}

} // namespace quelro
