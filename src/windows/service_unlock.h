// The timing rules that unlock and relock the service functions: the hidden
// three-label gesture of the optional-function window and the double click on
// the main window's service-exit button. Time is passed in (seconds on a
// clock that never runs backwards), so the rules are tested without waiting.
#pragma once

#include <array>
#include <functional>
#include <optional>

namespace quelro {

// Seconds since an arbitrary start, never decreasing.
using ServiceClock = std::function<double()>;
// The clock of a running program (std::chrono::steady_clock).
double SteadySeconds();

class UnlockGesture {
  public:
    static constexpr int kLabels = 3;
    static constexpr double kSeriesSeconds = 5.0;

    // One click on designated label 0..2 at time `now`. Returns true when the
    // unlocking steps are to run: the click marked the third label of a
    // series, or marked a label while the functions were already unlocked.
    bool Click(int label, double now);
    // Clears the marks and the unlocked state (relock).
    void Clear();
    bool Unlocked() const { return unlocked_; }

  private:
    std::array<bool, kLabels> marks_{};
    double seriesStart_ = 0;
    bool unlocked_ = false;
};

class ServiceExitTiming {
  public:
    // One click at time `now`. Returns true when it follows the time recorded
    // by the previous click by less than a second (and forgets that time);
    // otherwise records `now`, rounded to a whole second.
    bool Click(double now);

  private:
    std::optional<double> lastClick_;
};

} // namespace quelro
