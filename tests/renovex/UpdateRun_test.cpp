// The whole update as a user meets it: the built program starts, finds a newer copy in its
// update folder, hands over to the built updater and ends; the updater replaces it and starts
// the new version.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "tests/support/Sandbox.h"
#include "tests/support/Shell.h"
#include "tests/support/Unprivileged.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::quoted;

// Waits up to 30 seconds for `ready`.
bool within30s(const std::function<bool()>& ready) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

class UpdateRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(maj);
        // Where the programs run by a test, with or without root's rights, write what they say.
        fs::create_directories(out);
        fs::permissions(out, fs::perms::all);
        fs::create_directories(prog);
        fs::copy_file(VIDOR_PROGRAM, prog / "Vidor");
        fs::copy_file(RENOVEX_PROGRAM, prog / "Renovex");
        fs::last_write_time(prog / "Vidor", fs::file_time_type::clock::now() - 1h);
        test::writeFile(conf, "[General]\nRépertoireMiseAJour=" + maj.string() + "/\n");
        sandbox.setEnv("QT_QPA_PLATFORM", "offscreen");
        sandbox.setEnv("DISPLAY", std::nullopt);
        sandbox.setEnv("WAYLAND_DISPLAY", std::nullopt);
    }

    // Runs `command` through the shell, killed after a minute; returns its exit status. What
    // it writes on standard error is kept for errors().
    int run(const std::string& command) { return test::runShell(command, out / "errors.txt"); }
    std::string errors() const { return test::readFile(out / "errors.txt"); }

    // The program and its updater, alone in their folder: no temporary file is left.
    void expectNoTemporaryFile() const {
        EXPECT_EQ(std::distance(fs::directory_iterator(prog), {}), 2);
    }

    test::Sandbox sandbox{"C=3:c"};
    const fs::path prog = sandbox / "prog", maj = sandbox / "maj", out = sandbox / "out";
    const fs::path conf = sandbox.configHome() / "Brenlo" / "Brenlo.conf";
};

TEST_F(UpdateRunTest, NewerCopyReplacesTheProgramAndIsStarted) {
    // The new version: a small program that says it ran, and with how many arguments.
    const fs::path marker = out / "started.txt";
    const std::string script = "#!/bin/sh\necho \"$#\" > " + quoted(marker) + "\n";
    test::writeFile(maj / "Vidor", script);

    EXPECT_EQ(run(quoted(prog / "Vidor")), 0) << errors();
    ASSERT_TRUE(within30s([&] { return test::readFile(marker) == "0\n"; })) << errors();
    EXPECT_EQ(test::readFile(prog / "Vidor"), script);
    expectNoTemporaryFile();
    // The old program ended at the update: its start was not even counted.
    EXPECT_EQ(test::readFile(conf).find("Vidor="), std::string::npos);
}

TEST_F(UpdateRunTest, NewProgramKeepsRunningAfterTheUpdate) {
    // The new version is the real program again, under a new file; once in place it is as new
    // as the copy, so it starts normally and shows its window (offscreen).
    fs::copy_file(VIDOR_PROGRAM, maj / "Vidor");
    fs::last_write_time(maj / "Vidor", fs::file_time_type::clock::now() - 30min);
    fs::create_hard_link(prog / "Vidor", sandbox / "old");

    EXPECT_EQ(run(quoted(prog / "Vidor")), 0) << errors();

    // The running copy is the process whose program file is the new one.
    pid_t pid = 0;
    const bool running = within30s([&] {
        std::error_code code;
        for (const auto& entry : fs::directory_iterator("/proc", code)) {
            pid = std::atoi(entry.path().filename().c_str());
            if (pid > 0 && fs::equivalent(entry.path() / "exe", prog / "Vidor", code)) return true;
        }
        pid = 0;
        return false;
    });
    if (pid > 0) ::kill(pid, SIGKILL);
    ASSERT_TRUE(running) << errors();
    EXPECT_FALSE(fs::equivalent(prog / "Vidor", sandbox / "old"));
}

TEST_F(UpdateRunTest, CopyThatCannotBeReadLeavesTheOldProgram) {
    // A copy nobody may read. Root would read it anyway, so the updater runs as the user nobody,
    // in folders that belong to root and that only their owner may write to.
    const std::string old = test::readFile(prog / "Vidor");
    test::writeFile(maj / "Vidor", "new program");
    fs::permissions(maj / "Vidor", fs::perms::none);
    test::openUpTo(prog.string(), sandbox.dir().path().string());
    test::openUpTo(maj.string(), sandbox.dir().path().string());
    const std::string command =
        quoted(prog / "Renovex") + " " + quoted(maj / "Vidor") + " " + quoted(prog / "Vidor");
    EXPECT_EQ(test::asUnprivileged([&] { return run(command); }), 1) << errors();

    EXPECT_NE(errors().find("Renovex : La mise à jour du programme \"" + (prog / "Vidor").string() +
                            "\" a échoué : je ne peux pas lire la nouvelle version \"" +
                            (maj / "Vidor").string() + "\""),
              std::string::npos)
        << errors();
    EXPECT_NE(errors().find("L'ancienne version reste en place."), std::string::npos);
    EXPECT_EQ(test::readFile(prog / "Vidor"), old);
    EXPECT_EQ(fs::status(prog / "Vidor").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);
    expectNoTemporaryFile();
}

}  // namespace
}  // namespace vidor::renovex
