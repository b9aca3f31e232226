#include "platform/ProgramRun.h"

#include <cstdio>

#include "platform/NoScreen.h"

namespace vidor::platform {

int runProgram(Toolkit& toolkit, Process& process,
               const std::function<Services(WindowSystem&)>& services,
               const MainWindowFactory& makeMainWindow) {
    RunMode mode;
    mode.withParameters = !process.commandLine().empty();
    const Screen screen = toolkit.screen();
    // A run without parameters needs a person; a run with them goes on, and waits for nobody.
    if (screen == Screen::None && !mode.withParameters) {
        std::fputs(kNoScreenMessage, stderr);
        return kExitNoScreen;
    }
    mode.screen = screen == Screen::Seen;

    GuardedWindowSystem& windows = toolkit.start(mode);
    Services machine = services(windows);
    std::unique_ptr<Window> main = makeMainWindow(machine);
    windows.guard([&] {
        if (main->onLoad) main->onLoad();
        if (!main->visible()) windows.show(*main);
    });
    const int status = windows.ended() ? windows.status() : windows.runLoop();
    windows.release(*main);
    return status;
}

}  // namespace vidor::platform
