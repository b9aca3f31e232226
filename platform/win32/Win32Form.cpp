#include "platform/win32/Win32Form.h"

#include <algorithm>

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

namespace {

constexpr wchar_t kFormClass[] = L"VidorForm";
constexpr wchar_t kPanelClass[] = L"VidorPanel";
// Posted when a list stopped drawing itself: it draws again once the loop turns.
constexpr UINT kFlushLists = WM_APP + 1;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
// Room left of a list's line, in pixels.
constexpr int kLineMargin = 2;
// The window procedure of every native list, which the form's lists call after their own.
WNDPROC listBase = nullptr;

LRESULT CALLBACK surfaceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return form->handle(hwnd, message, wParam, lParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
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

HFONT makeFont(int dpi, bool bold) {
    // The size and face the window's layout was drawn for.
    return ::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

bool isFrame(const Control* control) {
    auto* panel = dynamic_cast<const Panel*>(control);
    return panel && panel->kind() == Panel::Kind::Frame;
}

bool isPlainPanel(const Control* control) {
    auto* panel = dynamic_cast<const Panel*>(control);
    return panel && panel->kind() == Panel::Kind::Plain;
}

// A line as displayed: control characters become replacement characters.
std::wstring displayed(const std::string& line) {
    std::wstring shown = widen(line);
    for (wchar_t& c : shown) {
        if (c < 0x20 || c == 0x7F) c = 0xFFFD;
    }
    return shown;
}

}  // namespace

Win32Form::Win32Form(Window& window, Win32WindowSystem& system, HWND owner)
    : window_(window), system_(system) {
    registerClasses();
    dpi_ = system.dpi();
    makeFonts();
    top_ = ::CreateWindowExW(kFormExStyle, kFormClass, widen(window.caption()).c_str(), kFormStyle,
                             CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                             ::GetModuleHandleW(nullptr), this);
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
        if (isPlainPanel(control) || dynamic_cast<const ListBox*>(control))
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    // The tip first, while the lists it watches still exist.
    if (tip_) ::DestroyWindow(tip_);
    if (top_) {
        ::SetWindowLongPtrW(top_, GWLP_USERDATA, 0);
        ::DestroyWindow(top_);
    }
    ::DeleteObject(font_);
    ::DeleteObject(bold_);
    if (tipFont_) ::DeleteObject(tipFont_);
}

void Win32Form::makeFonts() {
    font_ = makeFont(dpi_, false);
    bold_ = makeFont(dpi_, true);
    if (HDC screen = ::GetDC(nullptr)) {
        HGDIOBJ previous = ::SelectObject(screen, font_);
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(screen, &metrics)) lineHeight_ = metrics.tmHeight;
        ::SelectObject(screen, previous);
        ::ReleaseDC(nullptr, screen);
    }
}

HFONT Win32Form::fontOf(const Control& control) const {
    auto* button = dynamic_cast<const Button*>(&control);
    auto* label = dynamic_cast<const Label*>(&control);
    return (button && button->bold()) || (label && label->bold()) ? bold_ : font_;
}

void Win32Form::dpiChanged(int dpi, const RECT& suggested) {
    // Moved to a monitor of another density: the fonts and every place are made again for it.
    const HFONT oldFont = font_;
    const HFONT oldBold = bold_;
    const int oldDpi = dpi_;
    dpi_ = dpi;
    makeFonts();
    for (auto& [control, hwnd] : hwnds_) {
        ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(*control)), FALSE);
        if (auto* list = dynamic_cast<const ListBox*>(control)) {
            ::SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, lineHeight_);
            fitWidth(hwnd, *list);
        }
        applyControl(*const_cast<Control*>(control), hwnd, Property::Geometry);
    }
    ::DeleteObject(oldFont);
    ::DeleteObject(oldBold);
    if (tip_) scaleTipFont(oldDpi);
    ::SetWindowPos(top_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(top_, nullptr, TRUE);
}

