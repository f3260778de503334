// quelro-radio-sim --radios N: radios swapped one after another on the same
// line. After the End of a write the radio keeps answering for `stay`, then
// (once no session is under way) is silent for `off` - switched off and
// replaced - and then a fresh radio answers. The last radio is never swapped.
#pragma once

#include <chrono>

namespace quelro::sim {

class RadioSwap {
  public:
    using Clock = std::chrono::steady_clock;

    enum class Change { None, WentOff, FreshRadio };

    RadioSwap(int radios, Clock::duration stay, Clock::duration off)
        : radios_(radios), stay_(stay), off_(off) {}

    // A reply of the radio starts a session; an End closes it.
    void OnReply() { inSession_ = true; }
    void OnEnd(bool wrote, Clock::time_point now);

    // What happens at `now`; FreshRadio asks the caller to put in the next
    // radio (number Current()).
    Change Advance(Clock::time_point now);

    // Switched off: what arrives is lost, nothing is answered.
    bool Off() const { return offUntil_ != Clock::time_point{}; }
    // When Advance has something to do; max when nothing is due.
    Clock::time_point NextChange() const;
    // The radio on the line, from 1.
    int Current() const { return current_; }

  private:
    int radios_;
    Clock::duration stay_;
    Clock::duration off_;
    int current_ = 1;
    bool inSession_ = false;
    Clock::time_point leaveAt_{};  // after a write: when it may go off
    Clock::time_point offUntil_{}; // while off: when the next radio comes
};

} // namespace quelro::sim
