#pragma once

#include <functional>
#include <memory>

#include "platform/GuardedWindowSystem.h"
#include "platform/Services.h"
#include "platform/controls/Window.h"

namespace vidor::platform {

// Makes the program's main window over the machine's services.
using MainWindowFactory = std::function<std::unique_ptr<Window>(Services&)>;

// What a session offers the program's windows.
enum class Screen {
    Seen,    // a screen a person looks at
    Unseen,  // windows can be made, but are drawn where nobody sees them
    None,    // no window can be made at all
};

// The part of a run that belongs to a window toolkit.
class Toolkit {
  public:
    virtual ~Toolkit() = default;
    // What this session offers; asked once, before start().
    virtual Screen screen() = 0;
    // Starts the toolkit for a run of `mode`; its window system lives as long as the toolkit.
    virtual GuardedWindowSystem& start(const RunMode& mode) = 0;
};

// Runs the program: without a screen a run without parameters says so and ends (status
// kExitNoScreen); otherwise the toolkit starts, the main window made by `makeMainWindow` over
// `services` is loaded and, unless the loading ended the program or showed it, shown, and the
// event loop runs until the program ends. Returns the exit status.
int runProgram(Toolkit& toolkit, Process& process,
               const std::function<Services(WindowSystem&)>& services,
               const MainWindowFactory& makeMainWindow);

// Runs the program with the window toolkit of this system (Qt Widgets, or Win32) and the
// machine's own services. Returns the exit status.
int runWithWindows(int argc, char** argv, const MainWindowFactory& makeMainWindow);

}  // namespace vidor::platform
