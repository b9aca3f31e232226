// Times the removal of the files a census lists, through the program's own census and deletion
// with a window system that draws nothing, so that what is measured is the logic and the system
// calls, not the drawing of a list.
//
//   removal_bench build <root> <files> <folders> [same]   makes <files> empty .tmp files spread
//                                                          over <folders> folders; with "same",
//                                                          every file is named x.tmp
//   removal_bench trash <root>                             a census of <root> as drive C:, then
//   removal_bench delete <root>                            "Corbeille" or "Effacer"
//
// The run prints the census's time and the removal's, what was removed or left, and the processor
// time the removal used (threads included).

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/F_Main.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int build(const fs::path& root, long files, long folders, bool same) {
    for (long f = 0; f < folders; ++f) fs::create_directories(root / ("d" + std::to_string(f)));
    for (long i = 0; i < files; ++i) {
        const fs::path folder = root / ("d" + std::to_string(i % folders));
        const std::string name = same ? "x.tmp" : "f" + std::to_string(i) + ".tmp";
        // Same names need one folder each: a folder holds a name once.
        const fs::path file = same ? folder / std::to_string(i / folders) / name : folder / name;
        if (same) fs::create_directories(file.parent_path());
        ::close(::open(file.c_str(), O_WRONLY | O_CREAT, 0644));
    }
    std::printf("%ld files in %ld folders under %s\n", files, folders, root.c_str());
    return 0;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time this process has used, in seconds: on a shared machine it moves less than
// the wall time with what the others run.
double processorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int run(const fs::path& root, bool toTrash) {
    ::setenv("VIDOR_UNITES", ("C=3:" + root.string()).c_str(), 1);
    vidor::platform::ScriptedWindowSystem windows;
    vidor::platform::linux_::LinuxPlatform machine("/opt/vidor/Vidor", {});
    vidor::platform::Services services = machine.services(windows);
    vidor::korlib::Registre(services.settings, "Brenlo")
        .RegistreEcrit("RépertoireMiseAJour", "-", "Brenlo", vidor::platform::Hive::LocalMachine);
    vidor::app::F_Main form(services);
    form.Form_Load();
    for (int i = 0; i < form.lExt.count(); ++i)
        form.lExt.setSelected(i, form.lExt.item(i) == "tmp");
    form.poubel.setValue(toTrash ? 1 : 0);
    auto start = Clock::now();
    try {
        form.bGo.press();
    } catch (const vidor::platform::ProgramEnd&) {
        std::fprintf(stderr, "removal_bench: no file of %s matches\n", root.c_str());
        return 1;
    }
    const double census = secondsSince(start);
    const int listed = form.lDel.count();
    start = Clock::now();
    const double processor = processorSeconds();
    try {
        form.bEffacer.press();
    } catch (const vidor::platform::ProgramEnd&) {
    }
    const double removal = secondsSince(start);
    std::printf(
        "census %.3f s, %s %.3f s: %d files listed, %d left; the removal used %.3f s of "
        "processor time\n",
        census, toTrash ? "trash" : "delete", removal, listed, form.lDel.count(),
        processorSeconds() - processor);
    return form.lDel.count() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 2 ? argv[1] : "";
    if (command == "build" && argc > 4) {
        return build(argv[2], std::atol(argv[3]), std::atol(argv[4]),
                     argc > 5 && std::string(argv[5]) == "same");
    }
    if (command == "trash" || command == "delete") return run(argv[2], command == "trash");
    std::fprintf(stderr,
                 "usage: removal_bench build <root> <files> <folders> [same] | trash <root> | "
                 "delete <root>\n");
    return 2;
}
