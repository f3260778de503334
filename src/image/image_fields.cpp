// The table of the memory image's fields and the names of their values.
#include "image/image_fields.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "codes/conversions.h"
#include "i18n/optional_captions.h"

namespace quelro {
namespace {

using C = Coding;
using S = Store;
using G = SettingGroup;
using N = Naming;
using K = DecodeStep::Kind;

constexpr ImageField Fill(int offset, int width, std::string_view hex) {
    return {offset, width, 1, C::Fill, S::None, 0, 0, 0, hex};
}

// A field of `count` fields of `width` bytes with no range of its own.
constexpr ImageField Block(int offset, int width, int count, Coding coding, Store store, int index,
                           std::string_view json, Caption caption, SettingGroup group,
                           Naming naming, std::optional<K> step = std::nullopt) {
    return {offset, width, count,   coding, store,         index,  0,   0,
            "",     json,  caption, group,  Control::None, naming, step};
}

// A numeric setting of one byte (two for a word) holding low..high.
constexpr ImageField Number(int offset, Coding coding, Store store, int index, int low, int high,
                            std::string_view json, Caption caption, SettingGroup group,
                            Naming naming, Control control = Control::None,
                            std::optional<K> step = std::nullopt) {
    return {offset,  coding == C::Word ? 2 : 1,
            1,       coding,
            store,   index,
            low,     high,
            "",      json,
            caption, group,
            control, naming,
            step};
}

// A setting of the optional-function window, kept as decimal text.
constexpr ImageField Optional(int offset, Coding coding, int index, int high, std::string_view json,
                              Caption caption, Control control, Naming naming, K step) {
    return Number(offset, coding, S::FunctionText, index, 0, high, json, caption, G::Optional,
                  naming, control, step);
}

constexpr ImageField Dtmf(int offset, Coding coding, int index, int low, int high,
                          std::string_view json, Caption caption, Naming naming) {
    return Number(offset, coding, S::FunctionValue, index, low, high, json, caption, G::Dtmf,
                  naming);
}

constexpr ImageField General(int offset, Coding coding, int index, int high, std::string_view json,
                             Caption caption) {
    return Number(offset, coding, S::Main, index, 0, high, json, caption, G::General, N::MainList);
}

constexpr ImageField Text(int offset, int width, Coding coding, Store store, int index,
                          std::string_view json, Caption caption, SettingGroup group,
                          std::optional<K> step = std::nullopt) {
    return Block(offset, width, 1, coding, store, index, json, caption, group, N::RadioText, step);
}

constexpr auto kFields = std::to_array<ImageField>({
    Block(0x000, 16, kChannels, C::Channels, S::Channels, 0, "", {}, G::None, N::None),
    Dtmf(0x100, C::Position, kDtmfRate, 0, 3, "dtmf_rate", {"DTMF 速率", "DTMF rate"}, N::DtmfRate),
    Dtmf(0x101, C::Position, kFirstDigitTime, 0, 3, "first_digit_time",
         {"首位数码时间", "First digit time"}, N::DigitTime),
    Dtmf(0x102, C::Tenth, kFirstDigitDelay, 100, 1000, "first_digit_delay",
         {"首位数码延迟", "First digit delay"}, N::Milliseconds),
    Dtmf(0x103, C::Position, kStarHashTone, 0, 3, "star_hash_tone", {"*和#音", "* and # tone"},
         N::DigitTime),
    Dtmf(0x104, C::Position, kDKeySetting, 0, 16, "d_key_setting", {"D键设定", "D key setting"},
         N::DKey),
    Dtmf(0x105, C::Position, kDtmfSideTone, 0, 1, "dtmf_side_tone", {"DTMF 侧音", "DTMF side tone"},
         N::OffOn),
    Dtmf(0x106, C::DigitCharacter, kGroupCallCode, 0, 9, "group_call_code",
         {"组呼码", "Group call code"}, N::GroupCall),
    Dtmf(0x107, C::Position, kAutoResetTimer, 0, 15, "auto_reset_timer",
         {"自动复位定时器", "Auto reset timer"}, N::AutoReset),
    Fill(0x108, 5, "FF"),
    Number(0x10D, C::Position, S::SideKey, 0, 0, 11, "side_keys", {"PF1", "PF1"}, G::Keys,
           N::SideKeyFunction, Control::None, K::SideKeyPF1),
    Number(0x10E, C::Position, S::SideKey, 1, 0, 11, "side_keys", {"PF2", "PF2"}, G::Keys,
           N::SideKeyFunction, Control::None, K::SideKeyPF2),
    Fill(0x10F, 1, "FF"),
    Text(0x110, kIdCodeLength, C::TextKeepFF, S::FunctionText, kIdCode, "id_code",
         {"ID 码", "ID code"}, G::Dtmf),
    Fill(0x11A, 5, "FF"),
    General(0x11F, C::Position, kVoicePrompt, 2, "voice_prompt", {"语言通知", "Language"}),
    General(0x120, C::PositionPlusOne, kTxTimeout, 39, "tx_timeout", {"发射超时", "Time-out"}),
    General(0x121, C::Position, kTimeoutWarn, 10, "timeout_warning",
            {"发射超时预警", "Time-out Warn"}),
    Optional(0x122, C::Position, kPttIdMode, 2, "ptt_id_mode", kPttIdLabel, Control::List, N::PttId,
             K::PttIdMode),
    Fill(0x123, 1, "00"),
    General(0x124, C::Position, kSquelch, 9, "squelch", {"静噪等级", "Squelch Grade"}),
    General(0x125, C::Position, kBatterySave, 1, "battery_save", {"省电", "Battery Save"}),
    General(0x126, C::Position, kBeep, 1, "beep", {"提示音", "Beep"}),
    Optional(0x127, C::Position, kCancelOperation, 1, "cancel_operation", kCancelOperationLabel,
             Control::Check, N::Check, K::CancelOperation),
    Optional(0x128, C::Position, kVoxRxInhibit, 1, "vox_rx_inhibit", kVoxRxInhibitLabel,
             Control::Check, N::Check, K::VoxRxInhibit),
    Optional(0x129, C::Position, kVoxEnable, 1, "vox_enable", kVoxEnableLabel, Control::List,
             N::OffOn, K::VoxEnable),
    Optional(0x12A, C::Position, kVoxGain, 10, "vox_gain", kVoxGainLabel, Control::List, N::VoxGain,
             K::VoxGain),
    Optional(0x12B, C::Position, kVoxDelay, 5, "vox_delay", kVoxDelayLabel, Control::List,
             N::VoxDelay, K::VoxDelay),
    Optional(0x12C, C::Position, kVoxTone, 1, "vox_tone", kVoxToneLabel, Control::List, N::OffOn,
             K::VoxTone),
    Fill(0x12D, 1, "FF"),
    Optional(0x12E, C::LowBit, kDuplicate, 1, "duplicate", kDuplicateLabel, Control::List, N::OffOn,
             K::Duplicate),
    Fill(0x12F, 1, "FF"),
    Text(0x130, kPttCodeLength, C::Text, S::FunctionText, kPttStartCode, "ptt_start_code",
         {"PTT 开始码", "PTT start code"}, G::Dtmf),
    Text(0x140, kPttCodeLength, C::Text, S::FunctionText, kPttEndCode, "ptt_end_code",
         {"PTT 结束码", "PTT end code"}, G::Dtmf),
    Optional(0x150, C::Position, kPriorityMode, 2, "priority_mode", kPriorityLabel, Control::List,
             N::Priority, K::PriorityMode),
    Optional(0x151, C::Position, kPriorityChannel, kChannels - 1, "priority_channel",
             kPriorityChannelLabel, Control::List, N::ChannelNumber, K::PriorityChannel),
    Optional(0x152, C::EmptyAsFF, kRetraceTimeA, 91, "retrace_time_a", kRetraceTimeALabel,
             Control::List, N::Retrace, K::RetraceTimeA),
    Optional(0x153, C::EmptyAsFF, kRetraceTimeB, 91, "retrace_time_b", kRetraceTimeBLabel,
             Control::List, N::Retrace, K::RetraceTimeB),
    Optional(0x154, C::Position, kReturnChannel, 3, "return_channel", kReturnChannelLabel,
             Control::List, N::ReturnChannel, K::ReturnChannel),
    Optional(0x155, C::Word, kScanRxResumeDelay, 300, "scan_rx_resume_delay",
             kScanRxResumeDelayLabel, Control::Box, N::AsStored, K::ScanRxResumeDelay),
    Optional(0x157, C::Word, kScanTxResumeDelay, 300, "scan_tx_resume_delay",
             kScanTxResumeDelayLabel, Control::Box, N::AsStored, K::ScanTxResumeDelay),
    Fill(0x159, 21, "FF"),
    Block(0x16E, 2, 1, C::ScanBitmaps, S::Channels, 0, "", {}, G::None, N::None),
    Fill(0x170, 3, "FF"),
    Number(0x173, C::Position, S::Power, 0, 0, 255, "tx_power_high",
           {"发射高功率", "TX-Hight Power"}, G::Service, N::Number, Control::None, K::TxPowerHigh),
    Fill(0x174, 4, "FF"),
    Number(0x178, C::Position, S::Power, 1, 0, 255, "tx_power_low", {"发射低功率", "TX-Low Power"},
           G::Service, N::Number, Control::None, K::TxPowerLow),
    Fill(0x179, 47, "FF"),
    Fill(0x1A8, 5, "524D443437"), // the first model tag, "RMD47"
    Block(0x1AD, 1, 1, C::BandCode, S::Band, 0, "", {"机型选择", "Model"}, G::Band, N::Band,
          K::Band),
    Fill(0x1AE, 2, "F8FF"),
    Fill(0x1B0, 64, "FF"),
    Block(0x1F0, kAutoDialLength, 8, C::DialText, S::AutoDial, 0, "auto_dial_memories",
          {"自动拨号存储器", "Auto-dial memory"}, G::Dtmf, N::RadioText),
    Block(0x270, 8, kChannels, C::Frequencies, S::TestRow, 0, "test_frequencies",
          {"接收频率", "RX Frequency"}, G::TestFrequencies, N::Frequencies, K::TestFrequencyRow),
    Text(0x2F0, kEmbeddedInfoLength, C::Text, S::Embedded, 0, "embedded_info", {"1", "1"},
         G::Embedded, K::EmbeddedInfoLine1),
    Text(0x310, kEmbeddedInfoLength, C::Text, S::Embedded, 1, "embedded_info", {"2", "2"},
         G::Embedded, K::EmbeddedInfoLine2),
    Fill(0x330, 7, "524D4B56343730"), // the second model tag, "RMKV470"
    Fill(0x337, 5, "FF"),
    Block(0x33C, 1, 1, C::BandCopy, S::Band, 0, "", {}, G::None, N::None),
    Fill(0x33D, 3, "FF"),
    Fill(0x340, 8, "3532373138333034"), // the digits 52718304
    Fill(0x348, 8, "88"),
});

// The fields follow one another from offset 0 to the image's end.
constexpr bool Tiles() {
    std::size_t next = 0;
    for (const ImageField& field : kFields) {
        if (static_cast<std::size_t>(field.offset) != next || field.count == 0) return false;
        next = field.End();
    }
    return next == kImageBytes;
}
static_assert(Tiles());

std::string Numbered(int n, std::string_view unit) {
    return std::to_string(n) + std::string(unit);
}

template <std::size_t M>
std::optional<ItemName> From(const std::array<Caption, M>& captions, int position) {
    if (position >= static_cast<int>(M)) return std::nullopt;
    const Caption& c = captions[static_cast<std::size_t>(position)];
    return ItemName{std::string(c.zh), std::string(c.en)};
}

std::optional<ItemName> Same(std::string text) {
    return ItemName{text, text};
}

// `first` at position 0, then the numbers with `unit`.
std::optional<ItemName> OffThenNumbers(const Caption& first, int position, const Caption& unit) {
    if (position == 0) return ItemName{std::string(first.zh), std::string(first.en)};
    return ItemName{Numbered(position, unit.zh), Numbered(position, unit.en)};
}

constexpr Caption kNoUnit{"", ""};
constexpr Caption kOff{"关闭", "Off"};
constexpr Caption kSecondsUnit{"秒", " S"};
constexpr std::array<Caption, 4> kDtmfRates{
    {{"6位", "6"}, {"8位", "8"}, {"10位", "10"}, {"15位", "15"}}};
constexpr std::array<Caption, 4> kDigitTimes{
    {{"OFF", "OFF"}, {"100MS", "100MS"}, {"500MS", "500MS"}, {"1000MS", "1000MS"}}};
constexpr std::array<Caption, 7> kGroupCalls{
    {kOff, {"*", "*"}, {"#", "#"}, {"A", "A"}, {"B", "B"}, {"C", "C"}, {"D", "D"}}};

} // namespace

std::span<const ImageField> ImageFields() {
    return kFields;
}

const ImageField& FieldAt(std::size_t offset) {
    for (const ImageField& field : kFields)
        if (offset >= static_cast<std::size_t>(field.offset) && offset < field.End()) return field;
    throw std::out_of_range("image offset");
}

const ImageField& FieldOf(Store store, int index) {
    for (const ImageField& field : kFields)
        if (field.store == store && index >= field.index && index < field.index + field.count)
            return field;
    throw std::out_of_range("image field");
}

long SettingNumber(const ProgramState& s, const ImageField& field, int i) {
    const int index = field.index + i;
    switch (field.store) {
    case S::Main:
        return s.MainSelectors.at(index);
    case S::FunctionText:
        return static_cast<long>(Val(s.Functions.Text.at(index)));
    case S::FunctionValue:
        return s.Functions.Value.at(index);
    case S::SideKey:
        return s.SideKeyFunction.at(index);
    case S::Power:
        return index == 0 ? s.TxPowerHigh : s.TxPowerLow;
    default:
        throw std::logic_error("not a numeric field");
    }
}

void SetSettingNumber(ProgramState& s, const ImageField& field, int value, int i) {
    const int index = field.index + i;
    switch (field.store) {
    case S::Main:
        s.MainSelectors.at(index) = value;
        break;
    case S::FunctionText:
        s.Functions.Text.at(index) = std::to_string(value);
        break;
    case S::FunctionValue:
        s.Functions.Value.at(index) = value;
        break;
    case S::SideKey:
        s.SideKeyFunction.at(index) = value;
        break;
    case S::Power:
        (index == 0 ? s.TxPowerHigh : s.TxPowerLow) = value;
        break;
    default:
        throw std::logic_error("not a numeric field");
    }
}

std::string& FieldText(ProgramState& s, const ImageField& field, int i) {
    return const_cast<std::string&>(FieldText(std::as_const(s), field, i));
}

const std::string& FieldText(const ProgramState& s, const ImageField& field, int i) {
    const int index = field.index + i;
    switch (field.store) {
    case S::FunctionText:
        return s.Functions.Text.at(index);
    case S::AutoDial:
        return s.Functions.AutoDialMemory.at(index);
    case S::Embedded:
        return s.EmbeddedInfo.at(index);
    default:
        throw std::logic_error("not a text field");
    }
}

std::optional<ItemName> ItemNameOf(const ImageField& field, int p) {
    if (p < field.low || p > field.high) return std::nullopt;
    switch (field.naming) {
    case N::MainList: {
        const auto selector = static_cast<MainSetting>(field.index);
        return ItemName{MainSelectorItemText(selector, p, kSimplified),
                        MainSelectorItemText(selector, p, kEnglish)};
    }
    case N::PttId:
        return From(kPttIdItems, p);
    case N::OffOn:
        return From(kOffOnItems, p);
    case N::VoxGain:
        return OffThenNumbers(kVoxGainOff, p, kNoUnit);
    case N::VoxDelay:
        return Same(std::string(kVoxDelayItems.at(p)));
    case N::Priority:
        return From(kPriorityItems, p);
    case N::ChannelNumber:
        return Same(ChannelNumberText(p + 1));
    case N::Retrace:
        if (p == 0) return From(std::array{kRetraceEmpty}, 0);
        return Same(FormatFixed(0.5 + (p - 1) * 0.05, 2) + " S");
    case N::ReturnChannel:
        return From(kReturnItems, p);
    case N::DtmfRate:
        return From(kDtmfRates, p);
    case N::DigitTime:
        return From(kDigitTimes, p);
    case N::DKey:
        return OffThenNumbers({"D码", "D code"}, p, kSecondsUnit);
    case N::GroupCall:
        return From(kGroupCalls, p);
    case N::AutoReset:
        return OffThenNumbers(kOff, p, kSecondsUnit);
    case N::SideKeyFunction:
        return From(kSideKeyFunctionItems, p);
    default:
        return std::nullopt;
    }
}

} // namespace quelro
