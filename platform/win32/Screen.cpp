#include "platform/win32/Screen.h"

#include <windows.h>

namespace vidor::platform::win32 {

namespace {

bool desktopVisible() {
    USEROBJECTFLAGS flags{};
    if (::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                    nullptr) &&
        !(flags.dwFlags & WSF_VISIBLE)) {
        return false;
    }
    // Session 0 belongs to the services: whatever it shows, nobody sees it.
    DWORD session = 0;
    return !::ProcessIdToSessionId(::GetCurrentProcessId(), &session) || session != 0;
}

}  // namespace

bool screenSeen() {
    if (!desktopVisible()) return false;
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (!probe) return false;
    ::DestroyWindow(probe);
    return true;
}

}  // namespace vidor::platform::win32
