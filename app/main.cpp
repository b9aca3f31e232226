// Vidor: finds and removes temporary files.

#include <cstdio>

#include "app/CommandLine.h"
#include "app/F_Main.h"
#ifdef _WIN32
#include "platform/win32/Win32Main.h"
#else
#include "platform/linux/DesktopNotifier.h"
#include "platform/qt/QtMain.h"
#endif

namespace {

std::unique_ptr<vidor::platform::Window> makeMainWindow(vidor::platform::Services& services) {
    return std::make_unique<vidor::app::F_Main>(services);
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before anything else: no screen, no lock, no settings, no update.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const auto text = vidor::app::informationAsked(arguments)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
#ifndef _WIN32
    // The copy started to tell the desktop that a run is over.
    if (const auto status = vidor::platform::linux_::noticeAsked(arguments)) return *status;
#endif
#ifdef _WIN32
    return vidor::platform::win32::run(makeMainWindow);
#else
    return vidor::platform::qt::run(argc, argv, makeMainWindow);
#endif
}
