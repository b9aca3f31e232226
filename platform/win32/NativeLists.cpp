#include "platform/win32/NativeLists.h"

#include <algorithm>

#include "platform/GuardedWindowSystem.h"
#include "platform/controls/ListBox.h"
#include "platform/win32/FormFonts.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::win32 {

using windows::widen;

namespace {

// Room left of a list's line, in pixels.
constexpr int kLineMargin = 2;

// A line as displayed: invalid UTF-8 and control characters become replacement characters.
std::wstring displayed(const std::string& line) {
    return widen(displayedLine(line));
}

}  // namespace

NativeLists::NativeLists(HWND form, const FormFonts& fonts, GuardedWindowSystem& system)
    : form_(form), fonts_(fonts), system_(system) {}

NativeLists::~NativeLists() {
    // The lists outlive this object: they get their own window procedure back.
    for (auto& [hwnd, shown] : lists_) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base_));
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    if (timerSet_) ::KillTimer(form_, kDrawTimer);
    // The tip first, while the lists it watches still exist.
    if (tip_) ::DestroyWindow(tip_);
    if (tipFont_) ::DeleteObject(tipFont_);
}

ListBox* NativeLists::listOf(HWND hwnd) const {
    auto it = lists_.find(hwnd);
    return it == lists_.end() ? nullptr : it->second.list;
}

void NativeLists::add(HWND hwnd, ListBox& list) {
    Shown& shown = lists_[hwnd] = Shown{&list};
    shown.count = list.count();
    ::SendMessageW(hwnd, LB_SETCOUNT, static_cast<WPARAM>(shown.count), 0);
    fitWidth(hwnd, shown);
    addTip(hwnd);
}

void NativeLists::addTip(HWND list) {
    if (!tip_) {
        tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr,
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
    if (!base_) base_ = base;
}

LRESULT CALLBACK NativeLists::listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* lists = reinterpret_cast<NativeLists*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!lists) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) {
        if (message == WM_MOUSEMOVE) lists->pointerOver(hwnd, lParam);
        // The tip learns where the pointer rests from the list's own mouse messages.
        MSG relayed{hwnd, message, wParam, lParam, 0, {}};
        ::SendMessageW(lists->tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    const LRESULT result = ::CallWindowProcW(lists->base_, hwnd, message, wParam, lParam);
    // Space toggles the current line of a multiple-selection list, and Wine says nothing of it:
    // the change is told as a click's would be (a second notice, on Windows, finds no change).
    if (message == WM_KEYDOWN && wParam == VK_SPACE &&
        (::GetWindowLongW(hwnd, GWL_STYLE) & LBS_MULTIPLESEL)) {
        ::SendMessageW(::GetParent(hwnd), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(hwnd), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hwnd));
    }
    return result;
}

void NativeLists::pointerOver(HWND list, LPARAM where) {
    const LRESULT found = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, where);
    const int line = HIWORD(found) ? -1 : static_cast<int>(LOWORD(found));
    int& current = tipLine_[list];
    if (line == current) return;
    // The tip asks for its text again once the pointer rests on the new line.
    current = line;
    if (tip_) ::SendMessageW(tip_, TTM_POP, 0, 0);
}

bool NativeLists::answerTip(NMHDR& header) {
    if (header.hwndFrom != tip_ || header.code != TTN_GETDISPINFOW) return false;
    tipText(reinterpret_cast<NMTTDISPINFOW&>(header));
    return true;
}

void NativeLists::tipText(NMTTDISPINFOW& info) {
    HWND hwnd = reinterpret_cast<HWND>(info.hdr.idFrom);
    ListBox* list = listOf(hwnd);
    const auto line = tipLine_.find(hwnd);
    tipShown_.clear();
    if (list && line != tipLine_.end() && line->second >= 0 && line->second < list->count()) {
        const int at = line->second;
        if (list->toolTip) {
            system_.guard([&] { tipShown_ = widen(list->toolTip(at)); });
        } else if (std::wstring whole = displayed(list->item(at)); cut(hwnd, whole)) {
            // A list without tips of its own shows a line cut by its edge whole.
            tipShown_ = std::move(whole);
        }
    }
    // An empty text shows no tip at all.
    info.szText[0] = L'\0';
    info.hinst = nullptr;
    info.lpszText = tipShown_.data();
}

void NativeLists::changed(HWND hwnd, ListChange change, int index) {
    Shown& shown = lists_.at(hwnd);
    // Counted with the others appended, once the loop turns.
    if (change == ListChange::Inserted && index >= shown.count) return;
    freeze(hwnd, shown);
    switch (change) {
        case ListChange::Inserted:
            ::SendMessageW(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index), 0);
            ++shown.count;
            shown.measured = std::min(shown.measured, index);
            break;
        case ListChange::Removed:
            if (index < shown.count) {
                ::SendMessageW(hwnd, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
                --shown.count;
            }
            // Lines taken off still count for the sideways scroll.
            if (index < shown.measured) --shown.measured;
            break;
        case ListChange::Cleared:
            ::SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
            shown.count = shown.measured = shown.extent = 0;
            ::SendMessageW(hwnd, LB_SETHORIZONTALEXTENT, 0, 0);
            break;
    }
}

void NativeLists::topMoved(HWND hwnd) {
    lists_.at(hwnd).topMoved = true;
}

void NativeLists::catchUp(HWND hwnd) {
    catchUp(hwnd, lists_.at(hwnd));
}

