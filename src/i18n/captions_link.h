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
// %1 the block's radio address.
inline constexpr Caption kBlockRefused{
    "通信出错：对讲机拒收了地址 %1 的数据块（15）。请确认对讲机型号正确，然后重试。",
    "Communication error: the radio refused the block at %1 (15). Check that the radio is of "
    "the model this program programs, then try again."};
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
// After a device the ports file names that is not there.
inline constexpr Caption kMissingMark{"（设备不存在）", " (device missing)"};
// %2 the system's own words.
inline constexpr Caption kCannotOpen{"无法打开 %1：%2", "%1 cannot be opened: %2"};
inline constexpr Caption kNotSerial{"%1 不是串行设备：请选择编程线的串口。",
                                    "%1 is not a serial device: choose the programming cable's "
                                    "port."};

// The findings of the serial port check (quelro-cli doctor, Help -> Serial
// port check). %1 is the device, the adapter or the lock file.
inline constexpr Caption kCheckTitle{"串口诊断", "Serial port check"};
// %2 what the system tells of the device.
inline constexpr Caption kDeviceReady{"%1（%2）：可以使用。", "%1 (%2): ready to use."};
// %2 the process number, %3 its name.
inline constexpr Caption kDeviceHeld{"%1 正被进程 %2（%3）使用：请先关闭该程序。",
                                     "%1 is in use by process %2 (%3): close that program first."};
// %2 the adapter's USB ID, %3 how brltty holds it (a process, a rule).
inline constexpr Caption kAdapterTakenByBrltty{
    "%1（USB %2）已插上，但没有串口设备：brltty "
    "把它当作盲文显示器占用了（%3）。如果您不用盲文显示器，"
    "请执行 sudo apt remove brltty，然后重新插上编程线。",
    "%1 (USB %2) is plugged in but has no serial device: brltty takes it for a braille display "
    "(%3). Unless you use one, run sudo apt remove brltty, then plug the cable in again."};
inline constexpr Caption kBrlttyProcess{"进程 %1", "process %1"};
inline constexpr Caption kBrlttyRule{"规则 %1", "rule %1"};
// %3 the driver that holds it.
inline constexpr Caption kAdapterHeldByDriver{
    "%1（USB %2）已插上，但没有串口设备：驱动 %3 占用了它。请拔下编程线再重新插上。",
    "%1 (USB %2) is plugged in but has no serial device: the driver %3 holds it. Unplug the cable "
    "and plug it in again."};
// %3 the kernel module that serves it.
inline constexpr Caption kAdapterWithoutDriver{
    "%1（USB %2）已插上，但没有驱动程序接管它：请执行 sudo modprobe %3，然后重新插上编程线。",
    "%1 (USB %2) is plugged in but no driver took it: run sudo modprobe %3, then plug the cable "
    "in again."};
// %1 the process number.
inline constexpr Caption kModemManagerRuled{
    "ModemManager（进程 %1）正在运行。本软件的 udev 规则已让它避开常见的编程线；若使用其它串口线，"
    "请执行 sudo systemctl stop ModemManager。",
    "ModemManager (process %1) is running. This program's udev rule keeps it away from the common "
    "programming cables; for any other cable, run sudo systemctl stop ModemManager."};
inline constexpr Caption kModemManagerUnruled{
    "ModemManager（进程 %1）正在运行，它会试探新插上的串口，干扰与对讲机的通信：请执行 sudo "
    "systemctl "
    "stop ModemManager，或重新安装本软件以装上它的 udev 规则。",
    "ModemManager (process %1) is running and probes every new serial port, which disturbs the "
    "radio: run sudo systemctl stop ModemManager, or reinstall this program to get its udev "
    "rule."};
// %2 the process number, %3 its name.
inline constexpr Caption kLockHeld{"锁文件 %1：串口正被进程 %2（%3）使用。",
                                   "Lock file %1: the port is in use by process %2 (%3)."};
inline constexpr Caption kLockStale{
    "锁文件 %1 已残留（进程 %2 已不存在）：请执行 sudo rm %1。",
    "Lock file %1 is stale (process %2 no longer runs): remove it with sudo rm %1."};
inline constexpr Caption kNoAdapter{"没有找到 USB 串口设备：请插上编程线。",
                                    "No USB serial device found: plug in the programming cable."};
inline constexpr Caption kAllWell{"没有发现问题。", "Nothing wrong found."};

// Windows tells neither who holds a port nor the driver's module.
inline constexpr Caption kPortBusy{"%1 正被其它程序使用：请先关闭该程序。",
                                   "%1 is in use by another program: close that program first."};
// %2 the adapter's USB ID, %3 its chip.
inline constexpr Caption kAdapterNeedsDriver{
    "%1（USB %2）已插上，但没有串口驱动程序：请安装 %3 的驱动程序，然后重新插上编程线。",
    "%1 (USB %2) is plugged in but has no serial port driver: install the %3 driver, then plug "
    "the cable in again."};

} // namespace linktext
} // namespace quelro
