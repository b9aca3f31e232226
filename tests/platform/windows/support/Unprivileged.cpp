// Windows has no unprivileged user to switch to inside a test: the tests that need one are
// reported as skipped, with the reason.

#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace vidor::test {

int asUnprivileged(const std::function<int()>&) {
    []() { GTEST_SKIP() << "needs another user: permissions are tested on Linux only"; }();
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

// Without FILE_SHARE_DELETE, nobody may delete, rename or recycle the file while it is open.
std::shared_ptr<void> keepInUse(const std::filesystem::path& file, Use use, bool asNobody) {
    if (use != Use::Reading || asNobody) return nullptr;
    const HANDLE held =
        ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) return nullptr;
    return std::shared_ptr<void>(held, ::CloseHandle);
}

}  // namespace vidor::test
