#pragma once

#include <string_view>

namespace vidor::platform::linux_ {

// True for the Qt platforms that draw into memory only ("offscreen", "minimal", options after a
// colon allowed): a window or a message box there is seen by nobody.
bool drawsNowhere(std::string_view qtPlatform);

// True when a screen can be reached: a Wayland compositor or an X server accepts a connection.
// Scheduled runs (cron, systemd timers) usually have none.
bool displayReachable();

}  // namespace vidor::platform::linux_
