#pragma once

#include <gtest/gtest.h>

#include "platform/scripted/ScriptedWindowSystem.h"

namespace vidor::test {

// The program showed `count` message boxes, each of them this one.
inline void expectShown(const platform::ScriptedWindowSystem& windows, std::size_t count,
                        const std::string& text, platform::Buttons buttons, platform::Icon icon,
                        const std::string& title) {
    ASSERT_EQ(windows.messages.size(), count);
    for (const auto& message : windows.messages) {
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.buttons, buttons);
        EXPECT_EQ(message.icon, icon);
        EXPECT_EQ(message.title, title);
    }
}

}  // namespace vidor::test
