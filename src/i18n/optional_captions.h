// The optional-function window's captions and lists. The window shows them,
// and the comparison and the channel sheet name its settings by the same
// texts, so each exists once.
#pragma once

#include <array>
#include <string_view>

#include "i18n/captions.h"

namespace quelro {

inline constexpr Caption kOptionalTitle{"可选功能", "Optional Function"};
inline constexpr Caption kScanFrameCaption{"扫描", "Scan"};

// The captions beside the controls.
inline constexpr Caption kCancelOperationLabel{"取消操作", "Cancel operation"};
inline constexpr Caption kVoxRxInhibitLabel{"接收时禁止VOX", "Received banned VOX"};
inline constexpr Caption kVoxEnableLabel{"VOX功能", "VOX Function"};
inline constexpr Caption kVoxGainLabel{"VOX增益电平", "VOX GBIN"};
inline constexpr Caption kVoxDelayLabel{"VOX延迟时间", "VOX Delay time"};
inline constexpr Caption kVoxToneLabel{"VOX可进行音调", "VOX volume control"};
inline constexpr Caption kPttIdLabel{"PTT ID", "PTT ID"};
inline constexpr Caption kDuplicateLabel{"复制", "Duplicate"};
inline constexpr Caption kPriorityLabel{"优先", "Priority"};
inline constexpr Caption kPriorityChannelLabel{"优先信道", "Preferred channel"};
inline constexpr Caption kRetraceTimeALabel{"回扫时间A", "Retrace Time A"};
inline constexpr Caption kRetraceTimeBLabel{"回扫时间B", "Retrace Time B"};
inline constexpr Caption kReturnChannelLabel{"返回信道", "Return channel"};
inline constexpr Caption kScanRxResumeDelayLabel{"扫描接收恢复延时时间(秒)",
                                                 "Scan receive delay time(S)"};
inline constexpr Caption kScanTxResumeDelayLabel{"扫描发射恢复延时时间(秒)",
                                                 "Scan launch delay time(S)"};

// The lists' items (the gain and retrace lists: their item 0 only, the rest
// being numbers).
inline constexpr std::array<Caption, 3> kPttIdItems{
    {{"发射开始", "Launch Start"}, {"发射结束", "Launch End"}, {"两者", "Both"}}};
inline constexpr std::array<Caption, 2> kOffOnItems{{{"禁止", "Off"}, {"使能", "On"}}};
inline constexpr Caption kVoxGainOff{"关闭", "Off"};
inline constexpr std::array<std::string_view, 6> kVoxDelayItems{"0.3S", "0.5S", "1S",
                                                                "1.5S", "2S",   "3S"};
inline constexpr std::array<Caption, 3> kPriorityItems{
    {{"无", "No"}, {"固定", "Fixed"}, {"选定", "Selected"}}};
inline constexpr Caption kRetraceEmpty{"空", "Empty"};
inline constexpr std::array<Caption, 4> kReturnItems{{{"选定", "Selected"},
                                                      {"选定+当前", "Selected+Current"},
                                                      {"优先", "priority"},
                                                      {"优先+当前", "priority+Current"}}};

} // namespace quelro
