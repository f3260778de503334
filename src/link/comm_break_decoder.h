// Turns what a Windows serial port reports (the bytes read, and whether
// ClearCommError saw a BREAK since the last read) into the events the Linux
// port's ParmrkDecoder gives: a break, then the bytes, beginning with the
// NUL the line delivers with the break, which the protocol drops.
#pragma once

#include <string_view>
#include <vector>

#include "link/parmrk_decoder.h"

namespace quelro {

// ClearCommError's flag for a received break (CE_BREAK).
inline constexpr unsigned long kCommErrorBreak = 0x10;

class CommBreakDecoder {
  public:
    // `commErrors`: the flags ClearCommError reported just before `bytes`
    // were read. The break stands before the first NUL of `bytes` (the one it
    // left), else before all of them; a break reported with nothing to read
    // stands before the next bytes.
    std::vector<SerialEvent> Feed(unsigned long commErrors, std::string_view bytes);

  private:
    bool breakPending_ = false;
};

} // namespace quelro
