// Turns the byte stream of a port read with PARMRK back into plain bytes and
// break events.
//
// With PARMRK set (and IGNBRK, BRKINT, IGNPAR, ISTRIP clear) the terminal
// driver marks a BREAK as FF 00 00, a byte received with a framing or parity
// error as FF 00 X, and escapes a data byte FF as FF FF. A marker may be split
// across reads, so the decoder keeps its state between calls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelro {

struct SerialEvent {
    enum Kind { Data, Break } kind;
    std::string bytes; // Data only
    bool operator==(const SerialEvent&) const = default;
};

class ParmrkDecoder {
  public:
    // The events of one read, in order. A break is followed by the NUL byte
    // the line delivers with it, as on a port read without PARMRK.
    std::vector<SerialEvent> Feed(std::string_view raw);

  private:
    enum class State { Plain, AfterMark, AfterMarkZero } state_ = State::Plain;
};

} // namespace quelro
