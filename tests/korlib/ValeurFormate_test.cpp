#include "korlib/ValeurFormate.h"

#include <gtest/gtest.h>

namespace vidor::korlib {
namespace {

TEST(ValeurFormateTest, GroupsDigitsByThreeWithApostrophes) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1'000"}, {1234567, "1'234'567"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(ValeurFormate(value), text);
}

}  // namespace
}  // namespace vidor::korlib
