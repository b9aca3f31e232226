#pragma once

#include <functional>
#include <memory>

#include "platform/Services.h"
#include "platform/controls/Window.h"

namespace vidor::platform::win32 {

using MainWindowFactory = std::function<std::unique_ptr<Window>(Services&)>;

// Runs the program on Windows: the machine's services, the Win32 window system, the main window
// made by `makeMainWindow`, loaded and then shown until the program ends. Returns the exit status.
int run(const MainWindowFactory& makeMainWindow);

}  // namespace vidor::platform::win32
