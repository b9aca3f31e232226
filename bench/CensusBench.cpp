// Builds a reproducible tree and times the real census walk on it, headless.
//
//   census_bench build <root> [matching]   makes the tree under <root>
//   census_bench walk <root>                runs a census of <root> as drive C:
//   census_bench packages [folder]          reads dpkg's file lists (/var/lib/dpkg/info) into a
//                                           new cache, then from that cache, and asks about
//                                           190,000 paths
//   census_bench settings                   turns the self-update off in $XDG_CONFIG_HOME, so
//                                           that a start of the program asks nothing
//   census_bench extensions [count]         starts the program with <count> extensions saved
//                                           and selected (100,000 by default) and runs a
//                                           census of a tree of four files
//
// The tree holds 10,020 folders and 190,000 files (about 200,000 entries), of which <matching>
// (1,900 by default, 1%), spread evenly, end in .tmp. The walk prints the entries per second, the
// files listed and the peak resident memory.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/F_Main.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/PackageFiles.h"
#include "platform/scripted/ScriptedWindowSystem.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTop = 20;     // folders under the root
constexpr int kMiddle = 20;  // under each of those
constexpr int kLeaves = 24;  // under each of those: 20 + 400 + 9,600 = 10,020 folders
constexpr int kFiles = 190000;

void makeFile(const fs::path& folder, int number, long matching) {
    const bool matches = (number + 1) * matching / kFiles != number * matching / kFiles;
    const std::string name = "f" + std::to_string(number) + (matches ? ".tmp" : ".dat");
    ::close(::open((folder / name).c_str(), O_WRONLY | O_CREAT, 0644));
}

int build(const fs::path& root, long matching) {
    std::vector<fs::path> folders;
    for (int a = 0; a < kTop; ++a) {
        const fs::path top = root / ("a" + std::to_string(a));
        folders.push_back(top);
        for (int b = 0; b < kMiddle; ++b) {
            const fs::path middle = top / ("b" + std::to_string(b));
            folders.push_back(middle);
            for (int c = 0; c < kLeaves; ++c) folders.push_back(middle / ("c" + std::to_string(c)));
        }
    }
    for (const fs::path& folder : folders) fs::create_directories(folder);
    for (int i = 0; i < kFiles; ++i)
        makeFile(folders[static_cast<std::size_t>(i) % folders.size()], i, matching);
    std::printf("%zu folders and %d files under %s\n", folders.size(), kFiles, root.c_str());
    return 0;
}

long peakResidentKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The processor time of the whole process so far (every thread, user and system): on a shared
// machine it says what the work costs when the wall clock says how busy the others are.
double processorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void updateOff(vidor::platform::Services& services) {
    vidor::korlib::Registre settings(services.settings, "Brenlo");
    // Written once: a settings file written at every start would weigh on the census timed.
    constexpr auto kMachine = vidor::platform::Hive::LocalMachine;
    if (settings.RegistreLit("RépertoireMiseAJour", "Brenlo", kMachine) == "-") return;
    settings.RegistreEcrit("RépertoireMiseAJour", "-", "Brenlo", kMachine);
}

int settings() {
    vidor::platform::ScriptedWindowSystem windows;
    vidor::platform::linux_::LinuxPlatform machine("/opt/vidor/Vidor", {});
    vidor::platform::Services services = machine.services(windows);
    updateOff(services);
    return 0;
}

