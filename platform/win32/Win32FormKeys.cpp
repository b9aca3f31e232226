// The form's keyboard: Tab, Enter and Escape, and the focus kept on a control the user can use,
// as the rules of platform/Keyboard.h say.

#include "platform/controls/Button.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vidor::platform::win32 {

Control* Win32Form::focusedControl() const {
    return ::GetActiveWindow() == top_ ? controlOf(::GetFocus()) : focusBehind_;
}

bool Win32Form::keyDown(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    switch (message.wParam) {
        case VK_RETURN:
            pressKey(Key::Enter);
            return true;
        case VK_ESCAPE:
            pressKey(Key::Escape);
            return true;
        case VK_TAB:
            if (::GetKeyState(VK_CONTROL) < 0) return false;
            // Tab follows the tab indexes, whatever the stacking of the controls.
            tab(::GetKeyState(VK_SHIFT) < 0);
            return true;
        default:
            return false;
    }
}

void Win32Form::pressKey(Key key) {
    const KeyAction action = keyAction(window_, key, focusedControl(), modal_);
    if (action.press) {
        system_.guard([button = action.press] { button->press(); });
    } else if (action.close) {
        system_.guard([this] { window_.close(); });
    }
}

void Win32Form::tab(bool backwards) {
    if (Control* next = nextTabStop(window_, focusedControl(), backwards)) focus(next);
}

void Win32Form::activated(bool active) {
    // The system keeps no focus for a window behind another: the form keeps it, and gives it
    // back where it belongs when it comes to the front again (after the help window, say).
    if (!active) {
        focusBehind_ = controlOf(::GetFocus());
    } else if (Control* home = focusHome(window_, focusBehind_)) {
        focus(home);
    }
}

void Win32Form::keepFocusUsable() {
    // Behind another window, the focus is given back on coming to the front.
    if (::GetActiveWindow() != top_) return;
    Control* now = controlOf(::GetFocus());
    if (Control* home = focusHome(window_, now); home && home != now) focus(home);
}

void Win32Form::focus(Control* control) {
    if (HWND hwnd = hwndOf(*control)) ::SetFocus(hwnd);
}

}  // namespace vidor::platform::win32
