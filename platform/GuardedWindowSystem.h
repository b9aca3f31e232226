#pragma once

#include <optional>

#include "platform/WindowSystem.h"

namespace vidor::platform {

// What the window systems that draw real windows share: the program's handlers run from the
// system's event loop through guard(), which stops there the ProgramEnd that ends the program
// (an exception must not cross the system's frames); a loop of the program that yields through
// doEvents() sees the end and unwinds too.
class GuardedWindowSystem : public WindowSystem {
  public:
    // Runs one of the program's handlers for an event; nothing runs once the program has ended.
    template <class Handler>
    void guard(Handler&& handler) {
        if (status_) return;
        try {
            handler();
        } catch (const ProgramEnd&) {
            // ending() already asked the event loops to stop.
        }
    }

    bool ended() const { return status_.has_value(); }
    int status() const { return status_.value_or(kExitNormal); }

  protected:
    // Set by ending(): the program's exit status.
    std::optional<int> status_;
};

}  // namespace vidor::platform
