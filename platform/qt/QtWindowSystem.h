#pragma once

#include <QElapsedTimer>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/WindowSystem.h"
#include "platform/qt/Twips.h"

class QEventLoop;
class QWidget;

namespace vidor::platform::qt {

class QtForm;

// The window system of Qt Widgets. The program's handlers run from Qt's event loop through
// guard(), which stops the ProgramEnd that ends the program there; a loop of the program that
// yields through doEvents() sees the end and unwinds too.
class QtWindowSystem : public WindowSystem {
  public:
    // Without a screen (`headless`), message boxes are written on standard error and take their
    // default answer (OK, or Yes), and the prompt counts as cancelled: nothing waits for a person.
    // With a screen and a `closeAfter` time (a run with parameters), the prompt counts as
    // cancelled too, and message boxes, also written on standard error, close by themselves
    // with their default answer once that time has passed.
    explicit QtWindowSystem(bool headless = false, int closeAfterMilliseconds = 0);
    ~QtWindowSystem() override;

    void doEvents() override;
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    void beep() override;
    int screenWidth() override;
    int screenHeight() override;
    void show(Window& window) override;
    void showModal(Window& window) override;

    // Runs one of the program's handlers for an event; nothing runs once the program has ended.
    template <class Handler>
    void guard(Handler&& handler) {
        if (status_) return;
        try {
            handler();
        } catch (const ProgramEnd&) {
            // ending() already asked the event loop to stop.
        }
    }

    bool ended() const { return status_.has_value(); }
    int status() const { return status_.value_or(kExitNormal); }

    // The widgets of a shown window (nullptr when it is not shown); for tests.
    QtForm* formOf(Window& window);
    // Forgets a window about to be destroyed.
    void release(Window& window);

  protected:
    void ending(int status) override;

  private:
    QtForm& formFor(Window& window);
    QWidget* activeWidget();

    bool headless_;
    int closeAfter_;
    TwipScale scale_;
    std::map<Window*, std::unique_ptr<QtForm>> forms_;
    std::vector<QEventLoop*> loops_;
    std::optional<int> status_;
    QElapsedTimer sinceEvents_;
};

}  // namespace vidor::platform::qt
