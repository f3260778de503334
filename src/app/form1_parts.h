// What the main window's source files share: its rows of the caption table,
// the six selectors' lists and the conversions of texts and twips.
#pragma once

#include <QString>

#include <array>
#include <string_view>

#include "channels/program_state.h"
#include "i18n/captions.h"

namespace quelro::form1 {

namespace caption {
inline constexpr Caption kTitle{"Quelro 对讲机编程软件 V1.20", "Quelro Radio Software V1.20"};
inline constexpr Caption kFile{"文件(&F)", "File(&F)"};
inline constexpr Caption kNew{"新建(&N)", "New(&N)"};
inline constexpr Caption kOpen{"打开(&O)", "Open(&O)"};
inline constexpr Caption kSave{"保存(&S)", "Save(&S)"};
inline constexpr Caption kQuit{"退出(&Q)", "Quit(&Q)"};
inline constexpr Caption kProgramming{"编程(&P)", "Programming(&P)"};
inline constexpr Caption kRead{"读频(&R)", "Read Frequency(&R)"};
inline constexpr Caption kWrite{"写频(&W)", "Write Frequency(&W)"};
inline constexpr Caption kOptional{"可选功能", "Optional function "};
inline constexpr Caption kKeys{"键设定", "Keys set "};
inline constexpr Caption kEmbedded{"嵌入信息", "Embedded information"};
inline constexpr Caption kDebug{"调试(&D)", "Debug(&D)"};
inline constexpr Caption kTestFrequencies{"测试频率", "Debug frequency"};
inline constexpr Caption kSettings{"设置(&S)", "Settings(&S)"};
inline constexpr Caption kLock{"锁定(&L)", "Lock(&L)"};
inline constexpr Caption kPort{"通信端口(&V)", "Communication port(&V)"};
// G: L is the lock's key in the same menu.
inline constexpr Caption kLanguages{"语言选择(&G)", "Languages(&G)"};
inline constexpr Caption kSimplifiedChinese{"简体中文", "Chinese(Simplified)"};
inline constexpr Caption kTraditionalChinese{"繁体中文", "Chinese(Traditional)"};
inline constexpr Caption kEnglishLanguage{"英文", "Englist"};
inline constexpr Caption kHelp{"帮助(&H)", "Help(&H)"};
inline constexpr Caption kHelpTopics{"帮助主题  F1", "The help topic  F1 \""};
inline constexpr Caption kAbout{"关于", "About"};
inline constexpr std::array<Caption, 5> kToolTips{{{"新建", "New"},
                                                   {"打开", "Open"},
                                                   {"保存", "Save"},
                                                   {"读频", "Read frequency"},
                                                   {"写频", "Write frequency"}}};
// What a reader calls the service-exit button, which has no tooltip.
inline constexpr Caption kServiceExit{"退出服务模式", "Leave service mode"};
inline constexpr Caption kServiceExitHelp{"一秒内按两次", "Press twice within a second"};
inline constexpr Caption kModel{"机型选择", "Model"};
inline constexpr Caption kFunctionSet{"功能设置", "Function Set"};
// The client area's scroll bars, shown on a screen too small for the window.
inline constexpr Caption kScrollSideways{"左右滚动", "Scroll sideways"};
inline constexpr Caption kScrollUpDown{"上下滚动", "Scroll up and down"};
inline constexpr Caption kMaker{"Quelro 对讲机  www.quelro.example", ""};
inline constexpr Caption kBand{"频段", "Channel"};
inline constexpr Caption kVoicePrompt{"语言通知", "Language:"};
inline constexpr Caption kTimeout{"发射超时", "Time-out:"};
inline constexpr Caption kTimeoutWarn{"发射超时预警", "Time-out Warn:"};
inline constexpr Caption kSquelch{"静噪等级", "Squelch Grade:"};
inline constexpr Caption kBatterySave{"省电", "Battery Save:"};
inline constexpr Caption kBeep{"提示音", "Beep:"};
} // namespace caption

// 15 twips make one pixel.
inline constexpr int Px(int twips) {
    return (twips + 7) / 15;
}

// The six selectors in MainSetting order, with the core's list names.
inline constexpr std::array<MainSetting, 6> kSelectorLists{
    MainSetting::kVoicePrompt, MainSetting::kTxTimeout,   MainSetting::kTimeoutWarn,
    MainSetting::kSquelch,     MainSetting::kBatterySave, MainSetting::kBeep};

inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString ColumnText(const Caption& c, int languageMode) {
    return Text(languageMode == kEnglish ? c.en : c.zh);
}

} // namespace quelro::form1
