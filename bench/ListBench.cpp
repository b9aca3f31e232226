// Times the list of files in the program's real window: a census of one drive with the window on
// a screen, how long the walk takes, and how long after the walk's end the list's last line is
// drawn; the same walk with the list left unmirrored, and without any window.
//
// Its settings come from the environment, for the Windows program takes its whole command line
// as its parameters:
//   LIST_BENCH=window    the census in the window, the list growing as it runs (the default)
//   LIST_BENCH=quiet     the census in the window, the list of files not mirrored on screen
//   LIST_BENCH=headless  the census without a window
//   LIST_BENCH_DRIVE=C   the drive walked, the only one selected (C by default)
//
// The self-update must be off in the settings (census_bench settings on Linux).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/F_Main.h"
#include "bench/LastLine.h"
#include "platform/ProgramRun.h"
#include "platform/scripted/ScriptedWindowSystem.h"
#ifdef _WIN32
#include "platform/windows/WindowsPlatform.h"
#else
#include "platform/linux/LinuxPlatform.h"
#endif

namespace {

using vidor::bench::Clock;

std::string setting(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value && *value ? value : otherwise;
}

double seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// Only the bench's drive, and only the extension tmp.
void choose(vidor::app::F_Main& form) {
    const std::string drive = setting("LIST_BENCH_DRIVE", "C") + ":";
    for (int i = 0; i < form.lUnites.count(); ++i)
        form.lUnites.setSelected(i, form.lUnites.item(i) == drive);
    for (int i = 0; i < form.lExt.count(); ++i)
        form.lExt.setSelected(i, form.lExt.item(i) == "tmp");
    if (!form.bGo.enabled()) {
        std::fprintf(stderr, "list_bench: no drive %s, or no extension tmp\n", drive.c_str());
        std::exit(1);
    }
}

// Runs the census; returns how long it took.
Clock::duration census(vidor::app::F_Main& form) {
    const auto start = Clock::now();
    form.bGo.press();
    return Clock::now() - start;
}

void inWindow(vidor::app::F_Main& form, vidor::platform::WindowSystem& windows, bool mirrored) {
    choose(form);
    windows.show(form);
    vidor::bench::LastLineWatch watch(windows, form, form.lDel);
    // The window drawn once before the census starts.
    watch.wait(std::chrono::seconds(1));
    if (!mirrored) form.lDel.setObserver(nullptr);
    const Clock::duration walk = census(form);
    const auto walkEnd = Clock::now();
    const int during = watch.draws();
    if (!mirrored) {
        std::printf("quiet: census %.3f s, %d lines, the list not shown\n", seconds(walk),
                    form.lDel.count());
    } else if (const auto drawn = watch.wait(std::chrono::seconds(60))) {
        std::printf("window: census %.3f s, %d lines, last line drawn %.3f s after the walk's "
                    "end; drawn %d times during the walk\n",
                    seconds(walk), form.lDel.count(), seconds(*drawn - walkEnd), during);
    } else {
        std::printf("window: census %.3f s, %d lines, last line not drawn within 60 s\n",
                    seconds(walk), form.lDel.count());
    }
    std::fflush(stdout);
    windows.endProgram(vidor::platform::kExitNormal);
}

int headless() {
    vidor::platform::ScriptedWindowSystem windows;
#ifdef _WIN32
    vidor::platform::windows::WindowsPlatform machine;
#else
    vidor::platform::linux_::LinuxPlatform machine("/opt/vidor/Vidor", {});
#endif
    vidor::platform::Services services = machine.services(windows);
    vidor::app::F_Main form(services);
    form.Form_Load();
    choose(form);
    const Clock::duration walk = census(form);
    std::printf("headless: census %.3f s, %d lines\n", seconds(walk), form.lDel.count());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = setting("LIST_BENCH", "window");
    if (mode == "headless") return headless();
    if (mode != "window" && mode != "quiet") {
        std::fprintf(stderr, "list_bench: LIST_BENCH is window, quiet or headless\n");
        return 2;
    }
    // The program's own start, without its parameters.
    return vidor::platform::runWithWindows(
        argc > 0 ? 1 : 0, argv, [mirrored = mode == "window"](vidor::platform::Services& services) {
            auto form = std::make_unique<vidor::app::F_Main>(services);
            form->onLoad = [&form = *form, &services, mirrored] {
                form.Form_Load();
                inWindow(form, services.windows, mirrored);
            };
            return form;
        });
}
