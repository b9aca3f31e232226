#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>

#include "platform/GuardedWindowSystem.h"

namespace vidor::platform::win32 {

class Win32Form;

// The window system of Win32: the program's handlers run from window procedures, through
// guard().
class Win32WindowSystem : public GuardedWindowSystem {
  public:
    // Without a screen (`headless`), message boxes are written on standard error and take their
    // default answer (OK, or Yes), and the prompt counts as cancelled: nothing waits for a person.
    explicit Win32WindowSystem(bool headless = false);
    ~Win32WindowSystem() override;

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

    // The message loop of the program, until it ends; returns its exit status.
    int run();

    // Pixels per logical inch of the screen.
    int dpi() const { return dpi_; }

    // The native window of a shown window (nullptr when it is not shown).
    Win32Form* formOf(Window& window);
    // Forgets a window about to be destroyed.
    void release(Window& window);

  protected:
    void ending(int status) override;

  private:
    Win32Form& formFor(Window& window);
    Win32Form* formAt(HWND hwnd);
    HWND owner();
    void dispatch(MSG& message);
    void pump();

    bool headless_;
    int dpi_ = 96;
    std::map<Window*, std::unique_ptr<Win32Form>> forms_;
    ULONGLONG lastEvents_ = 0;
};

}  // namespace vidor::platform::win32
