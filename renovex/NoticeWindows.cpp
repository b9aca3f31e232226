// The Windows form of the notice: standard error, and a message box on a desktop that shows.

#include <windows.h>

#include <iostream>

#include "platform/windows/Wide.h"
#include "renovex/Notice.h"

namespace vidor::renovex {

namespace {

// False for a service or a scheduled run, whose message box nobody would ever close.
bool desktopShows() {
    USEROBJECTFLAGS flags{};
    return ::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                       nullptr) &&
           (flags.dwFlags & WSF_VISIBLE);
}

}  // namespace

void tellUser(const std::string& text) {
    std::cerr << "Renovex : " << text << std::endl;
    if (!desktopShows()) return;
    ::MessageBoxW(nullptr, platform::windows::widen(text).c_str(), L"Renovex - Erreur",
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace vidor::renovex
