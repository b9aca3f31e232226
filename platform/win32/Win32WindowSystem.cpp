#include "platform/win32/Win32WindowSystem.h"

#include <cstdio>
#include <vector>

#include "platform/controls/Window.h"
#include "platform/win32/InputDialog.h"
#include "platform/win32/Win32Form.h"
#include "platform/windows/Wide.h"

namespace vidor::platform::win32 {

namespace {

// Events are handled at most this often inside the program's loops: often enough for a click on
// "Annuler" to be seen at once, seldom enough not to slow a walk of a million files.
constexpr ULONGLONG kYieldMilliseconds = 15;

// The program writes its line breaks CR LF; a console wants LF alone.
std::string plain(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

UINT iconFlag(Icon icon) {
    switch (icon) {
        case Icon::Exclamation:
            return MB_ICONEXCLAMATION;
        case Icon::Question:
            return MB_ICONQUESTION;
        case Icon::None:
            break;
    }
    return 0;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(bool headless) : headless_(headless) {
    if (HDC screen = ::GetDC(nullptr)) {
        dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    if (dpi_ <= 0) dpi_ = 96;
}

Win32WindowSystem::~Win32WindowSystem() = default;

Win32Form* Win32WindowSystem::formAt(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND root = ::GetAncestor(hwnd, GA_ROOT);
    for (auto& [window, form] : forms_) {
        if (form->hwnd() == root) return form.get();
    }
    return nullptr;
}

HWND Win32WindowSystem::owner() {
    HWND active = ::GetActiveWindow();
    if (formAt(active)) return active;
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        if (::IsWindowVisible(it->second->hwnd())) return it->second->hwnd();
    }
    return nullptr;
}

void Win32WindowSystem::dispatch(MSG& message) {
    if (Win32Form* form = formAt(message.hwnd)) {
        if (form->keyDown(message)) return;
        if (::IsDialogMessageW(form->hwnd(), &message)) return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void Win32WindowSystem::pump() {
    MSG message;
    while (!status_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) break;
        dispatch(message);
    }
}

void Win32WindowSystem::doEvents() {
    const ULONGLONG now = ::GetTickCount64();
    if (!headless_ && now - lastEvents_ >= kYieldMilliseconds) {
        pump();
        lastEvents_ = ::GetTickCount64();
    }
    if (status_) throw ProgramEnd{*status_};
}

int Win32WindowSystem::run() {
    MSG message;
    while (!status_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
    return status();
}

Answer Win32WindowSystem::messageBox(const std::string& text, Buttons buttons, Icon icon,
                                     const std::string& title) {
    const Answer byDefault = buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    if (headless_) {
        std::fprintf(stderr, "%s\n%s\n", title.c_str(), plain(text).c_str());
        return byDefault;
    }
    const UINT flags = (buttons == Buttons::YesNo ? MB_YESNO : MB_OK) | iconFlag(icon);
    const int pressed =
        ::MessageBoxW(owner(), windows::widen(text).c_str(), windows::widen(title).c_str(), flags);
    if (status_) throw ProgramEnd{*status_};
    if (pressed <= 0) return byDefault;  // no desktop to show it on after all
    if (buttons == Buttons::Ok) return Answer::Ok;
    return pressed == IDYES ? Answer::Yes : Answer::No;
}

std::string Win32WindowSystem::inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) {
    if (headless_) {
        std::fprintf(stderr, "%s\n%s\n", title.c_str(), plain(prompt).c_str());
        return {};
    }
    std::string answer = askText(owner(), prompt, title, defaultText).value_or("");
    if (status_) throw ProgramEnd{*status_};
    return answer;
}

void Win32WindowSystem::beep() {
    if (!headless_) ::MessageBeep(MB_OK);
}

int Win32WindowSystem::screenWidth() {
    return ::MulDiv(headless_ ? 1024 : ::GetSystemMetrics(SM_CXSCREEN), 1440, dpi_);
}

int Win32WindowSystem::screenHeight() {
    return ::MulDiv(headless_ ? 768 : ::GetSystemMetrics(SM_CYSCREEN), 1440, dpi_);
}

Win32Form& Win32WindowSystem::formFor(Window& window) {
    if (Win32Form* form = formOf(window)) return *form;
    HWND above = owner();
    return *(forms_[&window] = std::make_unique<Win32Form>(window, *this, above));
}

void Win32WindowSystem::show(Window& window) {
    if (headless_) {
        window.setVisible(true);
        return;
    }
    Win32Form& form = formFor(window);
    window.setVisible(true);
    form.present();
}

void Win32WindowSystem::showModal(Window& window) {
    if (headless_) return;  // nobody could close it
    // The windows behind take no input until this one is hidden.
    std::vector<HWND> disabled;
    for (auto& [shown, form] : forms_) {
        if (shown != &window && ::IsWindowEnabled(form->hwnd())) {
            ::EnableWindow(form->hwnd(), FALSE);
            disabled.push_back(form->hwnd());
        }
    }
    Win32Form& form = formFor(window);
    form.setModal(true);
    window.setVisible(true);
    form.present();
    MSG message;
    while (window.visible() && !status_ && ::GetMessageW(&message, nullptr, 0, 0) > 0)
        dispatch(message);
    for (HWND hwnd : disabled) ::EnableWindow(hwnd, TRUE);
    if (!disabled.empty()) ::SetActiveWindow(disabled.front());
    release(window);
    if (status_) throw ProgramEnd{*status_};
}

Win32Form* Win32WindowSystem::formOf(Window& window) {
    auto it = forms_.find(&window);
    return it == forms_.end() ? nullptr : it->second.get();
}

void Win32WindowSystem::release(Window& window) {
    forms_.erase(&window);
}

void Win32WindowSystem::ending(int status) {
    status_ = status;
    ::PostQuitMessage(status);
}

}  // namespace vidor::platform::win32
