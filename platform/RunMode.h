#pragma once

#include <chrono>

namespace vidor::platform {

// A message box of a run with parameters waits no longer than this: such a run may be a timer's,
// inside a desktop session that nobody watches.
inline constexpr std::chrono::milliseconds kUnattendedBoxLifetime{30000};

// Who may answer the program's windows during a run.
struct RunMode {
    // A person may see the windows. False without a screen, in a session whose desktop nobody
    // sees, or on a screen that draws nowhere: nothing is shown and nothing waits.
    bool screen = true;
    // The run has parameters: whoever started it need not be there. The prompt is not shown, and
    // the message boxes close by themselves after `boxLifetime`.
    bool withParameters = false;
    std::chrono::milliseconds boxLifetime = kUnattendedBoxLifetime;
};

}  // namespace vidor::platform
