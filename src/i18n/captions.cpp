// Language selection of the core's texts and the generated list entries.
#include "i18n/captions.h"

#include "i18n/traditional.h"

namespace quelro {

std::string Localize(const Caption& caption, int languageMode) {
    switch (languageMode) {
    case kEnglish:
        return std::string(caption.en);
    case kTraditional:
        return ToTraditional(caption.zh);
    default:
        return std::string(caption.zh);
    }
}

std::optional<std::string> CaptionFor(const Caption& caption, int languageMode) {
    if (languageMode == kSimplified) return std::string(caption.zh);
    if (languageMode == kEnglish) return std::string(caption.en);
    return std::nullopt;
}

const std::array<Caption, 2>& ColumnItems(int column) {
    switch (column) {
    case 5:
        return kPowerItems;
    case 6:
        return kBusyLockItems;
    case 7:
        return kBandwidthItems;
    default:
        return kScanItems;
    }
}

std::string ColumnItemText(int column, int index, int languageMode) {
    return Localize(ColumnItems(column)[index == 0 ? 0 : 1], languageMode);
}

int MainSelectorItemCount(MainSetting selector) {
    switch (selector) {
    case MainSetting::kVoicePrompt:
        return 3;
    case MainSetting::kTxTimeout:
        return 40;
    case MainSetting::kTimeoutWarn:
        return 11;
    case MainSetting::kSquelch:
        return 10;
    case MainSetting::kBatterySave:
    case MainSetting::kBeep:
        return 2;
    }
    return 0;
}

std::string MainSelectorItemText(MainSetting selector, int index, int languageMode) {
    static constexpr std::array<Caption, 3> kVoice{
        {{"关", "Off"}, {"中文", "Chinese"}, {"英文", "Englist"}}};
    static constexpr std::array<Caption, 2> kOffOn{{{"禁止", "Off"}, {"使能", "On"}}};
    static constexpr Caption kSeconds{" 秒", " S"};
    static constexpr Caption kGrade{" 级", " Group"};
    switch (selector) {
    case MainSetting::kVoicePrompt:
        return Localize(kVoice.at(index), languageMode);
    case MainSetting::kTxTimeout:
        return std::to_string(15 * (index + 1)) + Localize(kSeconds, languageMode);
    case MainSetting::kTimeoutWarn:
        if (index == 0) return Localize(kToneOff, languageMode);
        return std::to_string(index) + Localize(kSeconds, languageMode);
    case MainSetting::kSquelch:
        return std::to_string(index) + Localize(kGrade, languageMode);
    case MainSetting::kBatterySave:
    case MainSetting::kBeep:
        return Localize(kOffOn.at(index), languageMode);
    }
    return {};
}

Message PortInUseMessage(int port) {
    // Eight fixed texts per language; they differ only in the port's digit.
    static constexpr std::array<Caption, 8> kTexts{{
        {"串行端口1已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 1 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口2已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 2 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口3已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 3 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口4已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 4 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口5已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 5 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口6已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 6 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口7已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 7 has been other programs use, please choose other serial or turn off its "
         "program."},
        {"串行端口8已被其它程序使用，请选择其它串口或关掉其程序。",
         "Serial port 8 has been other programs use, please choose other serial or turn off its "
         "program."},
    }};
    return Message{kTexts.at(port - 1), {"", ""}, BoxStyle::kInformation};
}

} // namespace quelro
