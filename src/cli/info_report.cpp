// quelro-cli info: the state as the program's windows would show it.
//
// Captions and list items are those of the windows (main window, optional
// functions, key settings, embedded information, test frequencies, service
// adjust). The DTMF group, which the program keeps on a part of the
// optional-function window that is never shown, is listed with its Chinese
// design texts and English ones of ours.
#include "cli/info_report.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "channels/channel_record.h"
#include "codes/bands.h"
#include "codes/conversions.h"
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

// A list item in both stored languages.
struct Item {
    std::string zh;
    std::string en;
};
using Items = std::vector<Item>;

std::string Localized(const Item& item, int lang) {
    return Localize(Caption{item.zh, item.en}, lang);
}

// Item `position` of a list; a position outside the list shows as the number.
std::string Pick(const Items& items, int position, int lang) {
    if (position < 0 || position >= static_cast<int>(items.size())) return std::to_string(position);
    return Localized(items[static_cast<std::size_t>(position)], lang);
}

// A setting the program keeps as the decimal text of a list position.
std::string PickText(const Items& items, const std::string& text, int lang) {
    if (!ParseNumber(text)) return text;
    return Pick(items, static_cast<int>(Val(text)), lang);
}

// `first`, then the numbers 1..last each followed by its unit.
Items Numbered(Item first, int last, const Item& unit) {
    Items items{std::move(first)};
    for (int n = 1; n <= last; ++n)
        items.push_back({std::to_string(n) + unit.zh, std::to_string(n) + unit.en});
    return items;
}

const Item kOff{"关闭", "Off"};
const Items kOffOn{{"禁止", "Off"}, {"使能", "On"}};
const Item kSecondsUnit{"秒", " S"};

// A radio text between quotes; bytes without a printable character are
// written as \xNN.
std::string Quoted(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || (b >= 0x7F && b < 0xA0) || b == 0xFF || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            out += Utf8FromBytes(std::string_view(&c, 1));
        }
    }
    return out + "\"";
}

void ChannelSection(std::string& out, const ProgramState& s) {
    const int lang = s.LanguageMode;
    const std::string band =
        s.BandSelection >= 0 && s.BandSelection < static_cast<int>(kBands.size())
            ? std::string(kBands[s.BandSelection].text)
            : "-";
    out += Localize({"机型选择", "Model"}, lang) + ": " + band + "\n\n";
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header;
    for (const Caption& caption : kGridHeaders) header.push_back(Localize(caption, lang));
    rows.push_back(header);
    for (int row = 1; row <= kChannels; ++row) {
        std::vector<std::string> cells{s.Cell(row, kColNumber)};
        if (s.ChannelEmpty(row)) {
            cells.resize(kGridCols);
        } else {
            for (std::string& cell : ChannelCells(ReadChannel(s, row), lang))
                cells.push_back(std::move(cell));
        }
        rows.push_back(cells);
    }
    Table(out, rows);
}

void GeneralSection(std::string& out, const ProgramState& s) {
    const int lang = s.LanguageMode;
    struct Selector {
        MainSelector selector;
        Caption label;
    };
    static constexpr Selector kSelectors[] = {
        {MainSelector::Combo2, {"语言通知", "Language"}},
        {MainSelector::Combo3, {"发射超时", "Time-out"}},
        {MainSelector::Combo4, {"发射超时预警", "Time-out Warn"}},
        {MainSelector::Combo9, {"静噪等级", "Squelch Grade"}},
        {MainSelector::Combo6, {"省电", "Battery Save"}},
        {MainSelector::Combo7, {"提示音", "Beep"}},
    };
    std::vector<Line> lines;
    for (const Selector& entry : kSelectors) {
        const int position = s.MainSelectors[static_cast<int>(entry.selector)];
        const bool listed = position >= 0 && position < MainSelectorItemCount(entry.selector);
        lines.push_back({Localize(entry.label, lang),
                         listed ? MainSelectorItemText(entry.selector, position, lang) : "-"});
    }
    Section(out, Localize({"功能设置", "Function Set"}, lang), lines);
}

