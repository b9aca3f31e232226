#pragma once

#include <functional>
#include <memory>

#include "platform/Services.h"
#include "platform/controls/Window.h"

namespace vidor::platform::qt {

using MainWindowFactory = std::function<std::unique_ptr<Window>(Services&)>;

// Runs the program: the machine's services, the Qt window system, the main window made by
// `makeMainWindow`, loaded and then shown until the program ends. Returns the exit status.
int run(int argc, char** argv, const MainWindowFactory& makeMainWindow);

}  // namespace vidor::platform::qt
