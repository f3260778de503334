// What quelro-cli's write and clone commands share before the first byte goes
// out: the data file to write, the port to open, and the texts of addresses
// and bands in their reports.
#pragma once

#include <string>

#include "channels/program_state.h"
#include "i18n/captions.h"

namespace quelro {
class SerialLink;
}

namespace quelro::cli {

// Reads the data file to write into `state`; on failure says why on stderr,
// sets exitCode and returns false.
bool LoadDataFileToWrite(const std::string& path, ProgramState& state, int& exitCode,
                         int languageMode);

// Opens --port (a device path or COM1..COM8); says why on stderr, sets
// exitCode and returns false when it cannot.
bool OpenPort(SerialLink& link, const std::string& port, int& exitCode, int languageMode);

// While one lives, Ctrl+C, SIGTERM and a hang-up (SIGHUP: the terminal was
// closed, the ssh connection dropped) only set Interrupted(), so that the
// transfer under way can send End before the program ends.
class InterruptGuard {
  public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

  private:
    void (*previous_[3])(int);
};
// Whether a signal came since the last call (clears it).
bool TakeInterrupt();
// What is said when a signal ended a transfer.
inline constexpr Caption kInterrupted{"已中断；已向对讲机发送结束命令",
                                      "interrupted; the radio was sent End"};

// A radio address as "0x01A0", the same in every locale.
std::string Hex4(int value);

// The band's name, or `none` for a position that is no band.
std::string BandText(int position, const char* none = "none");

} // namespace quelro::cli