void OptionalSection(std::string& out, const ProgramState& s) {
    const int lang = s.LanguageMode;
    const auto& text = s.Functions.Text;
    Items channels;
    for (int n = 1; n <= kChannels; ++n) {
        const std::string number = (n < 10 ? "0" : "") + std::to_string(n);
        channels.push_back({number, number});
    }
    Items retrace{{"空", "Empty"}};
    for (int i = 1; i <= 91; ++i) {
        const std::string seconds = FormatFixed(0.5 + (i - 1) * 0.05, 2) + " S";
        retrace.push_back({seconds, seconds});
    }
    const auto check = [&](int field) {
        return text[field] == "0" ? std::string("[ ]") : text[field] == "1" ? "[x]" : text[field];
    };
    const std::vector<Line> lines{
        {Localize({"PTT ID", "PTT ID"}, lang),
         PickText({{"发射开始", "Launch Start"}, {"发射结束", "Launch End"}, {"两者", "Both"}},
                  text[kPttIdMode], lang)},
        {Localize({"VOX功能", "VOX Function"}, lang), PickText(kOffOn, text[kVoxEnable], lang)},
        {Localize({"VOX增益电平", "VOX GBIN"}, lang),
         PickText(Numbered(kOff, 10, {"", ""}), text[kVoxGain], lang)},
        {Localize({"VOX延迟时间", "VOX Delay time"}, lang), PickText({{"0.3S", "0.3S"},
                                                                      {"0.5S", "0.5S"},
                                                                      {"1S", "1S"},
                                                                      {"1.5S", "1.5S"},
                                                                      {"2S", "2S"},
                                                                      {"3S", "3S"}},
                                                                     text[kVoxDelay], lang)},
        {Localize({"VOX可进行音调", "VOX volume control"}, lang),
         PickText(kOffOn, text[kVoxTone], lang)},
        {Localize({"复制", "Duplicate"}, lang), PickText(kOffOn, text[kDuplicate], lang)},
        {Localize({"优先", "Priority"}, lang),
         PickText({{"无", "No"}, {"固定", "Fixed"}, {"选定", "Selected"}}, text[kPriorityMode],
                  lang)},
        {Localize({"优先信道", "Preferred channel"}, lang),
         PickText(channels, text[kPriorityChannel], lang)},
        {Localize({"回扫时间A", "Retrace Time A"}, lang),
         PickText(retrace, text[kRetraceTimeA], lang)},
        {Localize({"回扫时间B", "Retrace Time B"}, lang),
         PickText(retrace, text[kRetraceTimeB], lang)},
        {Localize({"返回信道", "Return channel"}, lang),
         PickText({{"选定", "Selected"},
                   {"选定+当前", "Selected+Current"},
                   {"优先", "priority"},
                   {"优先+当前", "priority+Current"}},
                  text[kReturnChannel], lang)},
        {Localize({"扫描接收恢复延时时间(秒)", "Scan receive delay time(S)"}, lang),
         text[kScanRxResumeDelay]},
        {Localize({"扫描发射恢复延时时间(秒)", "Scan launch delay time(S)"}, lang),
         text[kScanTxResumeDelay]},
        {Localize({"取消操作", "Cancel operation"}, lang), check(kCancelOperation)},
        {Localize({"接收时禁止VOX", "Received banned VOX"}, lang), check(kVoxRxInhibit)},
    };
    Section(out, Localize({"可选功能", "Optional Function"}, lang), lines);
}