void Win32Form::scaleTipFont(int oldDpi) {
    // The tip keeps the face the system gave it, at the new density.
    LOGFONTW face{};
    const auto current = reinterpret_cast<HFONT>(::SendMessageW(tip_, WM_GETFONT, 0, 0));
    if (!current || !::GetObjectW(current, sizeof face, &face)) return;
    face.lfHeight = ::MulDiv(face.lfHeight, dpi_, oldDpi);
    HFONT scaled = ::CreateFontIndirectW(&face);
    ::SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
    // Deleted only once the tip uses the new one.
    if (tipFont_) ::DeleteObject(tipFont_);
    tipFont_ = scaled;
}

void Win32Form::addTip(HWND list) {
    if (!tip_) {
        tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top_, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
        // A drive's folder or a file's path can be long: shown whole on one line up to the
        // screen's width.
        ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, ::GetSystemMetrics(SM_CXSCREEN));
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(list);
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tipLine_[list] = -1;
    // Not SetWindowSubclass, nor the tip's TTF_SUBCLASS: under Wine each message to a window
    // subclassed that way costs a call to the Wine server, 50 microseconds, and a census
    // sends one per line found.
    ::SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto base = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc)));
    if (!listBase) listBase = base;
}

void Win32Form::pointerOverList(HWND list, LPARAM where) {
    const LRESULT found = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, where);
    const int line = HIWORD(found) ? -1 : static_cast<int>(LOWORD(found));
    int& current = tipLine_[list];
    if (line == current) return;
    // The tip asks for its text again once the pointer rests on the new line.
    current = line;
    if (tip_) ::SendMessageW(tip_, TTM_POP, 0, 0);
}

void Win32Form::tipText(NMTTDISPINFOW& info) {
    HWND list = reinterpret_cast<HWND>(info.hdr.idFrom);
    auto* control = dynamic_cast<ListBox*>(controlAt(list));
    const auto line = tipLine_.find(list);
    tipShown_.clear();
    if (control && line != tipLine_.end() && line->second >= 0 && line->second < control->count()) {
        const int at = line->second;
        if (control->toolTip) {
            system_.guard([&] { tipShown_ = widen(control->toolTip(at)); });
        } else if (std::wstring whole = displayed(control->item(at)); cut(list, whole)) {
            // A list without tips of its own shows a line cut by its edge whole.
            tipShown_ = std::move(whole);
        }
    }
    // An empty text shows no tip at all.
    info.szText[0] = L'\0';
    info.hinst = nullptr;
    info.lpszText = tipShown_.data();
}

bool Win32Form::cut(HWND list, const std::wstring& line) {
    RECT visible{};
    ::GetClientRect(list, &visible);
    return kLineMargin + widestLine(list, {line}) > visible.right;
}

int Win32Form::widestLine(HWND list, const std::vector<std::wstring>& lines) {
    HDC dc = ::GetDC(list);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::wstring& line : lines) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, size.cx);
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(list, dc);
    return widest;
}

void Win32Form::fitWidth(HWND list, const std::vector<std::wstring>& lines) {
    // A list scrolls sideways as far as its widest line, at any time, as during a census.
    int& extent = extents_[list];
    const int widest = widestLine(list, lines);
    const int width = widest > 0 ? 2 * kLineMargin + widest : 0;
    if (width <= extent) return;
    extent = width;
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

void Win32Form::fitWidth(HWND list, const ListBox& control) {
    extents_[list] = 0;
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, 0, 0);
    std::vector<std::wstring> lines;
    lines.reserve(static_cast<std::size_t>(control.count()));
    for (int line = 0; line < control.count(); ++line)
        lines.push_back(displayed(control.item(line)));
    fitWidth(list, lines);
}

HWND Win32Form::hwndOf(const Control& control) const {
    if (&control == &window_) return top_;
    auto it = hwnds_.find(&control);
    return it == hwnds_.end() ? nullptr : it->second;
}

Control* Win32Form::controlAt(HWND hwnd) const {
    auto it = controls_.find(hwnd);
    return it == controls_.end() ? nullptr : it->second;
}

