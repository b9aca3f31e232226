// The list's last line as Win32 draws it: the owner-drawn line, drawn at the request of its
// parent window.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/LastLine.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vidor::bench {

struct LastLineWatch::Native {
    const platform::ListBox& list;
    HWND hwnd;
    HWND parent;
    WNDPROC base = nullptr;
    int draws = 0;
    Done done;
};

namespace {

LastLineWatch::Native* watched = nullptr;

// After the parent's own drawing of a line: was it the list's last?
LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallWindowProcW(watched->base, hwnd, message, wParam, lParam);
    if (message != WM_DRAWITEM) return result;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.hwndItem != watched->hwnd || !(item.itemAction & ODA_DRAWENTIRE)) return result;
    const auto rows = ::SendMessageW(watched->hwnd, LB_GETCOUNT, 0, 0);
    if (rows <= 0 || static_cast<LRESULT>(item.itemID) != rows - 1) return result;
    ++watched->draws;
    if (rows == watched->list.count()) {
        if (auto finish = std::move(watched->done)) finish(Clock::now());
    }
    return result;
}

void CALLBACK tooLate(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (!watched) return;
    if (auto finish = std::move(watched->done)) finish(std::nullopt);
}

}  // namespace

LastLineWatch::LastLineWatch(platform::GuardedWindowSystem& windows, platform::Window& window,
                             const platform::ListBox& list) {
    auto* win32 = dynamic_cast<platform::win32::Win32WindowSystem*>(&windows);
    platform::win32::Win32Form* form = win32 ? win32->formOf(window) : nullptr;
    HWND hwnd = form ? form->hwndOf(list) : nullptr;
    if (!hwnd) {
        std::fprintf(stderr, "list_bench: the list is not shown by Win32\n");
        std::exit(1);
    }
    native_.reset(new Native{list, hwnd, ::GetParent(hwnd)});
    watched = native_.get();
    native_->base = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(native_->parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(parentProc)));
}

LastLineWatch::~LastLineWatch() {
    if (::IsWindow(native_->parent)) {
        ::SetWindowLongPtrW(native_->parent, GWLP_WNDPROC,
                            reinterpret_cast<LONG_PTR>(native_->base));
    }
    watched = nullptr;
}

int LastLineWatch::draws() const {
    return native_->draws;
}

void LastLineWatch::whenDrawn(Done done, std::chrono::seconds limit) {
    native_->done = std::move(done);
    ::SetTimer(nullptr, 0, static_cast<UINT>(limit.count() * 1000), tooLate);
}

}  // namespace vidor::bench
