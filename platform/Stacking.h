#pragma once

#include <vector>

namespace vidor::platform {

class Control;

// The order in which the controls held by one surface lie on each other, from the bottom up:
// labels, drawn on the surface itself, under every other control; the others by tab index, a
// later one over an earlier one (the small recycle box over "Effacer"). Where two overlap, the
// upper one is drawn and takes the click.
std::vector<Control*> bottomToTop(const std::vector<Control*>& siblings);

}  // namespace vidor::platform
