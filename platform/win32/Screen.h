#pragma once

namespace vidor::platform::win32 {

// True when a person can see this program's windows: its desktop is a visible one, outside the
// services' session, and a window can be made on it. A service, or a task run whether the user
// is logged on or not, has an invisible window station or runs in session 0; Wine without an X
// display has a visible station but makes no window at all.
bool screenSeen();

}  // namespace vidor::platform::win32
