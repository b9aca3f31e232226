#pragma once

#include <vector>

namespace vidor::platform {

class Button;
class Control;
class Window;

// The keyboard's rules, the same whatever draws the window: which controls the focus visits and
// in what order, where it goes when the control it rests on can no longer be used, and what Enter
// and Escape press. A key never acts on a control the user cannot see or use.

// True when the user can reach `control`: it and every control that holds it, up to its window,
// are visible and enabled.
bool usable(const Control& control);

// True for the kinds of control that take the keyboard focus: buttons, check boxes, lists and
// text boxes (never a label, a panel or a frame).
bool takesFocus(const Control& control);

// The controls of `window` that Tab visits: those that take the focus and are usable, in the
// order of their tab indexes.
std::vector<Control*> tabStops(const Window& window);

// Where Tab (or Shift+Tab, `backwards`) moves the focus from `focused`: the next tab stop, going
// round. From nowhere (nullptr), or from a control that is no tab stop now, it goes where the
// focus belongs (focusHome). nullptr when there is no tab stop.
Control* nextTabStop(const Window& window, const Control* focused, bool backwards);

// Where the focus belongs while it rests on `focused` (nullptr: nowhere): there when it is usable;
// otherwise on the default button when it is usable, else on the first tab stop; nullptr when no
// control can take it.
Control* focusHome(const Window& window, const Control* focused);

enum class Key { Enter, Escape };

// What Enter or Escape does.
struct KeyAction {
    Button* press = nullptr;  // the button to press, if any
    bool close = false;       // the window closes
};

// What `key` does on `window` while the focus rests on `focused`. Enter presses the focused
// button, or else the default button; Escape presses the cancel button; a modal window without a
// cancel button closes on Escape. A button that is not usable is never pressed.
KeyAction keyAction(const Window& window, Key key, const Control* focused, bool modal);

}  // namespace vidor::platform