void DtmfSection(std::string& out, const ProgramState& s) {
    const int lang = s.LanguageMode;
    const auto& value = s.Functions.Value;
    const Items digitTime{
        {"OFF", "OFF"}, {"100MS", "100MS"}, {"500MS", "500MS"}, {"1000MS", "1000MS"}};
    std::vector<Line> lines{
        {Localize({"DTMF 速率", "DTMF rate"}, lang),
         Pick({{"6位", "6"}, {"8位", "8"}, {"10位", "10"}, {"15位", "15"}}, value[kDtmfRate],
              lang)},
        {Localize({"首位数码时间", "First digit time"}, lang),
         Pick(digitTime, value[kFirstDigitTime], lang)},
        {Localize({"首位数码延迟", "First digit delay"}, lang),
         std::to_string(value[kFirstDigitDelay]) + "MS"},
        {Localize({"*和#音", "* and # tone"}, lang), Pick(digitTime, value[kStarHashTone], lang)},
        {Localize({"D键设定", "D key setting"}, lang),
         Pick(Numbered({"D码", "D code"}, 16, kSecondsUnit), value[kDKeySetting], lang)},
        {Localize({"DTMF 侧音", "DTMF side tone"}, lang), Pick(kOffOn, value[kDtmfSideTone], lang)},
        {Localize({"组呼码", "Group call code"}, lang),
         Pick({kOff, {"*", "*"}, {"#", "#"}, {"A", "A"}, {"B", "B"}, {"C", "C"}, {"D", "D"}},
              value[kGroupCallCode], lang)},
        {Localize({"自动复位定时器", "Auto reset timer"}, lang),
         Pick(Numbered(kOff, 15, kSecondsUnit), value[kAutoResetTimer], lang)},
        {Localize({"ID 码", "ID code"}, lang), Quoted(s.Functions.Text[kIdCode])},
        {Localize({"PTT 开始码", "PTT start code"}, lang), Quoted(s.Functions.Text[kPttStartCode])},
        {Localize({"PTT 结束码", "PTT end code"}, lang), Quoted(s.Functions.Text[kPttEndCode])},
    };
    for (int m = 0; m < 8; ++m)
        lines.push_back(
            {Localize({"自动拨号存储器", "Auto-dial memory"}, lang) + " " + std::to_string(m + 1),
             Quoted(s.Functions.AutoDialMemory[m])});
    Section(out, "DTMF", lines);
}

void OtherSections(std::string& out, const ProgramState& s) {
    const int lang = s.LanguageMode;
    Items keys;
    for (const Caption& key : kSideKeyFunctionItems)
        keys.push_back({std::string(key.zh), std::string(key.en)});
    Section(out, Localize({"键设定", "Keys Set"}, lang),
            {{"PF1", Pick(keys, s.SideKeyFunction[0], lang)},
             {"PF2", Pick(keys, s.SideKeyFunction[1], lang)}});
    Section(out, Localize({"嵌入信息", "Embedded Information"}, lang),
            {{"1", Quoted(s.EmbeddedInfo[0])}, {"2", Quoted(s.EmbeddedInfo[1])}});
    Section(out, Localize({"调试", "Debug"}, lang),
            {{Localize({"发射高功率", "TX-Hight Power"}, lang), std::to_string(s.TxPowerHigh)},
             {Localize({"发射低功率", "TX-Low Power"}, lang), std::to_string(s.TxPowerLow)}});

    out += "\n" + Localize({"测试频率", "Debug frequency"}, lang) + "\n";
    std::vector<std::vector<std::string>> rows{{Localize({"频道", "Channel"}, lang),
                                                Localize({"接收频率", "RX Frequency"}, lang),
                                                Localize({"发射频率", "TX Frequency"}, lang)}};
    for (int r = 1; r <= kChannels; ++r) {
        char number[4];
        std::snprintf(number, sizeof number, "%02d", r);
        rows.push_back({number, s.TestFrequencyTable[r - 1], s.TestFrequencyTable[r + 15]});
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

std::string InfoReport(const ProgramState& state) {
    std::string out;
    ChannelSection(out, state);
    GeneralSection(out, state);
    OptionalSection(out, state);
    DtmfSection(out, state);
    OtherSections(out, state);
    return out;
}

} // namespace quelro::cli
