#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "platform/GuardedWindowSystem.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Window.h"

namespace vidor::bench {

using Clock = std::chrono::steady_clock;

// Watches, through the window binding of this system, the drawing of a list of a shown window:
// when its last line reaches the screen. Only what the toolkit really drew counts, not what the
// list holds.
class LastLineWatch {
  public:
    // Once the last line of the whole list is drawn, or `limit` passed, `done` is called with the
    // moment it was drawn, or with nothing.
    using Done = std::function<void(std::optional<Clock::time_point>)>;

    LastLineWatch(platform::GuardedWindowSystem& windows, platform::Window& window,
                  const platform::ListBox& list);
    ~LastLineWatch();

    // How many times the list's last line of the moment was drawn so far.
    int draws() const;
    // From now on, calls `done` at the first drawing of the whole list's last line, from the
    // event loop, or after `limit`.
    void whenDrawn(Done done, std::chrono::seconds limit);

    struct Native;

  private:
    std::unique_ptr<Native> native_;
};

}  // namespace vidor::bench
