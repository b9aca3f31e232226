// The form's handlers of the messages the native controls and the system send it.

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/TextBox.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vidor::platform::win32 {

void Win32Form::command(HWND from, int code) {
    Control* control = controlOf(from);
    if (auto* button = dynamic_cast<Button*>(control)) {
        if (code == BN_CLICKED) system_.guard([button] { button->press(); });
    } else if (auto* box = dynamic_cast<CheckBox*>(control)) {
        if (code != BN_CLICKED || syncing_) return;
        const int value = ::SendMessageW(from, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        system_.guard([box, value] { box->setValue(value); });
    } else if (auto* list = dynamic_cast<ListBox*>(control)) {
        if (syncing_) return;
        if (code == LBN_SELCHANGE) selectionChanged(*list, from);
        if (code == LBN_DBLCLK) system_.guard([list] { list->doubleClick(); });
    }
}

void Win32Form::selectionChanged(ListBox& list, HWND hwnd) {
    system_.guard([&] {
        if (!list.multiple()) {
            const int index = static_cast<int>(::SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
            if (index != list.listIndex()) list.setListIndex(index);
            return;
        }
        for (int row = 0; row < list.count(); ++row) {
            const bool selected = ::SendMessageW(hwnd, LB_GETSEL, row, 0) > 0;
            if (selected != list.selected(row)) list.setSelected(row, selected);
        }
    });
}

LRESULT Win32Form::colors(HWND hwnd, HDC dc, LRESULT byDefault) {
    Control* control = controlOf(hwnd);
    if (auto* label = dynamic_cast<Label*>(control)) {
        const Rgb colour = rgbOf(label->foreColor());
        ::SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    if (dynamic_cast<TextBox*>(control)) {
        // Read-only, yet a text to read: on the background of text.
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    return byDefault;
}

void Win32Form::mouseOverPanel(HWND hwnd) {
    if (auto* panel = dynamic_cast<Panel*>(controlOf(hwnd)); panel && panel->onMouseMove)
        system_.guard([panel] { panel->onMouseMove(); });
}

bool Win32Form::setCursor() {
    if (window_.mousePointer() != kPointerHourglass) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

void Win32Form::dpiChanged(int dpi, const RECT& suggested) {
    // Moved to a monitor of another density: the fonts and every place are made again for it.
    const int oldDpi = fonts_.dpi();
    fonts_.remake(dpi);
    for (auto& [control, hwnd] : hwnds_) {
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(*control)), FALSE);
        applyControl(*const_cast<Control*>(control), hwnd, Property::Geometry);
    }
    lists_->densityChanged(oldDpi);
    ::SetWindowPos(top_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(top_, nullptr, TRUE);
}

bool Win32Form::closeAsked(HWND hwnd) {
    if (hwnd != top_) return false;
    system_.guard([this] { window_.close(); });
    return true;
}

}  // namespace vidor::platform::win32
