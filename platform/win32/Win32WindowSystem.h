#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "platform/GuardedWindowSystem.h"

namespace vidor::platform::win32 {

class Win32Form;

// The window system of Win32: the program's handlers run from window procedures, through
// guard(); boxes are the system's, the prompt a dialog of the program's own.
class Win32WindowSystem : public GuardedWindowSystem {
  public:
    explicit Win32WindowSystem(RunMode mode = {});
    ~Win32WindowSystem() override;

    int screenWidth() override;
    int screenHeight() override;
    void show(Window& window) override;
    // The message loop of the program, until it ends; returns its exit status.
    int runLoop() override;
    void release(Window& window) override;

    // Pixels per logical inch of the screen.
    int dpi() const { return dpi_; }

    // The native window of a shown window (nullptr when it is not shown), and the form a native
    // window belongs to.
    Win32Form* formOf(Window& window);
    Win32Form* formAt(HWND hwnd);

  protected:
    Answer showBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                   std::chrono::milliseconds closeAfter) override;
    std::optional<std::string> showPrompt(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText) override;
    void handleEvents() override;
    void runModal(Window& window) override;
    void ring() override;
    void stopLoops(int status) override;
    // The system's tick count: a walk asks it after every file.
    std::int64_t milliseconds() const override;

  private:
    Win32Form& formFor(Window& window);
    HWND owner();
    // The next message for a loop that waits for one, once the windows show the program's last
    // state: false when the loop is to end.
    bool nextMessage(MSG& message);
    void showChanges(bool paced = false);
    void dispatch(MSG& message);

    int dpi_ = 96;
    std::map<Window*, std::unique_ptr<Win32Form>> forms_;
};

}  // namespace vidor::platform::win32
