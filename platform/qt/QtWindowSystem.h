#pragma once

#include <QElapsedTimer>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/GuardedWindowSystem.h"
#include "platform/qt/Twips.h"

class QEventLoop;
class QWidget;

namespace vidor::platform::qt {

class QtForm;

// The window system of Qt Widgets: the program's handlers run from Qt's event loop, through
// guard().
class QtWindowSystem : public GuardedWindowSystem {
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
    QElapsedTimer sinceEvents_;
};

}  // namespace vidor::platform::qt
