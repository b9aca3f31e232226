// Vidor: finds and removes temporary files.

#include <cstdio>

#include "app/CommandLine.h"
#include "app/F_Main.h"
#include "platform/ProgramRun.h"

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
    return vidor::platform::runWithWindows(argc, argv, makeMainWindow);
}