void NativeLists::catchUp(HWND hwnd, Shown& shown) {
    if (shown.count == shown.list->count()) return;
    // Counting the lines of a list that is drawn would draw its scroll bar at once.
    freeze(hwnd, shown);
    shown.count = shown.list->count();
    ::SendMessageW(hwnd, LB_SETCOUNT, static_cast<WPARAM>(shown.count), 0);
}

void NativeLists::freeze(HWND hwnd, Shown& shown) {
    if (!shown.frozen) {
        ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
        shown.frozen = true;
    }
}

void NativeLists::bringUpToDate(bool paced) {
    // Under Wine, counting the lines costs as much as drawing them, and measuring them nearly
    // so: the lines appended are counted and measured when the list is drawn, at its pace. A
    // line the program selects is counted at once (catchUp).
    // Only the drawing is timed: measuring a burst of lines is done once, and must not hold
    // back the drawings that follow.
    const auto wait = paced ? pace_.wait() : std::chrono::milliseconds::zero();
    DrawPace::Clock::duration drawing{};
    bool drawn = false;
    bool waiting = false;
    for (auto& [hwnd, shown] : lists_) {
        const bool grown = shown.count != shown.list->count();
        if (!grown && !shown.frozen && !shown.topMoved) continue;
        if (wait.count() > 0) {
            waiting = true;
            continue;
        }
        catchUp(hwnd, shown);
        fitWidth(hwnd, shown);
        const auto start = DrawPace::Clock::now();
        show(hwnd, shown);
        drawing += DrawPace::Clock::now() - start;
        drawn = true;
    }
    if (drawn) {
        const auto end = DrawPace::Clock::now();
        pace_.drawn(end - drawing, end);
    }
    if (waiting && !timerSet_) {
        timerSet_ = ::SetTimer(form_, kDrawTimer, static_cast<UINT>(wait.count()), nullptr) != 0;
        // Without a timer nothing would draw a list that waits while the loop is idle.
        if (!timerSet_) {
            for (auto& [hwnd, shown] : lists_) show(hwnd, shown);
        }
    } else if (!waiting && timerSet_) {
        ::KillTimer(form_, kDrawTimer);
        timerSet_ = false;
    }
}

void NativeLists::timerFired() {
    ::KillTimer(form_, kDrawTimer);
    timerSet_ = false;
    bringUpToDate(true);
}

void NativeLists::show(HWND hwnd, Shown& shown) {
    if (shown.topMoved) {
        ::SendMessageW(hwnd, LB_SETTOPINDEX, static_cast<WPARAM>(shown.list->topIndex()), 0);
        shown.topMoved = false;
    }
    if (shown.frozen) {
        ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd, nullptr, TRUE);
        shown.frozen = false;
    }
    // Drawn now, so that its cost is counted in its pace.
    ::UpdateWindow(hwnd);
}

void NativeLists::measureLine(MEASUREITEMSTRUCT& item) const {
    item.itemHeight = static_cast<UINT>(fonts_.lineHeight());
}

void NativeLists::drawLine(const DRAWITEMSTRUCT& item) {
    if (item.itemAction == ODA_FOCUS) {
        ::DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const ListBox* list = listOf(item.hwndItem);
    const int line = static_cast<int>(item.itemID);
    if (!list || line < 0 || line >= list->count()) return;
    const bool selected = item.itemState & ODS_SELECTED;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = item.rcItem;
    text.left += kLineMargin;
    const std::wstring shown = displayed(list->item(line));
    ::DrawTextW(item.hDC, shown.c_str(), static_cast<int>(shown.size()), &text,
                DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
}

void NativeLists::densityChanged(int oldDpi) {
    for (auto& [hwnd, shown] : lists_) {
        ::SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, fonts_.lineHeight());
        // Every line measured again, in the new font.
        shown.measured = shown.extent = 0;
        ::SendMessageW(hwnd, LB_SETHORIZONTALEXTENT, 0, 0);
        fitWidth(hwnd, shown);
    }
    if (tip_) scaleTipFont(oldDpi);
}

void NativeLists::scaleTipFont(int oldDpi) {
    // The tip keeps the face the system gave it, at the new density.
    LOGFONTW face{};
    const auto current = reinterpret_cast<HFONT>(::SendMessageW(tip_, WM_GETFONT, 0, 0));
    if (!current || !::GetObjectW(current, sizeof face, &face)) return;
    face.lfHeight = ::MulDiv(face.lfHeight, fonts_.dpi(), oldDpi);
    HFONT scaled = ::CreateFontIndirectW(&face);
    ::SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
    // Deleted only once the tip uses the new one.
    if (tipFont_) ::DeleteObject(tipFont_);
    tipFont_ = scaled;
}

bool NativeLists::cut(HWND list, const std::wstring& line) {
    RECT visible{};
    ::GetClientRect(list, &visible);
    HDC dc = ::GetDC(list);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(list, dc);
    return kLineMargin + size.cx > visible.right;
}

int NativeLists::widestLine(HWND hwnd, const ListBox& list, int from, int to) {
    HDC dc = ::GetDC(hwnd);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (int line = from; line < to; ++line) {
        const std::wstring shown = displayed(list.item(line));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        widest = std::max(widest, size.cx);
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(hwnd, dc);
    return widest;
}

void NativeLists::fitWidth(HWND hwnd, Shown& shown) {
    // A list scrolls sideways as far as its widest line, at any time, as during a census.
    const int count = shown.list->count();
    if (shown.measured >= count) return;
    const int widest = widestLine(hwnd, *shown.list, shown.measured, count);
    shown.measured = count;
    const int width = widest > 0 ? 2 * kLineMargin + widest : 0;
    if (width <= shown.extent) return;
    shown.extent = width;
    ::SendMessageW(hwnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

}  // namespace vidor::platform::win32
