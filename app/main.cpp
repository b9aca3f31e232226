// Vidor: finds and removes temporary files.

#include <cstdio>
#include <iostream>

#include "app/CommandLine.h"
#include "app/F_Main.h"
#include "app/ScheduleCommand.h"
#include "platform/CommandRun.h"
#include "platform/ProgramRun.h"

namespace {

std::unique_ptr<vidor::platform::Window> makeMainWindow(vidor::platform::Services& services) {
    return std::make_unique<vidor::app::F_Main>(services);
}

// "/PLANIFIER", with the machine's settings, program file and scheduler alone.
int scheduleCommand(const std::vector<std::string>& arguments) {
    return vidor::platform::runCommand(
        arguments, [&arguments](const vidor::platform::CommandServices& machine) {
            return vidor::app::runScheduleCommand(arguments, machine, std::cout, std::cerr);
        });
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before anything else: no screen, no single-copy check, no settings, no update.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const auto text = vidor::app::informationAsked(arguments)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    // A copy started to help another (the word to the desktop after a run).
    if (const auto status = vidor::platform::helperRun(arguments)) return *status;
    // A command for the system's scheduler, typed while the window may well be open.
    if (vidor::app::scheduleAsked(arguments)) return scheduleCommand(arguments);
    return vidor::platform::runWithWindows(argc, argv, makeMainWindow);
}
