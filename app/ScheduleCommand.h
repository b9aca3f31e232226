#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/CommandRun.h"

namespace vidor::app {

// What the "/PLANIFIER" command needs from the machine: its settings, the running program and
// the system's scheduler.
using ScheduleServices = platform::CommandServices;

// True when `arguments` start with "/PLANIFIER", alone or followed by ":" and a value, in any
// letter case: a command answered before anything else runs (no window, no single-copy check,
// no update).
bool scheduleAsked(const std::vector<std::string>& arguments);

// Runs the "/PLANIFIER" command of `arguments`: ":QUOTIDIEN" and ":HEBDOMADAIRE" schedule an
// unattended "/AUTO" run of this program for this user, ":NON" removes it, nothing more shows
// it. Writes one line on `out` for what was done, or the reason on `errors`; returns the exit
// status: 0 done, 1 not done (no stored choices for "/AUTO", or the system refused), 2 a
// parameter not understood.
int runScheduleCommand(const std::vector<std::string>& arguments, const ScheduleServices& machine,
                       std::ostream& out, std::ostream& errors);

}  // namespace vidor::app
