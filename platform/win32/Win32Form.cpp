#include "platform/win32/Win32Form.h"

#include "platform/Stacking.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/TextBox.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::win32 {

using windows::widen;

bool Win32Form::isFrame(const Control* control) {
    auto* panel = dynamic_cast<const Panel*>(control);
    return panel && panel->kind() == Panel::Kind::Frame;
}

void Win32Form::registerClasses() {
    WNDCLASSEXW surface{};
    surface.cbSize = sizeof surface;
    surface.lpfnWndProc = surfaceProc;
    surface.hInstance = ::GetModuleHandleW(nullptr);
    surface.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    surface.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    surface.hIcon = ::LoadIconW(surface.hInstance, MAKEINTRESOURCEW(1));
    if (!surface.hIcon) surface.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    surface.lpszClassName = kFormClass;
    ::RegisterClassExW(&surface);
    surface.hIcon = nullptr;
    surface.lpszClassName = kPanelClass;
    ::RegisterClassExW(&surface);
}

Win32Form::Win32Form(Window& window, Win32WindowSystem& system, HWND owner)
    : window_(window), system_(system), fonts_(system.dpi()) {
    top_ = ::CreateWindowExW(kFormExStyle, kFormClass, widen(window.caption()).c_str(), kFormStyle,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                             ::GetModuleHandleW(nullptr), this);
    lists_ = std::make_unique<NativeLists>(top_, fonts_, system);
    window.setObserver(this);
    for (Control* child : window.children()) build(*child, top_);
    std::vector<HWND> order;
    stack(window.children(), order);
    for (HWND hwnd : order) {
        ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (Property property :
         {Property::Caption, Property::Geometry, Property::Pointer, Property::Default}) {
        applyWindow(property);
    }
}

Win32Form::~Win32Form() {
    window_.setObserver(nullptr);
    for (auto& [control, hwnd] : hwnds_) {
        const_cast<Control*>(control)->setObserver(nullptr);
        if (::GetWindowLongPtrW(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    lists_.reset();
    if (top_) {
        ::SetWindowLongPtrW(top_, GWLP_USERDATA, 0);
        ::DestroyWindow(top_);
    }
}

HWND Win32Form::hwndOf(const Control& control) const {
    if (&control == &window_) return top_;
    auto it = hwnds_.find(&control);
    return it == hwnds_.end() ? nullptr : it->second;
}

Control* Win32Form::controlOf(HWND hwnd) const {
    auto it = controls_.find(hwnd);
    return it == controls_.end() ? nullptr : it->second;
}

HFONT Win32Form::fontOf(const Control& control) const {
    auto* button = dynamic_cast<const Button*>(&control);
    auto* label = dynamic_cast<const Label*>(&control);
    return (button && button->bold()) || (label && label->bold()) ? fonts_.bold() : fonts_.normal();
}

void Win32Form::build(Control& control, HWND parent) {
    HWND hwnd = create(control, parent);
    hwnds_[&control] = hwnd;
    controls_[hwnd] = &control;
    control.setObserver(this);
    for (Control* child : control.children()) build(*child, isFrame(&control) ? parent : hwnd);
    for (Property property : {Property::Geometry, Property::Enabled, Property::Visible}) {
        applyControl(control, hwnd, property);
    }
    if (auto* list = dynamic_cast<ListBox*>(&control)) {
        lists_->add(hwnd, *list);
        applyControl(control, hwnd, Property::Selection);
    }
}

namespace {

// The native window that draws a control: its class, styles and first text.
struct Native {
    const wchar_t* kind = L"BUTTON";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    std::wstring caption;
};

Native nativeOf(const Control& control, bool frame) {
    Native native;
    if (auto* button = dynamic_cast<const Button*>(&control)) {
        native.style |= BS_PUSHBUTTON | WS_TABSTOP;
        native.caption = widen(button->caption());
    } else if (auto* box = dynamic_cast<const CheckBox*>(&control)) {
        native.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        native.caption = widen(box->caption());
    } else if (auto* label = dynamic_cast<const Label*>(&control)) {
        native.kind = L"STATIC";
        native.style |= SS_LEFT | SS_NOPREFIX;
        native.caption = widen(label->caption());
    } else if (auto* list = dynamic_cast<const ListBox*>(&control)) {
        native.kind = L"LISTBOX";
        native.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_NODATA |
                        WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                        (list->multiple() ? LBS_MULTIPLESEL : 0);
        native.exStyle = WS_EX_CLIENTEDGE;
    } else if (auto* text = dynamic_cast<const TextBox*>(&control)) {
        native.kind = L"EDIT";
        native.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP;
        native.exStyle = WS_EX_CLIENTEDGE;
        native.caption = widen(text->text());
    } else if (frame) {
        native.style |= BS_GROUPBOX;
        native.caption = widen(static_cast<const Panel&>(control).caption());
    } else {
        native.kind = Win32Form::kPanelClass;
        native.exStyle = WS_EX_CONTROLPARENT;
    }
    return native;
}

}  // namespace

HWND Win32Form::create(Control& control, HWND parent) {
    const Native native = nativeOf(control, isFrame(&control));
    const RECT place = pixels(control);
    HWND hwnd =
        ::CreateWindowExW(native.exStyle, native.kind, native.caption.c_str(), native.style,
                          place.left, place.top, place.right - place.left, place.bottom - place.top,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)),
                          ::GetModuleHandleW(nullptr), this);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
    if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        ::SendMessageW(hwnd, BM_SETCHECK, box->value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (auto* button = dynamic_cast<Button*>(&control); button && button->onMouseMove) {
        ::SetWindowSubclass(hwnd, buttonProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    return hwnd;
}

void Win32Form::stack(const std::vector<Control*>& siblings, std::vector<HWND>& order) const {
    // A frame's controls lie beside it on the panel: each follows the frame, above it.
    for (Control* control : bottomToTop(siblings)) {
        order.push_back(hwndOf(*control));
        stack(control->children(), order);
    }
}

void Win32Form::present() {
    showChanges();
    ::ShowWindow(top_, SW_SHOWNORMAL);
    ::SetForegroundWindow(top_);
    ::UpdateWindow(top_);
    keepFocusUsable();
}

LRESULT CALLBACK Win32Form::surfaceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return form->handle(hwnd, message, wParam, lParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Form::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            lists_->drawLine(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MEASUREITEM:
            lists_->measureLine(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return colors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                          ::DefWindowProcW(hwnd, message, wParam, lParam));
        case WM_MOUSEMOVE:
            mouseOverPanel(hwnd);
            break;
        case WM_SETCURSOR:
            if (setCursor()) return TRUE;
            break;
        case WM_NOTIFY:
            if (lists_->answerTip(*reinterpret_cast<NMHDR*>(lParam))) return 0;
            break;
        case WM_ACTIVATE:
            if (hwnd != top_) break;
            // The system's handling first: it puts the focus on the window itself.
            ::DefWindowProcW(hwnd, message, wParam, lParam);
            activated(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_DPICHANGED:
            if (hwnd != top_) break;
            dpiChanged(LOWORD(wParam), *reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_TIMER:
            if (wParam != NativeLists::kDrawTimer) break;
            lists_->timerFired();
            return 0;
        case WM_CLOSE:
            if (closeAsked(hwnd)) return 0;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32Form::buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data) {
    if (message == WM_MOUSEMOVE) {
        auto* form = reinterpret_cast<Win32Form*>(data);
        if (auto* button = dynamic_cast<Button*>(form->controlOf(hwnd));
            button && button->onMouseMove) {
            form->system_.guard([button] { button->onMouseMove(); });
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, buttonProc, id);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vidor::platform::win32
