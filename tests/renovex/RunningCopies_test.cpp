#include "renovex/linux/RunningCopies.h"

#include <sys/stat.h>

#include <chrono>

#include "tests/support/Running.h"
#include "tests/support/TempDir.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using test::Running;

// How long waitUntilNotRunning took to answer `expected` about the file at `program`, given
// `patience`.
milliseconds timeToAnswer(const fs::path& program, milliseconds patience, bool expected) {
    struct stat st {};
    ::stat(program.c_str(), &st);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(waitUntilNotRunning({st.st_dev, st.st_ino}, begin + patience), expected);
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - begin);
}

TEST(RunningCopiesTest, OnlyAProcessRunningThatVeryFileIsWaitedFor) {
    test::TempDir dir;
    for (const char* name : {"Vidor", "Autre"}) fs::copy_file("/bin/sleep", dir / name);
    // Another copy of the same program runs, but not this file.
    const Running other(dir / "Autre");
    EXPECT_LT(timeToAnswer(dir / "Vidor", milliseconds(5000), true), milliseconds(1000));

    Running program(dir / "Vidor");
    // Still running at the deadline: not before the deadline, and not much after it.
    const milliseconds waited = timeToAnswer(dir / "Vidor", milliseconds(300), false);
    EXPECT_GE(waited, milliseconds(300));
    EXPECT_LT(waited, milliseconds(3000));

    program.stop();
    EXPECT_LT(timeToAnswer(dir / "Vidor", milliseconds(5000), true), milliseconds(1000));
}

}  // namespace
}  // namespace vidor::renovex
