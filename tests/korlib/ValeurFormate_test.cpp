#include "korlib/ValeurFormate.h"

#include <gtest/gtest.h>

#include <limits>

namespace vidor::korlib {
namespace {

TEST(ValeurFormateTest, GroupsDigitsByThreeWithApostrophes) {
    EXPECT_EQ(ValeurFormate(0), "0");
    EXPECT_EQ(ValeurFormate(999), "999");
    EXPECT_EQ(ValeurFormate(1000), "1'000");
    EXPECT_EQ(ValeurFormate(65536), "65'536");
    EXPECT_EQ(ValeurFormate(1234567), "1'234'567");
    EXPECT_EQ(ValeurFormate(2147483647), "2'147'483'647");
    EXPECT_EQ(ValeurFormate(-1234), "-1'234");
    EXPECT_EQ(ValeurFormate(-999), "-999");
}

TEST(ValeurFormateTest, TotalsBeyondThirtyTwoBitsKeepGrouping) {
    EXPECT_EQ(ValeurFormate(4294967296LL), "4'294'967'296");
    EXPECT_EQ(ValeurFormate(std::numeric_limits<std::int64_t>::max()), "9'223'372'036'854'775'807");
    EXPECT_EQ(ValeurFormate(std::numeric_limits<std::int64_t>::min()),
              "-9'223'372'036'854'775'808");
}

}  // namespace
}  // namespace vidor::korlib
