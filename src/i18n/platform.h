// What the program takes from the operating system, in one place:
// platform_posix.cpp for Linux, platform_win32.cpp for Windows. Paths are
// std::filesystem::path throughout (wide on Windows), never a narrow string
// in a local encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelro {

// ---- the process and its folders ---------------------------------------------

// The running program's file, with symbolic links resolved; empty when the
// system does not tell.
std::filesystem::path ProgramFile();

long ProcessId();

// Where the settings (`parameter`, `ports`, `adapter`) live: Linux
// $XDG_CONFIG_HOME/quelro, else ~/.config/quelro; Windows %APPDATA%\quelro.
// Empty when neither is known.
std::filesystem::path SettingsFolder();

// The folder of what the program keeps for this machine (backups of reads):
// Linux $XDG_DATA_HOME/quelro, else ~/.local/share/quelro; Windows
// %LOCALAPPDATA%\quelro. Empty when neither is known.
std::filesystem::path LocalDataFolder();

// The program's arguments in UTF-8: argv itself on Linux, the wide command
// line on Windows (argv there is in the 8-bit code page and loses every
// character outside it). Also sets a Windows console to show UTF-8 and
// makes stdout and stderr binary there, so that they carry Linux's bytes.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The local time of `time`.
std::tm LocalTime(std::time_t time);

// Whether stderr is a terminal (a console on Windows).
bool StderrIsTerminal();

// 0 when this user may create files in `folder`, else an errno code.
int FolderWritableCode(const std::filesystem::path& folder);

// ---- files -------------------------------------------------------------------

// The code of a name that is neither a regular file nor a folder.
inline constexpr int kNotRegularFile = -1;

struct RegularFileRead {
    std::string bytes;
    int code = 0; // 0, an errno code, or kNotRegularFile
};

// Up to `maxBytes` bytes of `path` when it is a regular file; a folder, pipe
// or device is refused without being opened (and so without waiting on it).
RegularFileRead ReadRegularFileBytes(const std::filesystem::path& path, std::size_t maxBytes);

// Replaces the file `target` (no symbolic link) with `bytes` through a
// temporary file beside it, keeping its permissions; a file the user may not
// write is refused. 0, an errno code, or kNotRegularFile.
int ReplaceFileBytes(const std::filesystem::path& target, std::string_view bytes);

// ---- devices -----------------------------------------------------------------

// A device node as the system describes it.
struct DeviceNode {
    bool character = false;    // a character device
    bool memoryDevice = false; // /dev/null, /dev/zero ...
    unsigned owner = 0, group = 0;
    unsigned mode = 0; // permission bits, 0777
};
std::optional<DeviceNode> DescribeDevice(const std::filesystem::path& device);

// The effective user id (0 on Windows, which has no such id).
unsigned EffectiveUserId();

// ---- stop signals ------------------------------------------------------------

// From now on SIGTERM, SIGINT and SIGHUP (on Windows the console's Ctrl+C,
// Ctrl+Break, close, log-off and shut-down) only make the returned handle
// ready: a descriptor that turns readable on Linux, an event that is set on
// Windows. -1 when they cannot be caught (or are caught already).
std::intptr_t CatchStopSignals();
// Takes the readiness back after a stop signal.
void TakeStopSignal(std::intptr_t handle);

#ifndef _WIN32
// Linux serial ports: mark breaks and framing errors in the input (FF 00 00,
// FF 00 X) and escape a data byte FF as FF FF, on the open terminal
// `descriptor`.
bool MarkBreaks(int descriptor);
#endif

} // namespace quelro
