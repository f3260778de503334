// Timing rules of the service unlock gesture and the service-exit button.
#include "windows/service_unlock.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace quelro {

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool UnlockGesture::Click(int label, double now) {
    if (label < 0 || label >= kLabels) return false;
    const bool seriesRunning = std::any_of(marks_.begin(), marks_.end(), [](bool m) { return m; });
    if (!seriesRunning) seriesStart_ = std::round(now);
    if (now - seriesStart_ <= kSeriesSeconds) {
        marks_[static_cast<std::size_t>(label)] = true;
        if (std::all_of(marks_.begin(), marks_.end(), [](bool m) { return m; })) unlocked_ = true;
        return unlocked_;
    }
    // Too late for the running series: this click starts a new one.
    marks_ = {};
    marks_[static_cast<std::size_t>(label)] = true;
    seriesStart_ = std::round(now);
    return false;
}

void UnlockGesture::Clear() {
    marks_ = {};
    unlocked_ = false;
}

bool ServiceExitTiming::Click(double now) {
    if (lastClick_ && now - *lastClick_ < 1.0) {
        lastClick_.reset();
        return true;
    }
    lastClick_ = std::round(now);
    return false;
}

} // namespace quelro
