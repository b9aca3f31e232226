#include "renovex/linux/DisplayChoice.h"

#include <gtest/gtest.h>

namespace vidor::renovex {
namespace {

TEST(DisplayChoiceTest, SessionsDisplaysComeFirstAndOffscreenLast) {
    // No display, whatever the platform asked for: standard error only.
    EXPECT_EQ(displayPlatforms(nullptr, nullptr, nullptr), "");
    EXPECT_EQ(displayPlatforms("xcb", "", ""), "");
    EXPECT_EQ(displayPlatforms(nullptr, nullptr, ":0"), "xcb;offscreen");
    EXPECT_EQ(displayPlatforms(nullptr, "wayland-0", ":0"), "wayland;xcb;offscreen");
    // The user's own choice of platform wins, unless it draws nowhere: then no box is shown.
    EXPECT_EQ(displayPlatforms("xcb:nograb", "wayland-0", ":0"), "xcb:nograb;offscreen");
    EXPECT_EQ(displayPlatforms("minimal", "wayland-0", nullptr), "");
    EXPECT_EQ(displayPlatforms("offscreen:fontconfig", nullptr, ":0"), "");
}

}  // namespace
}  // namespace vidor::renovex
