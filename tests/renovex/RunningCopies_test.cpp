#include "renovex/RunningCopies.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>

#include "tests/support/TempDir.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

class RunningCopiesTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (child_ > 0) stop();
    }

    // Starts `program` for a minute.
    void start(const fs::path& program) {
        std::string path = program.string();
        char seconds[] = "60";
        char* argv[] = {path.data(), seconds, nullptr};
        ASSERT_EQ(::posix_spawn(&child_, path.c_str(), nullptr, nullptr, argv, environ), 0);
    }
    void stop() {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
        child_ = -1;
    }

    // How long waitUntilNotRunning took to answer `expected`, given `patience`.
    milliseconds timeToAnswer(const fs::path& program, milliseconds patience, bool expected) {
        const auto begin = steady_clock::now();
        EXPECT_EQ(waitUntilNotRunning(program.string(), begin + patience), expected);
        return std::chrono::duration_cast<milliseconds>(steady_clock::now() - begin);
    }

    test::TempDir dir;
    pid_t child_ = -1;
};

TEST_F(RunningCopiesTest, ProgramThatRunsIsWaitedForUntilItEnds) {
    const fs::path program = dir / "Vidor";
    fs::copy_file("/bin/sleep", program);
    start(program);

    // Still running at the deadline: not before the deadline, and not much after it.
    const milliseconds waited = timeToAnswer(program, milliseconds(300), false);
    EXPECT_GE(waited, milliseconds(300));
    EXPECT_LT(waited, milliseconds(3000));

    // Another path to the same file is the same program.
    fs::create_symlink(program, dir / "lien");
    timeToAnswer(dir / "lien", milliseconds(100), false);

    stop();
    EXPECT_LT(timeToAnswer(program, milliseconds(5000), true), milliseconds(1000));
}

TEST_F(RunningCopiesTest, ProgramThatNobodyRunsIsNotWaitedFor) {
    // Another copy of the same program runs, but not this file.
    fs::copy_file("/bin/sleep", dir / "Vidor");
    fs::copy_file("/bin/sleep", dir / "Autre");
    start(dir / "Autre");
    EXPECT_LT(timeToAnswer(dir / "Vidor", milliseconds(5000), true), milliseconds(1000));
    // A program file that does not exist is run by nobody.
    EXPECT_LT(timeToAnswer(dir / "absent", milliseconds(5000), true), milliseconds(1000));
}

}  // namespace
}  // namespace vidor::renovex
