#pragma once

#include "platform/Services.h"

namespace vidor::update {

// The self-update run at every start. Reads the machine's update folder, asking the user for it
// when none was given yet ("-" declines the service for good). When the program's copy there is
// newer, starts the updater beside the program and ends the program (ProgramEnd). On the build
// machine (a project marker beside the program), publishes a newer local build there instead.
// Also ends the program when it runs from its own update folder. Otherwise returns, and
// start-up goes on; failures are told to the user and never stop the program by themselves.
void MiseAJourAuto(platform::Services& sys);

}  // namespace vidor::update
