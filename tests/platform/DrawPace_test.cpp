#include "platform/DrawPace.h"

#include <gtest/gtest.h>

namespace vidor::platform {
namespace {

using namespace std::chrono_literals;

TEST(DrawPaceTest, AQuickDrawingNeverWaitsAndASlowOneWaitsFortyTimesItsCostFromItsEnd) {
    DrawPace pace;
    const DrawPace::Clock::time_point start{10s};
    EXPECT_EQ(pace.wait(start), 0ms) << "the first drawing";
    pace.drawn(start, start + 3ms);
    EXPECT_EQ(pace.wait(start + 3ms), 0ms);

    // 17 ms, as a list under Wine: the next waits 680 ms from the end of this one.
    pace.drawn(start, start + 17ms);
    EXPECT_EQ(pace.wait(start + 17ms), 680ms);
    EXPECT_EQ(pace.wait(start + 100ms), 597ms);
    EXPECT_EQ(pace.wait(start + 99ms + 500us), 598ms) << "rounded up, never early";
    EXPECT_EQ(pace.wait(start + 697ms), 0ms);
    EXPECT_EQ(pace.wait(start + 2s), 0ms);
}

}  // namespace
}  // namespace vidor::platform
