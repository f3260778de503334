// The simulator's swapped radios.
#include "sim/radio_swap.h"

namespace quelro::sim {

void RadioSwap::OnEnd(bool wrote, Clock::time_point now) {
    inSession_ = false;
    // A write is what makes the dealer swap the radio; probes and read-backs
    // after it do not hold it longer.
    if (wrote && current_ < radios_ && leaveAt_ == Clock::time_point{}) leaveAt_ = now + stay_;
}

RadioSwap::Change RadioSwap::Advance(Clock::time_point now) {
    if (Off()) {
        if (now < offUntil_) return Change::None;
        offUntil_ = {};
        ++current_;
        inSession_ = false;
        return Change::FreshRadio;
    }
    // A session under way is not cut: the radio goes when it is idle.
    if (leaveAt_ == Clock::time_point{} || now < leaveAt_ || inSession_) return Change::None;
    leaveAt_ = {};
    offUntil_ = now + off_;
    return Change::WentOff;
}

RadioSwap::Clock::time_point RadioSwap::NextChange() const {
    if (Off()) return offUntil_;
    if (leaveAt_ != Clock::time_point{} && !inSession_) return leaveAt_;
    return Clock::time_point::max();
}

} // namespace quelro::sim