int walk(const fs::path& root) {
    // Kept beside the tree from one walk to the next: the census is timed as a user starts it
    // again, with the settings its first start wrote.
    const fs::path tree = root.has_filename() ? root : root.parent_path();
    const fs::path settings = tree.parent_path() / (tree.filename().string() + "-settings");
    fs::create_directories(settings);
    ::setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", settings.c_str(), 1);
    ::setenv("VIDOR_UNITES", ("C=3:" + root.string()).c_str(), 1);
    {
        vidor::platform::ScriptedWindowSystem windows;
        vidor::platform::linux_::LinuxPlatform machine("/opt/vidor/Vidor", {});
        vidor::platform::Services services = machine.services(windows);
        updateOff(services);
        vidor::app::F_Main form(services);
        form.Form_Load();
        for (int i = 0; i < form.lExt.count(); ++i)
            form.lExt.setSelected(i, form.lExt.item(i) == "tmp");

        const auto start = std::chrono::steady_clock::now();
        const double processorAtStart = processorSeconds();
        try {
            form.bGo.press();
        } catch (const vidor::platform::ProgramEnd&) {
            // A census that finds nothing says so and ends the program: the tree had no match.
            std::fprintf(stderr, "census_bench: no file of %s matches\n", root.c_str());
            return 1;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double processor = processorSeconds() - processorAtStart;
        const double entries = kFiles + kTop + kTop * kMiddle + kTop * kMiddle * kLeaves;
        std::printf(
            "census: %.3f s (processor %.3f s), %.0f entries/s, %d files listed, %s, "
            "peak %ld MB resident\n",
            seconds, processor, entries / seconds, form.lDel.count(),
            form.eTaille.caption().c_str(), peakResidentKilobytes() / 1024);
    }
    return 0;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int packages(const std::string& folder) {
    using Clock = std::chrono::steady_clock;
    const fs::path cache = fs::temp_directory_path() /
                           ("vidor-bench-dpkg-" + std::to_string(::getpid())) / "dpkg-files";
    auto start = Clock::now();
    double reading = 0;
    {
        vidor::platform::linux_::PackageFiles lists(folder, cache.string());
        lists.size();
        reading = secondsSince(start);
    }  // waits for the cache to be written
    const double writing = secondsSince(start) - reading;
    start = Clock::now();
    vidor::platform::linux_::PackageFiles files(folder, cache.string());
    const std::size_t paths = files.size();
    const double cached = secondsSince(start);
    std::size_t owned = 0;
    start = Clock::now();
    for (int i = 0; i < kFiles; ++i) {
        owned += files.owns(i % 2 ? "/usr/lib/x" + std::to_string(i) + ".tmp" : "/usr/bin/ls");
    }
    const double asking = secondsSince(start);
    std::printf(
        "packages: %zu paths read from the lists in %.3f s (cache written in %.3f s, %s), from "
        "the cache in %.3f s; %d questions in %.3f s (%zu owned); peak %ld MB resident\n",
        paths, reading, writing, fs::exists(cache) ? "kept" : "not kept", cached, kFiles, asking,
        owned, peakResidentKilobytes() / 1024);
    fs::remove_all(cache.parent_path());
    return 0;
}

}  // namespace

// A start of the program with `count` extensions saved and selected, then a census of four
// files: neither may take time in proportion to the square of the count.
int extensions(long count) {
    const fs::path work = fs::temp_directory_path() / ("vidor-bench-" + std::to_string(::getpid()));
    fs::create_directories(work / "c");
    for (const char* name : {"a.tmp", "b.x1", "c.dat", "d.X99999"})
        ::close(::open((work / "c" / name).c_str(), O_WRONLY | O_CREAT, 0644));
    ::setenv("XDG_CONFIG_HOME", work.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", work.c_str(), 1);
    ::setenv("VIDOR_UNITES", ("C=3:" + (work / "c").string()).c_str(), 1);
    std::string saved = "tmp\t";
    for (long i = 0; i < count; ++i) saved += "x" + std::to_string(i) + "\t";
    {
        vidor::platform::ScriptedWindowSystem windows;
        vidor::platform::linux_::LinuxPlatform machine("/opt/vidor/Vidor", {});
        vidor::platform::Services services = machine.services(windows);
        updateOff(services);
        const vidor::korlib::Registre settings(services.settings, "Vidor");
        settings.ParametreEcrit("Extensions", saved);
        settings.ParametreEcrit("Extensions sélectionnées", saved);
        vidor::app::F_Main form(services);
        auto start = std::chrono::steady_clock::now();
        form.Form_Load();
        const double loading = secondsSince(start);
        start = std::chrono::steady_clock::now();
        form.bGo.press();
        std::printf(
            "extensions: %ld saved and selected: start-up %.3f s, census of 4 files %.3f s "
            "(%d listed)\n",
            count + 1, loading, secondsSince(start), form.lDel.count());
    }
    fs::remove_all(work);
    return 0;
}

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc > 2) return build(argv[2], argc > 3 ? std::atol(argv[3]) : 1900);
    if (command == "walk" && argc > 2) return walk(argv[2]);
    if (command == "packages") return packages(argc > 2 ? argv[2] : "/var/lib/dpkg/info");
    if (command == "settings") return settings();
    if (command == "extensions") return extensions(argc > 2 ? std::atol(argv[2]) : 100000);
    std::fprintf(stderr,
                 "usage: census_bench build <root> [matching] | walk <root> | packages [folder] | "
                 "settings | extensions [count]\n");
    return 2;
}