RECT Win32Form::pixels(const Control& control) const {
    // A frame's controls are drawn beside it, on the surface that holds the frame: a group box
    // passes no notification on.
    Twips place = control.place();
    for (const Control* up = control.parent(); isFrame(up); up = up->parent()) {
        place.left += up->place().left;
        place.top += up->place().top;
    }
    const int dpi = dpi_;
    const int left = ::MulDiv(place.left, dpi, 1440);
    const int top = ::MulDiv(place.top, dpi, 1440);
    return {left, top, left + ::MulDiv(place.width, dpi, 1440),
            top + ::MulDiv(place.height, dpi, 1440)};
}

bool Win32Form::shown(const Control& control) const {
    for (const Control* up = control.parent(); isFrame(up); up = up->parent()) {
        if (!up->visible()) return false;
    }
    return control.visible();
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
    if (dynamic_cast<ListBox*>(&control)) applyControl(control, hwnd, Property::Selection);
}

HWND Win32Form::create(Control& control, HWND parent) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* kind = L"BUTTON";
    std::wstring caption;
    if (auto* button = dynamic_cast<Button*>(&control)) {
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        caption = widen(button->caption());
    } else if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        caption = widen(box->caption());
    } else if (auto* label = dynamic_cast<Label*>(&control)) {
        kind = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX;
        caption = widen(label->caption());
    } else if (auto* list = dynamic_cast<ListBox*>(&control)) {
        // The lines stay in the ListBox: the native list only counts them and asks for the ones
        // it draws, so a hundred thousand lines cost no copy.
        kind = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_NODATA | WS_VSCROLL |
                 WS_HSCROLL | WS_TABSTOP | (list->multiple() ? LBS_MULTIPLESEL : 0);
        exStyle = WS_EX_CLIENTEDGE;
    } else if (dynamic_cast<TextBox*>(&control)) {
        kind = L"EDIT";
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP;
        exStyle = WS_EX_CLIENTEDGE;
    } else if (isFrame(&control)) {
        style |= BS_GROUPBOX;
        caption = widen(static_cast<Panel&>(control).caption());
    } else {
        kind = kPanelClass;
        exStyle = WS_EX_CONTROLPARENT;
    }
    const RECT place = pixels(control);
    HWND hwnd = ::CreateWindowExW(exStyle, kind, caption.c_str(), style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId_++)),
                                  ::GetModuleHandleW(nullptr), this);
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
    if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        ::SendMessageW(hwnd, BM_SETCHECK, box->value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    } else if (auto* list = dynamic_cast<ListBox*>(&control)) {
        ::SendMessageW(hwnd, LB_SETCOUNT, static_cast<WPARAM>(list->count()), 0);
        fitWidth(hwnd, *list);
        addTip(hwnd);
    } else if (auto* text = dynamic_cast<TextBox*>(&control)) {
        ::SetWindowTextW(hwnd, widen(text->text()).c_str());
    } else if (auto* button = dynamic_cast<Button*>(&control); button && button->onMouseMove) {
        ::SetWindowSubclass(hwnd, buttonProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    return hwnd;
}

void Win32Form::stack(const std::vector<Control*>& siblings, std::vector<HWND>& order) const {
    // Labels are drawn on the surface that holds them, beneath every control that is a window of
    // its own; among those, a later tab index lies above.
    auto layer = [](Control* control) {
        return std::pair(dynamic_cast<Label*>(control) ? 0 : 1, control->tabIndex());
    };
    std::vector<Control*> sorted(siblings);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&layer](Control* a, Control* b) { return layer(a) < layer(b); });
    for (Control* control : sorted) {
        order.push_back(hwndOf(*control));
        stack(control->children(), order);
    }
}

