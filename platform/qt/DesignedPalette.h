#pragma once

#include <QPalette>

namespace vidor::platform::qt {

// The colours the window was designed in, those of a light Windows desktop: black text on light
// grey surfaces and white lists. Every role of every group is set, so that nothing of the
// desktop's theme shows through: a dark theme would otherwise put the labels' black text on a dark
// background.
QPalette designedPalette();

}  // namespace vidor::platform::qt
