#pragma once

#include <string>

namespace vidor::renovex {

// The Qt platforms to try, in order, to show the user a message box, from the values of
// QT_QPA_PLATFORM, WAYLAND_DISPLAY and DISPLAY (null or empty when not set). The list ends with
// "offscreen", which always opens: getting it means no display could be. Empty when there is no
// display at all, or when the platform asked for draws where nobody sees it (a box shown there
// would wait for an answer forever).
std::string displayPlatforms(const char* qpaPlatform, const char* waylandDisplay,
                             const char* display);

}  // namespace vidor::renovex
