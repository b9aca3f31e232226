// The form's mirror: every change of the window's or a control's state shown on its native
// window.

#include <algorithm>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/TextBox.h"
#include "platform/win32/Win32Form.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::win32 {

using windows::widen;

void Win32Form::changed(Control& control, Property property) {
    if (&control == &window_) {
        applyWindow(property);
    } else if (HWND hwnd = hwndOf(control)) {
        applyControl(control, hwnd, property);
    }
    if (property == Property::Visible || property == Property::Enabled ||
        property == Property::Default) {
        keepFocusUsable();
    }
}

void Win32Form::listChanged(ListBox& list, ListChange change, int index) {
    HWND hwnd = hwndOf(list);
    if (!hwnd) return;
    // The native list tells of no selection change the program made itself.
    syncing_ = true;
    lists_->changed(hwnd, change, index);
    syncing_ = false;
}

void Win32Form::applyWindow(Property property) {
    const PixelScale scale(fonts_.dpi());
    switch (property) {
        case Property::Caption:
            ::SetWindowTextW(top_, widen(window_.caption()).c_str());
            break;
        case Property::Geometry: {
            RECT outer{0, 0, scale.pixels(window_.innerWidth()),
                       scale.pixels(window_.innerHeight())};
            ::AdjustWindowRectEx(&outer, kFormStyle, FALSE, kFormExStyle);
            ::SetWindowPos(top_, nullptr, scale.pixels(window_.place().left),
                           scale.pixels(window_.place().top), outer.right - outer.left,
                           outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case Property::Visible:
            ::ShowWindow(top_, window_.visible() ? SW_SHOWNORMAL : SW_HIDE);
            break;
        case Property::Pointer:
            ::SetCursor(::LoadCursorW(
                nullptr, window_.mousePointer() == kPointerHourglass ? IDC_WAIT : IDC_ARROW));
            break;
        case Property::Default:
            for (auto& [control, hwnd] : hwnds_) {
                if (dynamic_cast<const Button*>(control)) {
                    const bool isDefault = control == window_.defaultButton();
                    ::SendMessageW(hwnd, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                                   TRUE);
                }
            }
            break;
        default:
            break;
    }
}

void Win32Form::applyControl(Control& control, HWND hwnd, Property property) {
    switch (property) {
        case Property::Geometry: {
            const RECT place = pixels(control);
            ::MoveWindow(hwnd, place.left, place.top, place.right - place.left,
                         place.bottom - place.top, TRUE);
            break;
        }
        case Property::Visible:
            ::ShowWindow(hwnd, shown(control) ? SW_SHOWNA : SW_HIDE);
            break;
        case Property::Enabled:
            ::EnableWindow(hwnd, control.enabled() ? TRUE : FALSE);
            break;
        case Property::Caption:
            if (auto* button = dynamic_cast<Button*>(&control)) {
                ::SetWindowTextW(hwnd, widen(button->caption()).c_str());
            } else if (dynamic_cast<Label*>(&control) &&
                       std::find(captionsOwed_.begin(), captionsOwed_.end(), hwnd) ==
                           captionsOwed_.end()) {
                captionsOwed_.push_back(hwnd);
            }
            break;
        case Property::Value:
            syncing_ = true;
            ::SendMessageW(
                hwnd, BM_SETCHECK,
                static_cast<CheckBox&>(control).value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
            syncing_ = false;
            break;
        case Property::Text:
            ::SetWindowTextW(hwnd, widen(static_cast<TextBox&>(control).text()).c_str());
            break;
        case Property::ForeColor:
            ::InvalidateRect(hwnd, nullptr, TRUE);
            break;
        case Property::Selection:
            syncSelection(static_cast<ListBox&>(control), hwnd);
            break;
        case Property::TopIndex:
            lists_->topMoved(hwnd);
            break;
        default:
            break;
    }
    // A frame's controls are not its children on screen: they follow it by hand.
    if (isFrame(&control) && (property == Property::Geometry || property == Property::Visible)) {
        for (Control* child : control.children()) {
            if (HWND held = hwndOf(*child)) applyControl(*child, held, property);
        }
    }
}

void Win32Form::showChanges(bool paced) {
    for (HWND hwnd : captionsOwed_) {
        if (auto* label = dynamic_cast<Label*>(controlOf(hwnd)))
            ::SetWindowTextW(hwnd, widen(label->caption()).c_str());
    }
    captionsOwed_.clear();
    lists_->bringUpToDate(paced);
}

void Win32Form::syncSelection(ListBox& list, HWND hwnd) {
    // The lines appended since the loop last turned are counted first: a selected one must exist.
    lists_->catchUp(hwnd);
    syncing_ = true;
    if (list.multiple()) {
        for (int row = 0; row < list.count(); ++row)
            ::SendMessageW(hwnd, LB_SETSEL, list.selected(row) ? TRUE : FALSE, row);
    } else {
        ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.listIndex()), 0);
    }
    syncing_ = false;
}

RECT Win32Form::pixels(const Control& control) const {
    // A frame's controls are drawn beside it, on the surface that holds the frame: a group box
    // passes no notification on.
    Twips place = control.place();
    for (const Control* up = control.parent(); isFrame(up); up = up->parent()) {
        place.left += up->place().left;
        place.top += up->place().top;
    }
    const PixelRect at = PixelScale(fonts_.dpi()).rect(place);
    return {at.left, at.top, at.left + at.width, at.top + at.height};
}

bool Win32Form::shown(const Control& control) const {
    for (const Control* up = control.parent(); isFrame(up); up = up->parent()) {
        if (!up->visible()) return false;
    }
    return control.visible();
}

}  // namespace vidor::platform::win32
