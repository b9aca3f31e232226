// The form's keyboard: Tab, Enter and Escape, and the focus kept on a control the user can use,
// as the rules of platform/Keyboard.h say.

#include "platform/controls/Button.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtWindowSystem.h"

namespace vidor::platform::qt {

void QtForm::closeAsked() {
    system_.guard([this] { window_.close(); });
}

bool QtForm::tab(bool backwards) {
    Control* next = nextTabStop(window_, controlOf(top_->focusWidget()), backwards);
    if (!next) return false;
    focus(next);
    return true;
}

void QtForm::activated() {
    keepFocusUsable();
}

void QtForm::pressKey(Key key) {
    const KeyAction action =
        keyAction(window_, key, controlOf(top_->focusWidget()), top_->isModal());
    if (action.press) {
        system_.guard([button = action.press] { button->press(); });
    } else if (action.close) {
        closeAsked();
    }
}

void QtForm::keepFocusUsable() {
    // The window's own focus, whether it is in front or not: it is where keys go once it is.
    Control* now = controlOf(top_->focusWidget());
    if (Control* home = focusHome(window_, now); home && home != now) focus(home);
}

void QtForm::focus(Control* control) {
    if (QWidget* widget = widgetOf(*control)) widget->setFocus(Qt::OtherFocusReason);
}

}  // namespace vidor::platform::qt