void Win32Form::present() {
    ::ShowWindow(top_, SW_SHOWNORMAL);
    ::SetForegroundWindow(top_);
    ::UpdateWindow(top_);
    MSG tab{top_, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    if (!::GetFocus() || !controlAt(::GetFocus())) keyDown(tab);
}

LRESULT Win32Form::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam) {
                command(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
            } else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                pressKey(LOWORD(wParam) == IDCANCEL);
            }
            return 0;
        case WM_DRAWITEM:
            drawLine(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
                static_cast<UINT>(lineHeight_);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return colors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                          ::DefWindowProcW(hwnd, message, wParam, lParam));
        case WM_MOUSEMOVE:
            if (auto* panel = dynamic_cast<Panel*>(controlAt(hwnd)); panel && panel->onMouseMove)
                system_.guard([panel] { panel->onMouseMove(); });
            break;
        case WM_SETCURSOR:
            if (window_.mousePointer() == kPointerHourglass) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_NOTIFY:
            if (auto* from = reinterpret_cast<NMHDR*>(lParam);
                from->hwndFrom == tip_ && from->code == TTN_GETDISPINFOW) {
                tipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
                return 0;
            }
            break;
        case WM_DPICHANGED:
            if (hwnd == top_) {
                dpiChanged(LOWORD(wParam), *reinterpret_cast<RECT*>(lParam));
                return 0;
            }
            break;
        case kFlushLists:
            flushLists();
            return 0;
        case WM_CLOSE:
            if (hwnd == top_) {
                system_.guard([this] { window_.close(); });
                return 0;
            }
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
        if (auto* button = dynamic_cast<Button*>(form->controlAt(hwnd));
            button && button->onMouseMove) {
            form->system_.guard([button] { button->onMouseMove(); });
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, buttonProc, id);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Win32Form::listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<Win32Form*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form && message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
        if (message == WM_MOUSEMOVE) form->pointerOverList(hwnd, lParam);
        // The tip learns where the pointer rests from the list's own mouse messages.
        MSG relayed{hwnd, message, wParam, lParam, 0, {}};
        ::SendMessageW(form->tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    return ::CallWindowProcW(listBase, hwnd, message, wParam, lParam);
}

void Win32Form::command(HWND from, int, int code) {
    Control* control = controlAt(from);
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

void Win32Form::syncSelection(ListBox& list, HWND hwnd) {
    syncing_ = true;
    if (list.multiple()) {
        for (int row = 0; row < list.count(); ++row)
            ::SendMessageW(hwnd, LB_SETSEL, list.selected(row) ? TRUE : FALSE, row);
    } else {
        ::SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.listIndex()), 0);
    }
    syncing_ = false;
}

void Win32Form::listChanged(ListBox& list, ListChange change, int index) {
    HWND hwnd = hwndOf(list);
    if (!hwnd) return;
    // Drawing a visible list after each line would cost milliseconds a line: it draws again
    // when the program next lets the events through.
    if (std::find(frozen_.begin(), frozen_.end(), hwnd) == frozen_.end()) {
        ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
        frozen_.push_back(hwnd);
    }
    if (!flushPosted_) flushPosted_ = ::PostMessageW(top_, kFlushLists, 0, 0);
    syncing_ = true;
    switch (change) {
        case ListChange::Inserted:
            ::SendMessageW(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index), 0);
            unmeasured_[hwnd].push_back(displayed(list.item(index)));
            break;
        case ListChange::Removed:
            ::SendMessageW(hwnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
            break;
        case ListChange::Cleared:
            ::SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
            unmeasured_.erase(hwnd);
            extents_[hwnd] = 0;
            ::SendMessageW(hwnd, LB_SETHORIZONTALEXTENT, 0, 0);
            break;
    }
    syncing_ = false;
}

void Win32Form::flushLists() {
    flushPosted_ = false;
    for (HWND hwnd : frozen_) {
        // The lines added since the last turn are measured together, with one device context.
        if (auto lines = unmeasured_.extract(hwnd)) fitWidth(hwnd, lines.mapped());
        ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd, nullptr, TRUE);
    }
    frozen_.clear();
}

