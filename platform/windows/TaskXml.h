#pragma once

#include <string>

#include "platform/Scheduler.h"

namespace vidor::platform::windows {

// The Task Scheduler's XML for the task that runs `program` with `parameter` at `frequency` for
// the user who registers it, only while that user is logged on: the run shows its reduced
// window, which closes by itself. A run missed while the computer was off is made when it is
// next on. Written as text since the scheduler's objects lack the weekly trigger in MinGW.
std::string taskXml(Frequency frequency, const std::string& program, const std::string& parameter);

}  // namespace vidor::platform::windows
