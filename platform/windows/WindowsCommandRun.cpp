// The machine's services for the commands answered before any window, on Windows.

#include "platform/CommandRun.h"
#include "platform/windows/RegistrySettings.h"
#include "platform/windows/TaskScheduler.h"
#include "platform/windows/WindowsProcess.h"

namespace vidor::platform {

int runCommand(const std::vector<std::string>&,
               const std::function<int(const CommandServices&)>& command) {
    windows::RegistrySettings settings;
    // The program's own command line, read whole from the system, stands for the arguments.
    windows::WindowsProcess process;
    windows::TaskScheduler scheduler;
    return command({settings, process, scheduler});
}

std::optional<int> helperRun(const std::vector<std::string>&) {
    // The desktop is told nothing on Windows: no copy is ever started to help another.
    return std::nullopt;
}

}  // namespace vidor::platform
