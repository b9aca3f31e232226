#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/RunMode.h"
#include "platform/WindowSystem.h"

namespace vidor::platform {

// What the window systems that draw real windows share, whatever their toolkit: the program's
// handlers run from the system's event loop through guard(), which stops there the ProgramEnd
// that ends the program (an exception must not cross the system's frames); a loop of the program
// that yields through doEvents() sees the end and unwinds too. It also decides, once for every
// toolkit, when events are handled and what the boxes and the prompt do for the run's mode; the
// toolkit only shows them.
class GuardedWindowSystem : public WindowSystem {
  public:
    explicit GuardedWindowSystem(RunMode mode) : mode_(mode) {}

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
    const RunMode& mode() const { return mode_; }

    // Handles the pending events when kYield has passed since it last did, so that a click on
    // "Annuler" is seen at once without slowing a walk of a million files; throws ProgramEnd once
    // the program has ended. Without a screen there is nothing to handle.
    void doEvents() final;

    // Without a screen, the box is written on standard error and takes its default answer (OK, or
    // Yes) at once. In a run with parameters it is written there too, and closes by itself with
    // its default answer after the mode's box lifetime.
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) final;

    // The prompt waits for a person: without a screen, or in a run with parameters, it is written
    // on standard error and counts as cancelled (the empty text).
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) final;

    void beep() final;

    // Shows a window modally, once every other window of the program has stopped taking input;
    // returns once it is hidden. Without a screen nobody could close it: it is not shown.
    void showModal(Window& window) final;

    // Runs the event loop until the program ends; returns its exit status.
    virtual int runLoop() = 0;
    // Forgets a window about to be destroyed.
    virtual void release(Window& window) = 0;

    static constexpr std::chrono::milliseconds kYield{15};

  protected:
    // The toolkit's part. showBox() shows a modal box and returns the button pressed; with a
    // `closeAfter` above zero, it presses the default button itself once that time has passed.
    virtual Answer showBox(const std::string& text, Buttons buttons, Icon icon,
                           const std::string& title, std::chrono::milliseconds closeAfter) = 0;
    // The prompt on screen: the text typed, or nothing when cancelled.
    virtual std::optional<std::string> showPrompt(const std::string& prompt,
                                                  const std::string& title,
                                                  const std::string& defaultText) = 0;
    // Handles every pending event once.
    virtual void handleEvents() = 0;
    // Shows `window` modally until it is hidden, or the program ends.
    virtual void runModal(Window& window) = 0;
    virtual void ring() = 0;
    // Stops every event loop that runs: the program has ended.
    virtual void stopLoops(int status) = 0;
    // A clock of milliseconds that never goes back; the toolkit may have a cheaper one.
    virtual std::int64_t milliseconds() const;

    void ending(int status) final;
    // Throws ProgramEnd when the program ended meanwhile (inside a modal loop, say).
    void checkEnded() const;

    // Set by ending(): the program's exit status.
    std::optional<int> status_;

  private:
    RunMode mode_;
    std::optional<std::int64_t> lastEvents_;
};

}  // namespace vidor::platform
