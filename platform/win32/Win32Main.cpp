#include "platform/win32/Win32Main.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstdio>

#include "platform/NoScreen.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/windows/WindowsPlatform.h"

namespace vidor::platform::win32 {

namespace {

// A service or a task without an interactive session has an invisible window station; Wine
// without an X display has a visible one but creates no window at all.
bool screenReachable() {
    USEROBJECTFLAGS flags{};
    if (::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                    nullptr) &&
        !(flags.dwFlags & WSF_VISIBLE)) {
        return false;
    }
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    ::DestroyWindow(probe);
    return true;
}

}  // namespace

int run(const MainWindowFactory& makeMainWindow) {
    windows::WindowsPlatform machine;
    const bool screen = screenReachable();
    if (!screen && machine.process().commandLine().empty()) {
        std::fputs(kNoScreenMessage, stderr);
        return kExitNoScreen;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    Win32WindowSystem windows(!screen);
    Services services = machine.services(windows);
    std::unique_ptr<Window> main = makeMainWindow(services);

    windows.guard([&] {
        if (main->onLoad) main->onLoad();
        if (!main->visible()) windows.show(*main);
    });
    const int status = windows.ended() ? windows.status() : windows.run();
    windows.release(*main);
    return status;
}

}  // namespace vidor::platform::win32
