// The Windows form of the notice: it goes where the program's own messages go. On a screen a
// person sees, a box, which in a run with parameters is also written on standard error and closes
// by itself; without one (a service, a task run whether the user is logged on or not), standard
// error alone.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "platform/win32/Screen.h"
#include "platform/win32/Win32WindowSystem.h"
#include "renovex/windows/Steps.h"

namespace vidor::renovex::windows {

namespace {

// The updater is given the new version and the program, then the parameters of the run that met
// the update: with them, that run was unattended, and so is this one.
bool runWithParameters() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    ::LocalFree(arguments);
    return count > 3;
}

}  // namespace

void tellUser(const std::string& text) {
    platform::RunMode mode;
    mode.screen = platform::win32::screenSeen();
    mode.withParameters = runWithParameters();
    platform::win32::Win32WindowSystem windows(mode);
    windows.messageBox(text, platform::Buttons::Ok, platform::Icon::Exclamation,
                       "Renovex - Erreur");
}

}  // namespace vidor::renovex::windows