void Win32Form::drawLine(const DRAWITEMSTRUCT& item) {
    if (item.itemAction == ODA_FOCUS) {
        ::DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    auto* list = dynamic_cast<ListBox*>(controlAt(item.hwndItem));
    if (!list || static_cast<int>(item.itemID) < 0 ||
        static_cast<int>(item.itemID) >= list->count()) {
        return;
    }
    const bool selected = item.itemState & ODS_SELECTED;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = item.rcItem;
    text.left += kLineMargin;
    const std::wstring line = displayed(list->item(static_cast<int>(item.itemID)));
    ::DrawTextW(item.hDC, line.c_str(), static_cast<int>(line.size()), &text,
                DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT Win32Form::colors(HWND hwnd, HDC dc, LRESULT byDefault) {
    Control* control = controlAt(hwnd);
    if (auto* label = dynamic_cast<Label*>(control)) {
        const int bgr = label->foreColor();
        ::SetTextColor(dc, RGB(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
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

void Win32Form::changed(Control& control, Property property) {
    if (&control == &window_) {
        applyWindow(property);
        return;
    }
    if (HWND hwnd = hwndOf(control)) applyControl(control, hwnd, property);
}

void Win32Form::applyWindow(Property property) {
    const int dpi = dpi_;
    switch (property) {
        case Property::Caption:
            ::SetWindowTextW(top_, widen(window_.caption()).c_str());
            break;
        case Property::Geometry: {
            RECT outer{0, 0, ::MulDiv(window_.innerWidth(), dpi, 1440),
                       ::MulDiv(window_.innerHeight(), dpi, 1440)};
            ::AdjustWindowRectEx(&outer, kFormStyle, FALSE, kFormExStyle);
            ::SetWindowPos(top_, nullptr, ::MulDiv(window_.place().left, dpi, 1440),
                           ::MulDiv(window_.place().top, dpi, 1440), outer.right - outer.left,
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
            } else if (auto* label = dynamic_cast<Label*>(&control)) {
                ::SetWindowTextW(hwnd, widen(label->caption()).c_str());
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
            ::SendMessageW(hwnd, LB_SETTOPINDEX,
                           static_cast<WPARAM>(static_cast<ListBox&>(control).topIndex()), 0);
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

bool Win32Form::keyDown(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam == VK_ESCAPE) {
        pressKey(true);
        return true;
    }
    if (message.wParam != VK_TAB || ::GetKeyState(VK_CONTROL) < 0) return false;
    // Tab follows the tab indexes, whatever the stacking of the controls.
    std::vector<std::pair<int, HWND>> stops;
    for (auto& [control, hwnd] : hwnds_) {
        if ((::GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) && ::IsWindowVisible(hwnd) &&
            ::IsWindowEnabled(hwnd)) {
            stops.emplace_back(control->tabIndex(), hwnd);
        }
    }
    if (stops.empty()) return true;
    std::sort(stops.begin(), stops.end());
    const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
    HWND focus = ::GetFocus();
    auto at =
        std::find_if(stops.begin(), stops.end(), [focus](auto& s) { return s.second == focus; });
    std::size_t next = 0;
    if (at != stops.end()) {
        const std::size_t here = static_cast<std::size_t>(at - stops.begin());
        next = backwards ? (here + stops.size() - 1) % stops.size() : (here + 1) % stops.size();
    }
    ::SetFocus(stops[next].second);
    return true;
}

void Win32Form::pressKey(bool cancel) {
    if (!cancel) {
        // Enter on a button presses that button, as everywhere else.
        if (auto* focused = dynamic_cast<Button*>(controlAt(::GetFocus()))) {
            system_.guard([focused] { focused->press(); });
            return;
        }
    }
    Button* button = cancel ? window_.cancelButton() : window_.defaultButton();
    if (!button) {
        if (cancel && modal_) system_.guard([this] { window_.close(); });
        return;
    }
    HWND hwnd = hwndOf(*button);
    if (hwnd && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd))
        system_.guard([button] { button->press(); });
}

}  // namespace vidor::platform::win32
