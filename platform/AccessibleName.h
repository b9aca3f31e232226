#pragma once

#include <string>

namespace vidor::platform {

class Control;

// What a screen reader calls each control, the same whatever draws the window: the words the
// user sees on it or beside it.

// The control whose caption names `control`: the control named as its label (labelledBy), if any;
// else the control itself when it is of a kind that has a caption (a button, a check box, a label,
// a frame, a window); else the nearest frame or window that holds it (a list is named by its
// frame). nullptr for a plain panel, which holds controls and says nothing itself.
const Control* nameSource(const Control& control);

// The name of `control` for a screen reader: the caption of its name source; empty when it has
// none.
std::string accessibleName(const Control& control);

// The caption of `control`; empty for a kind of control without one (a list, a text box, a plain
// panel).
std::string captionOf(const Control& control);

}  // namespace vidor::platform
