#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/Scheduler.h"
#include "platform/SettingsStore.h"

namespace vidor::platform {

// The machine's services for a command answered before any window is made: no window system,
// no drives, no single-copy check.
struct CommandServices {
    SettingsStore& settings;
    Process& process;
    Scheduler& scheduler;
};

// Runs `command` over this machine's settings, the running program (started with `arguments`)
// and the system's scheduler. Returns the command's exit status.
int runCommand(const std::vector<std::string>& arguments,
               const std::function<int(const CommandServices&)>& command);

// When `arguments` start a copy of the program that only helps another one (on Linux, "--avis":
// the word to the desktop after a run, sent by a copy of its own so that the run never waits),
// does that work and gives the exit status; nothing otherwise.
std::optional<int> helperRun(const std::vector<std::string>& arguments);

}  // namespace vidor::platform
