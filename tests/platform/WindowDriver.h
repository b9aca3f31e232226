#pragma once

#include <functional>
#include <memory>

#include "platform/GuardedWindowSystem.h"
#include "platform/PixelScale.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Window.h"

namespace vidor::test {

// Keys a user presses.
enum class UserKey { Enter, Escape, Tab, BackTab, Space, Letter, Up, Down };

// A person's hands and eyes on the windows of one window binding, for the scenarios that every
// binding must pass (WindowBinding_test.cpp). Each binding's tests give one (makeDriver).
class WindowDriver {
  public:
    virtual ~WindowDriver() = default;

    // The binding's window system.
    virtual platform::GuardedWindowSystem& windows() = 0;
    // The screen's pixels per inch, which the places below are in.
    virtual double dotsPerInch() = 0;

    // Where `control` of the shown `window` lies, in pixels from the top left of the window's
    // inner area.
    virtual platform::PixelRect placeOf(platform::Window& window,
                                        const platform::Control& control) = 0;
    // The control that a click at `x`, `y` (pixels of the inner area of `window`) meets, or
    // nullptr when it meets none.
    virtual const platform::Control* controlAt(platform::Window& window, int x, int y) = 0;
    // The control of `window` that keys go to, or nullptr.
    virtual const platform::Control* focused(platform::Window& window) = 0;

    // Presses and releases `key` on the keyboard: it goes to the window in front (a modal one,
    // or else the one shown last); returns once that window has handled it.
    virtual void press(UserKey key) = 0;
    // The window in front, or nullptr.
    virtual platform::Window* inFront() = 0;
    // Clicks `control` of `window`, or one line of a list.
    virtual void click(platform::Window& window, const platform::Control& control) = 0;
    virtual void clickLine(platform::Window& window, const platform::ListBox& list, int line) = 0;

    // Runs `action` once an event loop next handles events: inside a yield of the program's
    // loops, or in the loop of a modal window.
    virtual void soon(std::function<void()> action) = 0;
    // Handles the pending events.
    virtual void settle() = 0;
};

// The driver of the binding these tests are built with, over a window system for `mode`.
std::unique_ptr<WindowDriver> makeDriver(const platform::RunMode& mode);

}  // namespace vidor::test
