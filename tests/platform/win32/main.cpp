// The Win32 binding's tests. A key that makes the window loop for ever would stop the whole run
// with no word: a watchdog ends the test program instead, below the line where GoogleTest named
// the test.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr ULONGLONG kLimitMilliseconds = 60000;

std::atomic<ULONGLONG> testStarted{0};

class Watchdog : public ::testing::EmptyTestEventListener {
  public:
    void OnTestStart(const ::testing::TestInfo&) override { testStarted = ::GetTickCount64(); }
    void OnTestEnd(const ::testing::TestInfo&) override { testStarted = 0; }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    std::thread([] {
        for (;;) {
            ::Sleep(500);
            const ULONGLONG started = testStarted;
            if (started && ::GetTickCount64() - started > kLimitMilliseconds) {
                // On standard output: a test may hold standard error captured.
                std::fputs("\nthis test did not end (the window no longer answers)\n", stdout);
                std::fflush(stdout);
                ::ExitProcess(1);
            }
        }
    }).detach();
    return RUN_ALL_TESTS();
}
