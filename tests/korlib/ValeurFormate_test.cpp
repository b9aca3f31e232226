#include "korlib/ValeurFormate.h"

#include <gtest/gtest.h>

#include <limits>

namespace vidor::korlib {
namespace {

TEST(ValeurFormateTest, GroupsDigitsByThreeWithApostrophesBeyondThirtyTwoBits) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1'000"},
        {1234567, "1'234'567"},
        {-1234, "-1'234"},
        {-999, "-999"},
        {4294967296LL, "4'294'967'296"},
        {std::numeric_limits<std::int64_t>::max(), "9'223'372'036'854'775'807"},
        {std::numeric_limits<std::int64_t>::min(), "-9'223'372'036'854'775'808"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(ValeurFormate(value), text);
}

}  // namespace
}  // namespace vidor::korlib
