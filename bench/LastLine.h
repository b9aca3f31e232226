#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "platform/controls/ListBox.h"
#include "platform/controls/Window.h"
#include "platform/WindowSystem.h"

namespace vidor::bench {

using Clock = std::chrono::steady_clock;

// Watches, through the window binding of this system, the drawing of a list of a shown window:
// when its last line reaches the screen. Only what the toolkit really drew counts, not what the
// list holds.
class LastLineWatch {
  public:
    LastLineWatch(platform::WindowSystem& windows, platform::Window& window,
                  const platform::ListBox& list);
    ~LastLineWatch();

    // How many times the list's last line of the moment was drawn so far.
    int draws() const;
    // Lets the window handle its events until the last line of the whole list is drawn, or
    // `limit` passes; returns the moment it was drawn, or nothing.
    std::optional<Clock::time_point> wait(std::chrono::seconds limit);

    struct Native;

  private:
    std::unique_ptr<Native> native_;
};

}  // namespace vidor::bench
