// The start of the program with the native windows of Win32.

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <optional>

#include "platform/ProgramRun.h"
#include "platform/win32/Screen.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/windows/WindowsPlatform.h"

namespace vidor::platform {

namespace {

class Win32Toolkit : public Toolkit {
  public:
    Screen screen() override { return win32::screenSeen() ? Screen::Seen : Screen::None; }

    GuardedWindowSystem& start(const RunMode& mode) override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        return windows_.emplace(mode);
    }

  private:
    std::optional<win32::Win32WindowSystem> windows_;
};

}  // namespace

int runWithWindows(int, char**, const MainWindowFactory& makeMainWindow) {
    windows::WindowsPlatform machine;
    Win32Toolkit toolkit;
    return runProgram(
        toolkit, machine.process(),
        [&machine](WindowSystem& windows) { return machine.services(windows); }, makeMainWindow);
}

}  // namespace vidor::platform
