// The Win32 binding's hands and eyes for the scenarios of WindowBinding_test.cpp: keys through the
// system's input (SendInput), clicks as the mouse's messages to the control, each handled by the
// program's own message loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/platform/WindowDriver.h"

namespace vidor::test {
namespace {

using platform::win32::Win32Form;

// The test's actions waiting for a turn of an event loop, by timer.
std::map<UINT_PTR, std::function<void()>> waiting;

void CALLBACK runWaiting(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    auto action = waiting.extract(timer);
    if (action) action.mapped()();
}

// The window system, with its turn of the event loop at hand.
class TestWindows : public platform::win32::Win32WindowSystem {
  public:
    using Win32WindowSystem::handleEvents;
    using Win32WindowSystem::Win32WindowSystem;
};

class Win32Driver : public WindowDriver {
  public:
    explicit Win32Driver(const platform::RunMode& mode) : windows_(mode) {}
    ~Win32Driver() override {
        for (auto& [timer, action] : waiting) ::KillTimer(nullptr, timer);
        waiting.clear();
        // A program that ended asked the loops to stop; the next test's loops must not.
        MSG quit;
        while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    platform::GuardedWindowSystem& windows() override { return windows_; }
    double dotsPerInch() override { return windows_.dpi(); }

    platform::PixelRect placeOf(platform::Window& window,
                                const platform::Control& control) override {
        Win32Form& form = formOf(window);
        RECT place;
        if (&control == &window) {
            ::GetClientRect(form.hwnd(), &place);
        } else {
            ::GetWindowRect(form.hwndOf(control), &place);
            ::MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&place), 2);
        }
        return {place.left, place.top, place.right - place.left, place.bottom - place.top};
    }

    const platform::Control* controlAt(platform::Window& window, int x, int y) override {
        Win32Form& form = formOf(window);
        HWND hwnd = form.hwnd();
        POINT at{x, y};
        // Down to the innermost shown window there, the upper one at each level.
        for (;;) {
            HWND child = ::ChildWindowFromPointEx(hwnd, at, CWP_SKIPINVISIBLE);
            if (!child || child == hwnd) break;
            ::MapWindowPoints(hwnd, child, &at, 1);
            hwnd = child;
        }
        return form.controlOf(hwnd);
    }

    const platform::Control* focused(platform::Window& window) override {
        return formOf(window).focusedControl();
    }

    void press(UserKey key) override {
        // In the order of UserKey; Shift is added for BackTab.
        constexpr WORD kCodes[] = {VK_RETURN, VK_ESCAPE, VK_TAB, VK_TAB,
                                   VK_SPACE,  'A',       VK_UP,  VK_DOWN};
        const WORD code = kCodes[static_cast<int>(key)];
        std::vector<INPUT> inputs;
        auto add = [&inputs](WORD vk, bool up) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(input);
        };
        if (key == UserKey::BackTab) add(VK_SHIFT, false);
        add(code, false);
        add(code, true);
        if (key == UserKey::BackTab) add(VK_SHIFT, true);
        ASSERT_EQ(::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
                  inputs.size());
        settle();
    }

    platform::Window* inFront() override {
        Win32Form* form = windows_.formAt(::GetActiveWindow());
        return form ? &form->window() : nullptr;
    }

    void click(platform::Window& window, const platform::Control& control) override {
        HWND hwnd = formOf(window).hwndOf(control);
        RECT inside;
        ::GetClientRect(hwnd, &inside);
        clickAt(hwnd, {inside.right / 2, inside.bottom / 2});
    }

    void clickLine(platform::Window& window, const platform::ListBox& list, int line) override {
        HWND hwnd = formOf(window).hwndOf(list);
        ::SendMessageW(hwnd, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);
        RECT place;
        ::SendMessageW(hwnd, LB_GETITEMRECT, static_cast<WPARAM>(line),
                       reinterpret_cast<LPARAM>(&place));
        clickAt(hwnd, {place.left + 5, (place.top + place.bottom) / 2});
    }

    void soon(std::function<void()> action) override {
        waiting[::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, runWaiting)] = std::move(action);
    }

    void settle() override {
        // Input arrives through the Wine server: the loop turns until nothing is left, or the
        // program has ended.
        for (int quiet = 0, turns = 0; quiet < 3 && turns < 1000 && !windows_.ended(); ++turns) {
            windows_.handleEvents();
            quiet = ::GetQueueStatus(QS_ALLINPUT & ~QS_TIMER) ? 0 : quiet + 1;
            ::Sleep(5);
        }
        // Then the program waits for the user: its loop first shows the window's last state.
        if (Win32Form* front = windows_.formAt(::GetActiveWindow()); front && !windows_.ended())
            front->showChanges();
    }

  private:
    Win32Form& formOf(platform::Window& window) {
        Win32Form* form = windows_.formOf(window);
        if (!form) throw std::logic_error("the window " + window.name() + " is not shown");
        return *form;
    }

    void clickAt(HWND hwnd, POINT at) {
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        settle();
    }

    TestWindows windows_;
};

}  // namespace

std::unique_ptr<WindowDriver> makeDriver(const platform::RunMode& mode) {
    return std::make_unique<Win32Driver>(mode);
}

}  // namespace vidor::test
