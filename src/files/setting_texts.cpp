// The settings as the windows show them: the captions and list items of the
// main window, the optional functions, key settings, embedded information,
// service adjust and test frequency windows.
#include "files/setting_texts.h"

#include <cstdio>

#include "codes/bands.h"
#include "codes/conversions.h"
#include "i18n/captions.h"
#include "i18n/optional_captions.h"

namespace quelro {
namespace {

// A list item in both stored languages; generated lists need owned texts.
struct Item {
    std::string zh;
    std::string en;
};
using Items = std::vector<Item>;

// Item `position` of a list; a position outside the list shows as the number.
std::string Pick(const Items& items, int position, int lang) {
    if (position < 0 || position >= static_cast<int>(items.size())) return std::to_string(position);
    const Item& item = items[static_cast<std::size_t>(position)];
    return Localize(Caption{item.zh, item.en}, lang);
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

std::string TwoDigits(int n) {
    char number[4];
    std::snprintf(number, sizeof number, "%02d", n);
    return number;
}

Item ItemOf(const Caption& caption) {
    return {std::string(caption.zh), std::string(caption.en)};
}

template <std::size_t N> Items ItemsOf(const std::array<Caption, N>& captions) {
    Items items;
    for (const Caption& caption : captions) items.push_back(ItemOf(caption));
    return items;
}

const Item kOff{"关闭", "Off"};
const Items kOffOn = ItemsOf(kOffOnItems);
const Item kSecondsUnit{"秒", " S"};

class Texts {
  public:
    Texts(const ProgramState& s, int lang) : s_(s), lang_(lang) {}

    std::vector<SettingText> All() {
        Band();
        General();
        Optional();
        Dtmf();
        Others();
        return std::move(out_);
    }

  private:
    void Add(SettingGroup group, const Caption& label, std::string value) {
        out_.push_back({group, Localize(label, lang_), std::move(value)});
    }

    void Band() { Add(SettingGroup::Band, {"机型选择", "Model"}, BandText(s_)); }

    void General() {
        struct Selector {
            MainSelector selector;
            int index;
            Caption label;
        };
        static constexpr Selector kSelectors[] = {
            {MainSelector::Combo2, kVoicePrompt, {"语言通知", "Language"}},
            {MainSelector::Combo3, kTxTimeout, {"发射超时", "Time-out"}},
            {MainSelector::Combo4, kTimeoutWarn, {"发射超时预警", "Time-out Warn"}},
            {MainSelector::Combo9, kSquelch, {"静噪等级", "Squelch Grade"}},
            {MainSelector::Combo6, kBatterySave, {"省电", "Battery Save"}},
            {MainSelector::Combo7, kBeep, {"提示音", "Beep"}},
        };
        for (const Selector& entry : kSelectors) {
            const int position = s_.MainSelectors[entry.index];
            const bool listed = position >= 0 && position < MainSelectorItemCount(entry.selector);
            Add(SettingGroup::General, entry.label,
                listed ? MainSelectorItemText(entry.selector, position, lang_) : "-");
        }
    }

    void Optional() {
        const auto& text = s_.Functions.Text;
        Items channels;
        for (int n = 1; n <= kChannels; ++n) channels.push_back({TwoDigits(n), TwoDigits(n)});
        Items retrace{ItemOf(kRetraceEmpty)};
        for (int i = 1; i <= 91; ++i) {
            const std::string seconds = FormatFixed(0.5 + (i - 1) * 0.05, 2) + " S";
            retrace.push_back({seconds, seconds});
        }
        const auto check = [&](int field) {
            return text[field] == "0"   ? std::string("[ ]")
                   : text[field] == "1" ? "[x]"
                                        : text[field];
        };
        const auto add = [&](const Caption& label, std::string value) {
            Add(SettingGroup::Optional, label, std::move(value));
        };
        Items delays;
        for (std::string_view delay : kVoxDelayItems)
            delays.push_back({std::string(delay), std::string(delay)});
        add(kPttIdLabel, PickText(ItemsOf(kPttIdItems), text[kPttIdMode], lang_));
        add(kVoxEnableLabel, PickText(kOffOn, text[kVoxEnable], lang_));
        add(kVoxGainLabel,
            PickText(Numbered(ItemOf(kVoxGainOff), 10, {"", ""}), text[kVoxGain], lang_));
        add(kVoxDelayLabel, PickText(delays, text[kVoxDelay], lang_));
        add(kVoxToneLabel, PickText(kOffOn, text[kVoxTone], lang_));
        add(kDuplicateLabel, PickText(kOffOn, text[kDuplicate], lang_));
        add(kPriorityLabel, PickText(ItemsOf(kPriorityItems), text[kPriorityMode], lang_));
        add(kPriorityChannelLabel, PickText(channels, text[kPriorityChannel], lang_));
        add(kRetraceTimeALabel, PickText(retrace, text[kRetraceTimeA], lang_));
        add(kRetraceTimeBLabel, PickText(retrace, text[kRetraceTimeB], lang_));
        add(kReturnChannelLabel, PickText(ItemsOf(kReturnItems), text[kReturnChannel], lang_));
        add(kScanRxResumeDelayLabel, text[kScanRxResumeDelay]);
        add(kScanTxResumeDelayLabel, text[kScanTxResumeDelay]);
        add(kCancelOperationLabel, check(kCancelOperation));
        add(kVoxRxInhibitLabel, check(kVoxRxInhibit));
    }

    void Dtmf() {
        const auto& value = s_.Functions.Value;
        const Items digitTime{
            {"OFF", "OFF"}, {"100MS", "100MS"}, {"500MS", "500MS"}, {"1000MS", "1000MS"}};
        const auto add = [&](const Caption& label, std::string text) {
            Add(SettingGroup::Dtmf, label, std::move(text));
        };
        add({"DTMF 速率", "DTMF rate"},
            Pick({{"6位", "6"}, {"8位", "8"}, {"10位", "10"}, {"15位", "15"}}, value[kDtmfRate],
                 lang_));
        add({"首位数码时间", "First digit time"}, Pick(digitTime, value[kFirstDigitTime], lang_));
        add({"首位数码延迟", "First digit delay"}, std::to_string(value[kFirstDigitDelay]) + "MS");
        add({"*和#音", "* and # tone"}, Pick(digitTime, value[kStarHashTone], lang_));
        add({"D键设定", "D key setting"},
            Pick(Numbered({"D码", "D code"}, 16, kSecondsUnit), value[kDKeySetting], lang_));
        add({"DTMF 侧音", "DTMF side tone"}, Pick(kOffOn, value[kDtmfSideTone], lang_));
        add({"组呼码", "Group call code"},
            Pick({kOff, {"*", "*"}, {"#", "#"}, {"A", "A"}, {"B", "B"}, {"C", "C"}, {"D", "D"}},
                 value[kGroupCallCode], lang_));
        add({"自动复位定时器", "Auto reset timer"},
            Pick(Numbered(kOff, 15, kSecondsUnit), value[kAutoResetTimer], lang_));
        add({"ID 码", "ID code"}, QuotedRadioText(s_.Functions.Text[kIdCode]));
        add({"PTT 开始码", "PTT start code"}, QuotedRadioText(s_.Functions.Text[kPttStartCode]));
        add({"PTT 结束码", "PTT end code"}, QuotedRadioText(s_.Functions.Text[kPttEndCode]));
        for (int m = 0; m < 8; ++m)
            out_.push_back({SettingGroup::Dtmf,
                            Localize({"自动拨号存储器", "Auto-dial memory"}, lang_) + " " +
                                std::to_string(m + 1),
                            QuotedRadioText(s_.Functions.AutoDialMemory[m])});
    }

    void Others() {
        Items keys;
        for (const Caption& key : kSideKeyFunctionItems)
            keys.push_back({std::string(key.zh), std::string(key.en)});
        Add(SettingGroup::Keys, {"PF1", "PF1"}, Pick(keys, s_.SideKeyFunction[0], lang_));
        Add(SettingGroup::Keys, {"PF2", "PF2"}, Pick(keys, s_.SideKeyFunction[1], lang_));
        Add(SettingGroup::Embedded, {"1", "1"}, QuotedRadioText(s_.EmbeddedInfo[0]));
        Add(SettingGroup::Embedded, {"2", "2"}, QuotedRadioText(s_.EmbeddedInfo[1]));
        Add(SettingGroup::Service, {"发射高功率", "TX-Hight Power"},
            std::to_string(s_.TxPowerHigh));
        Add(SettingGroup::Service, {"发射低功率", "TX-Low Power"}, std::to_string(s_.TxPowerLow));
        const std::string rx = Localize({"接收频率", "RX Frequency"}, lang_);
        const std::string tx = Localize({"发射频率", "TX Frequency"}, lang_);
        for (int r = 1; r <= kChannels; ++r) {
            out_.push_back({SettingGroup::TestFrequencies, TwoDigits(r) + " " + rx,
                            s_.TestFrequencyTable[r - 1]});
            out_.push_back({SettingGroup::TestFrequencies, TwoDigits(r) + " " + tx,
                            s_.TestFrequencyTable[r + 15]});
        }
    }

    const ProgramState& s_;
    int lang_;
    std::vector<SettingText> out_;
};

} // namespace

std::vector<SettingText> SettingTexts(const ProgramState& state, int languageMode) {
    return Texts(state, languageMode).All();
}

std::string GroupTitle(SettingGroup group, int languageMode) {
    switch (group) {
    case SettingGroup::Band:
        return Localize({"机型选择", "Model"}, languageMode);
    case SettingGroup::General:
        return Localize({"功能设置", "Function Set"}, languageMode);
    case SettingGroup::Optional:
        return Localize(kOptionalTitle, languageMode);
    case SettingGroup::Dtmf:
        return "DTMF";
    case SettingGroup::Keys:
        return Localize({"键设定", "Keys Set"}, languageMode);
    case SettingGroup::Embedded:
        return Localize({"嵌入信息", "Embedded Information"}, languageMode);
    case SettingGroup::Service:
        return Localize({"调试", "Debug"}, languageMode);
    case SettingGroup::TestFrequencies:
        return Localize({"测试频率", "Debug frequency"}, languageMode);
    }
    return {};
}

std::string QuotedRadioText(std::string_view bytes) {
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

std::string BandText(const ProgramState& state) {
    const bool listed =
        state.BandSelection >= 0 && state.BandSelection < static_cast<int>(kBands.size());
    return listed ? std::string(kBands[state.BandSelection].text) : "-";
}

} // namespace quelro
