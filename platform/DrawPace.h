#pragma once

#include <chrono>

namespace vidor::platform {

// How often a list that grows during a walk is drawn again. A walk lets the window draw every
// 15 ms, and drawing a long list can cost the window as much (Qt lays the whole list out; under
// Wine every update of a scroll bar costs milliseconds): a list whose last drawing was quick is
// drawn at the next chance, else no sooner than forty times what that drawing cost after its
// end: what is timed is the binding's own work, and the toolkit's drawing that follows costs
// about as much again, so that drawing takes about a twentieth of a walk's time. Once the program
// waits for the user, the bindings draw at once.
class DrawPace {
  public:
    using Clock = std::chrono::steady_clock;

    // How long to wait at `now` before drawing again: zero when the list may be drawn now.
    std::chrono::milliseconds wait(Clock::time_point now = Clock::now()) const;
    // A drawing ran from `start` to `end`.
    void drawn(Clock::time_point start, Clock::time_point end);

    // Below this, a drawing is quick.
    static constexpr std::chrono::milliseconds kQuick{4};
    // What a slow drawing's cost is multiplied by to space out the next.
    static constexpr int kSpacing = 40;

  private:
    Clock::duration cost_{};
    Clock::time_point end_{};
};

}  // namespace vidor::platform
