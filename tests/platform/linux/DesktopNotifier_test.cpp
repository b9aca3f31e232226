#include "platform/linux/DesktopNotifier.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/support/Sandbox.h"
#include "tests/support/Shell.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

// Waits a few seconds at most for `file` to hold `text`.
bool appears(const fs::path& file, const std::string& text) {
    for (int i = 0; i < 100; ++i) {
        if (test::readFile(file).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(DesktopNotifierTest, TheWordGoesOverTheSessionBusFromACopyOfItsOwn) {
    test::Sandbox sandbox;
    // The copy that makes the call, played by a script that writes down how it was started.
    const fs::path program = sandbox / "program";
    const fs::path started = sandbox / "started.txt";
    test::writeFile(program, "#!/bin/sh\nprintf '%s|' \"$@\" > " + test::quoted(started) + "\n");
    fs::permissions(program, fs::perms::owner_all);
    DesktopNotifier notifier(program.string());
    notifier.notify("Vidor", "2 fichiers");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(started)) << "no session bus, no word";

    const fs::path bus = sandbox / "bus";
    sandbox.setEnv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + bus.string());
    notifier.notify("Vidor", "2 fichiers");
    EXPECT_TRUE(appears(started, "--avis|Vidor|2 fichiers|"));

    // The copy's call, seen on a bus of the test's own where no service answers.
    if (std::system("command -v dbus-daemon dbus-monitor >/dev/null") != 0) {
        GTEST_SKIP() << "needs dbus-daemon and dbus-monitor";
    }
    const fs::path seen = sandbox / "seen.txt";
    const std::string address = test::quoted("unix:path=" + bus.string());
    const std::string startBus =
        "dbus-daemon --session --fork --nopidfile --print-pid --address=" + address +
        " 2>/dev/null";
    FILE* daemon = ::popen(startBus.c_str(), "r");
    int pid = 0;
    ASSERT_TRUE(daemon && std::fscanf(daemon, "%d", &pid) == 1 && pid > 0);
    ::pclose(daemon);
    std::system(
        ("(timeout 20 dbus-monitor --address " + address + " > " + test::quoted(seen) + " 2>&1 &)")
            .c_str());
    ASSERT_TRUE(appears(seen, "NameAcquired"));
    EXPECT_FALSE(sendNotice("Vidor", "1 fichier mis à la corbeille"));
    EXPECT_TRUE(appears(seen, "member=Notify"));
    const std::string call = test::readFile(seen);
    EXPECT_NE(call.find("string \"Vidor\"\n   uint32 0\n   string \"fr.brenlo.Vidor\"\n"
                        "   string \"Vidor\"\n   string \"1 fichier mis à la corbeille\""),
              std::string::npos)
        << call;
    // The monitor ends with its bus.
    ::kill(pid, SIGTERM);
}

}  // namespace
}  // namespace vidor::platform::linux_
