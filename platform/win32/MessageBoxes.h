#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "platform/WindowSystem.h"

namespace vidor::platform::win32 {

// The system's message box, owned by `owner`; returns the button pressed. With a `closeAfter`
// above zero, the box presses its default button itself once that time has passed. A box that
// cannot be shown at all gives the default answer.
Answer showMessageBox(HWND owner, const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title, std::chrono::milliseconds closeAfter);

}  // namespace vidor::platform::win32
