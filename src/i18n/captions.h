// The texts the system shows, each in Simplified Chinese and English.
//
// Only those two sets are stored; Traditional Chinese is the Simplified text
// converted at the moment it is shown. This header holds the texts that the
// core itself needs (the channel lists, the band list, the main window's
// selectors and every message); each window keeps the rows of its own
// caption table beside its code.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quelro {

enum LanguageModes : int { kSimplified = 0, kEnglish = 1, kTraditional = 2 };

struct Caption {
    std::string_view zh;
    std::string_view en;
};

// The text shown for a caption: mode 0 the Chinese text, 1 the English text,
// 2 the Chinese text converted to Traditional; any other mode the Chinese.
std::string Localize(const Caption& caption, int languageMode);

// What the language procedure writes: the Chinese column in mode 0, the
// English column in mode 1 and nothing at all for any other mode.
std::optional<std::string> CaptionFor(const Caption& caption, int languageMode);

// Channel-table lists (grid columns 5..8) and the tone list's item 0.
inline constexpr Caption kToneOff{"关闭", "Off"};
inline constexpr std::array<Caption, 2> kPowerItems{{{"低", "Low"}, {"高", "Hight"}}};
inline constexpr std::array<Caption, 2> kBusyLockItems{{{"关闭", "Off"}, {"载波", "Carrow"}}};
inline constexpr std::array<Caption, 2> kBandwidthItems{{{"窄带", "Narrow"}, {"宽带", "Wide"}}};
inline constexpr std::array<Caption, 2> kScanItems{{{"无", "No"}, {"有", "Have"}}};

// The two-entry list of a list-valued channel column 5..8.
const std::array<Caption, 2>& ColumnItems(int column);

// Item `index` (0 or 1) of column 5..8's list, in the given language.
std::string ColumnItemText(int column, int index, int languageMode);

// Headers of the channel grid, columns 0..8.
inline constexpr std::array<Caption, 9> kGridHeaders{{
    {"信道", "Channel"},
    {"接收频率", "RX frequency"},
    {"亚音频", "QT/DQT"},
    {"发射频率", "TX frequency"},
    {"亚音频", "QT/DQT"},
    {"功率", "Power"},
    {"禁发", "Forbid"},
    {"宽\\窄带", "Band"},
    {"扫描添加", "Scan"},
}};

// The twelve functions of a programmable side key (PF1, PF2), positions 0..11.
inline constexpr std::array<Caption, 12> kSideKeyFunctionItems{{
    {"自动拨号", "Automatic dial-up"},
    {"OFF", "OFF"},
    {"按键锁定", "Keys lock"},
    {"按键锁定及备份", "Key lock & backup"},
    {"监听", "Surveillance"},
    {"监听瞬时", "Surveillance instant"},
    {"扫描", "Scan"},
    {"扫描+暂时删除", "Scan & Delete temporary"},
    {"电量", "electric quantity"},
    {"取消静噪", "Cancel static noise"},
    {"瞬时取消静噪", "Instant cancel static noise"},
    {"暂时删除", "Delete temporary"},
}};

// The application's title, used for message boxes without a title of their own
// and in the data-file filter.
inline constexpr std::string_view kAppTitle = "Quelro";

// The maker's web page, opened from the main window's notice and the about box.
inline constexpr const char* kMakerUrl = "https://www.quelro.example/";

// The six general-setting selectors of the main window, in the order the
// program state keeps their positions.
enum class MainSetting { kVoicePrompt, kTxTimeout, kTimeoutWarn, kSquelch, kBatterySave, kBeep };
inline constexpr int kMainSelectorCount = 6;
// Number of entries of a selector's list.
int MainSelectorItemCount(MainSetting selector);
// Entry `index` of a selector's list in the given language.
std::string MainSelectorItemText(MainSetting selector, int index, int languageMode);

// Messages. Titles that are empty show the application's title.

// What a message box shows: its buttons, icon and default button. The window
// layer turns each into the system box's style.
enum class BoxStyle {
    kOk,               // OK alone, no icon
    kError,            // OK alone, error icon
    kInformation,      // OK alone, information icon
    kYesNoQuestion,    // Yes and No, question icon
    kYesNoInformation, // Yes and No, information icon
    kOkCancelWarning,  // OK and Cancel, warning icon, Cancel the default
    kOkCancelQuestion, // OK and Cancel, question icon, Cancel the default
};

// The button a message box was answered with (Escape and the close box
// answer Cancel where there is one, else No, else OK).
enum class BoxAnswer { kOk, kCancel, kYes, kNo };

struct Message {
    Caption text;
    Caption title;
    BoxStyle style;
};

namespace msg {
inline constexpr Message kNewWarning{
    {"所有信道的数据将被清除！", "All channel data will be clear."},
    {"警告", "Warnning"},
    BoxStyle::kOkCancelWarning};
inline constexpr Message kBandChange{
    {"改变频段将清除频道列表，确定吗？", "Change frequency channel list will remove, sure?"},
    {"注意！", "Attention!"},
    BoxStyle::kOkCancelQuestion};
inline constexpr Message kBeyondBand{
    {"超出频段范围", "Beyond the frequency range"}, {"", ""}, BoxStyle::kOk};
inline constexpr Message kWrongFileType{
    {"文件类型不对，无法打开。", "Document type not to open."}, {"", ""}, BoxStyle::kOk};
inline constexpr Message kFileExists{
    {"该文件已存在，是否覆盖？", "This file already exists, whether to cover?"},
    {"", ""},
    BoxStyle::kYesNoQuestion};
inline constexpr Message kNoPort{
    {"通信端口未打开，请先选择菜单“通信端口”打开其串口！",
     "Communication port not open, please first selection menu 'communication port' to open its "
     "serial ports!"},
    {"", ""},
    BoxStyle::kInformation};
inline constexpr Message kBandMismatch{
    {"频段不符，是否继续？", "Frequency band with discrepancies, do you wish to continue?"},
    {"", ""},
    BoxStyle::kYesNoInformation};
inline constexpr Message kFixedNeedsChannel{
    {"当设定为‘固定’时信道不可为空，请重设！",
     "When set to 'fixed' channel not is empty, please reset!"},
    {"提示", "Tip"},
    BoxStyle::kOk};
inline constexpr Message kEmptyChannelPicked{
    {"不可选择空信道，请重新选择！", "Do not choose empty channel, please choose again!"},
    {"", ""},
    BoxStyle::kOk};
inline constexpr Message kWrongPassword{
    {"密码错误，请与管理员联系！", "Password mistake, please contact with administrator."},
    {"", ""},
    BoxStyle::kError};
} // namespace msg

// The message shown when port N (1..8) cannot be opened.
Message PortInUseMessage(int port);

// Status texts of a radio transfer.
namespace status {
inline constexpr Caption kCommunicating{"正在通信,请稍后……", "Is communication, please later……"};
inline constexpr Caption kWriteDone{"写频成功！", "Write frequency success!"};
inline constexpr Caption kReadDone{"读频成功！", "Read frequency success!"};
} // namespace status

} // namespace quelro
