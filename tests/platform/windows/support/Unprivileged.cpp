// Windows has no unprivileged user to switch to inside a test: the tests that need one are
// reported as skipped, with the reason.

#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

namespace vidor::test {

namespace {

void skip() {
    GTEST_SKIP() << "needs another user: permissions are tested on Linux only";
}

}  // namespace

int asUnprivileged(const std::function<int()>&) {
    skip();
    return 0;
}

int inMountNamespace(const std::function<int()>&) {
    skip();
    return 0;
}

void openUpTo(const std::string&, const std::string&) {}

bool otherUsers() {
    return false;
}

// Windows rights are lists of users, not owner and mode bits.
bool giveAway(const std::string&) {
    return false;
}

std::string ownerAndRights(const std::string&) {
    return "";
}

}  // namespace vidor::test
