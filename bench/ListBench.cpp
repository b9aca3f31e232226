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
#include <thread>

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

// What one census in the window measured.
struct Measure {
    std::unique_ptr<vidor::bench::LastLineWatch> watch;
    Clock::duration walk{};
    Clock::time_point walkEnd;
    int lines = 0;
    int draws = 0;  // of the last line during the walk
    std::optional<Clock::duration> shown;
};

// Lets the window be drawn whole before the census starts.
void settle(vidor::platform::WindowSystem& windows) {
    const auto end = Clock::now() + std::chrono::milliseconds(500);
    while (Clock::now() < end) {
        windows.doEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The census in the window, from its load handler; the program's own loop then draws the list,
// and the program ends once its last line is drawn.
void inWindow(vidor::app::F_Main& form, vidor::platform::GuardedWindowSystem& windows,
              bool mirrored, Measure& measure) {
    choose(form);
    windows.show(form);
    measure.watch = std::make_unique<vidor::bench::LastLineWatch>(windows, form, form.lDel);
    settle(windows);
    if (!mirrored) form.lDel.setObserver(nullptr);
    measure.walk = census(form);
    measure.walkEnd = Clock::now();
    measure.lines = form.lDel.count();
    measure.draws = measure.watch->draws();
    if (!mirrored) windows.endProgram(vidor::platform::kExitNormal);
    measure.watch->whenDrawn(
        [&windows, &measure](std::optional<Clock::time_point> drawn) {
            if (drawn) measure.shown = *drawn - measure.walkEnd;
            windows.guard([&windows] { windows.endProgram(vidor::platform::kExitNormal); });
        },
        std::chrono::seconds(60));
}

int window(char* program, bool mirrored) {
    Measure measure;
    char* arguments[] = {program, nullptr};
    // The program's own start, without its parameters.
    vidor::platform::runWithWindows(1, arguments, [&](vidor::platform::Services& services) {
        auto form = std::make_unique<vidor::app::F_Main>(services);
        auto& windows = dynamic_cast<vidor::platform::GuardedWindowSystem&>(services.windows);
        form->onLoad = [&form = *form, &windows, &measure, mirrored] {
            form.Form_Load();
            inWindow(form, windows, mirrored, measure);
        };
        return form;
    });
    if (!mirrored) {
        std::printf("quiet: census %.3f s, %d lines, the list not shown\n", seconds(measure.walk),
                    measure.lines);
    } else if (measure.shown) {
        std::printf(
            "window: census %.3f s, %d lines, last line drawn %.3f s after the walk's "
            "end; drawn %d times during the walk\n",
            seconds(measure.walk), measure.lines, seconds(*measure.shown), measure.draws);
    } else {
        std::printf("window: census %.3f s, %d lines, last line not drawn within 60 s\n",
                    seconds(measure.walk), measure.lines);
    }
    return measure.shown || !mirrored ? 0 : 1;
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

int main(int, char** argv) {
    const std::string mode = setting("LIST_BENCH", "window");
    if (mode == "headless") return headless();
    if (mode == "window" || mode == "quiet") return window(argv[0], mode == "window");
    std::fprintf(stderr, "list_bench: LIST_BENCH is window, quiet or headless\n");
    return 2;
}
