// Vidor: finds and removes temporary files.

#include <cstdio>
#include <iostream>

#include "app/CommandLine.h"
#include "app/F_Main.h"
#include "app/ScheduleCommand.h"
#include "platform/ProgramRun.h"
#ifdef _WIN32
#include "platform/windows/RegistrySettings.h"
#include "platform/windows/TaskScheduler.h"
#include "platform/windows/WindowsProcess.h"
#else
#include "platform/linux/LinuxProcess.h"
#include "platform/linux/LinuxScheduler.h"
#include "platform/linux/LinuxSettings.h"
#include "platform/linux/DesktopNotifier.h"
#endif

namespace {

std::unique_ptr<vidor::platform::Window> makeMainWindow(vidor::platform::Services& services) {
    return std::make_unique<vidor::app::F_Main>(services);
}

// "/PLANIFIER", with the machine's settings, program file and scheduler alone.
int scheduleCommand(const std::vector<std::string>& arguments) {
#ifdef _WIN32
    vidor::platform::windows::RegistrySettings settings;
    vidor::platform::windows::WindowsProcess process;
    vidor::platform::windows::TaskScheduler scheduler;
#else
    using vidor::platform::linux_::LinuxProcess;
    vidor::platform::linux_::LinuxSettings settings;
    LinuxProcess process(LinuxProcess::runningProgram(), arguments);
    vidor::platform::linux_::LinuxScheduler scheduler;
#endif
    return vidor::app::runScheduleCommand(arguments, {settings, process, scheduler}, std::cout,
                                          std::cerr);
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
    // A command for the system's scheduler, typed while the window may well be open.
    if (vidor::app::scheduleAsked(arguments)) return scheduleCommand(arguments);
    return vidor::platform::runWithWindows(argc, argv, makeMainWindow);
}
