// The texts of the radio link that tell what went wrong on the line and what
// to do about it: failed transfers, ports that cannot be opened. Each is
// Simplified Chinese and English; Traditional Chinese is converted from the
// Chinese when shown. A text may hold the marks %1 .. %9, filled in after the
// conversion (which leaves them alone) by LocalizeFilled.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "i18n/captions.h"

namespace quelro {

// The caption in the language, with %1, %2 ... replaced by `values` in order.
std::string LocalizeFilled(const Caption& caption, int languageMode,
                           std::initializer_list<std::string_view> values);

namespace linktext {

// A transfer that the watchdog or the line ended.
inline constexpr Caption kNoAnswer{
    "通信出错：对讲机没有任何应答。请打开对讲机电源，并把编程线插紧在对讲机的编程插口上。",
    "Communication error: no answer at all. Switch the radio on, and push the programming "
    "cable fully into the radio's socket."};
inline constexpr Caption kOnlyEcho{
    "通信出错：只收到编程线自己的回送，对讲机没有应答。请打开对讲机电源，并把编程线插紧在对讲机的"
    "编程插口上。",
    "Communication error: only the cable's own echo came back, the radio did not answer. Switch "
    "the radio on, and push the cable fully into the radio's socket."};
inline constexpr Caption kUnknownBytes{
    "通信出错：收到无法识别的数据（%1）。请检查编程线是否适用于本对讲机、插头是否插紧，然后重试。",
    "Communication error: the radio's answer was not understood (%1). Check that the cable is "
    "made for this radio and its plugs are pushed fully in, then try again."};
inline constexpr Caption kWrongModel{
    "通信出错：这台对讲机的型号是 %1，本软件只能编程 VN481 和 VN482。",
    "Communication error: this radio reports the model %1; this program programs the VN481 and "
    "the VN482 only."};
inline constexpr Caption kStopped{
    "通信出错：对讲机在通信中途停止了应答。请检查对讲机的电池和编程线的连接，然后重试。",
    "Communication error: the radio stopped answering during the transfer. Check the radio's "
    "battery and the cable's plugs, then try again."};
inline constexpr Caption kCableLost{
    "通信中断：编程线已断开。请重新插好编程线，下次读频或写频时会重新打开串口。",
    "Communication lost: the programming cable was disconnected. Plug it in again; the next Read "
    "or Write opens the port again."};
inline constexpr Caption kWriteIncomplete{
    "写频未完成：对讲机只写入了部分数据，请重新写频后再使用。",
    "Write incomplete: the radio holds part of the new programming. Write it again before use."};

// A port that cannot be opened. %1 is the device path.
inline constexpr Caption kDeviceMissing{
    "串口设备 %1 不存在：请插上编程线，或选择其它串口。",
    "The serial device %1 does not exist: plug in the programming cable, or choose another "
    "port."};
// %2 the device's group.
inline constexpr Caption kNotInGroup{
    "没有权限打开 %1（它属于 %2 组）：请执行 sudo usermod -aG %2 $USER，然后注销并重新登录。",
    "No permission to open %1 (it belongs to the group %2): run sudo usermod -aG %2 $USER, then "
    "log out and in again."};
inline constexpr Caption kGroupNotInSession{
    "没有权限打开 %1（它属于 %2 组）：您已加入 %2 组，但本次登录还没有生效，请注销并重新登录。",
    "No permission to open %1 (it belongs to the group %2): you were added to %2, but this login "
    "session does not have it yet. Log out and in again."};
inline constexpr Caption kNoPermission{
    "没有权限打开 %1：请检查它的访问权限（ls -l %1）。",
    "No permission to open %1: check its access rights (ls -l %1)."};
// %2 the process number, %3 the program's name.
inline constexpr Caption kHeldBy{"%1 正被进程 %2（%3）使用。", "%1 is in use by process %2 (%3)."};
// %2 the lock file, %3 the process number that no longer runs.
inline constexpr Caption kStaleLock{
    "%1 被残留的锁文件 %2 锁住（进程 %3 已不存在）：请执行 sudo rm %2，然后重试。",
    "%1 is locked by the stale lock file %2 (process %3 no longer runs): remove it with sudo rm "
    "%2, then try again."};
// %2 the system's own words.
inline constexpr Caption kCannotOpen{"无法打开 %1：%2", "%1 cannot be opened: %2"};

} // namespace linktext
} // namespace quelro
