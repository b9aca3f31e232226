#pragma once

#include <string>

#include "platform/Process.h"
#include "platform/WindowSystem.h"
#include "platform/controls/Window.h"

namespace vidor::korlib {

// Places `window` in the middle of the screen (a window larger than the screen goes left or up).
void FenetreCentre(platform::WindowSystem& windows, platform::Window& window);

// The program's name and version in parentheses, such as "(Vidor v6.0.24)".
std::string TitreVersion(platform::Process& process);

}  // namespace vidor::korlib
