// The machine's services for the commands answered before any window, on Linux.

#include "platform/CommandRun.h"
#include "platform/linux/DesktopNotifier.h"
#include "platform/linux/LinuxProcess.h"
#include "platform/linux/LinuxScheduler.h"
#include "platform/linux/LinuxSettings.h"

namespace vidor::platform {

int runCommand(const std::vector<std::string>& arguments,
               const std::function<int(const CommandServices&)>& command) {
    linux_::LinuxSettings settings;
    linux_::LinuxProcess process(linux_::LinuxProcess::runningProgram(), arguments);
    linux_::LinuxScheduler scheduler;
    return command({settings, process, scheduler});
}

std::optional<int> helperRun(const std::vector<std::string>& arguments) {
    return linux_::noticeAsked(arguments);
}

}  // namespace vidor::platform
