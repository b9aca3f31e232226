#pragma once

namespace vidor::platform::linux_ {

// True when a screen can be reached: a Wayland socket, a local X server's socket, or a remote X
// display (taken as reachable). Scheduled runs (cron, systemd timers) usually have none.
bool displayReachable();

}  // namespace vidor::platform::linux_
