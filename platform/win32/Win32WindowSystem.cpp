#include "platform/win32/Win32WindowSystem.h"

#include <vector>

#include "platform/Keyboard.h"
#include "platform/controls/Window.h"
#include "platform/win32/InputDialog.h"
#include "platform/win32/MessageBoxes.h"
#include "platform/win32/Win32Form.h"

namespace vidor::platform::win32 {

Win32WindowSystem::Win32WindowSystem(RunMode mode) : GuardedWindowSystem(mode) {
    if (HDC screen = ::GetDC(nullptr)) {
        dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    if (dpi_ <= 0) dpi_ = 96;
    if (mode.screen) Win32Form::registerClasses();
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
        // The dialog keys go round the controls from the focused one: from a control the user
        // cannot use, they would go round for ever.
        const Control* focused = form->focusedControl();
        if (focused && usable(*focused) && ::IsDialogMessageW(form->hwnd(), &message)) return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void Win32WindowSystem::handleEvents() {
    // A yield of the program's work: what drawing costs is weighed against the work.
    showChanges(true);
    MSG message;
    while (!status_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) break;
        dispatch(message);
    }
}

std::int64_t Win32WindowSystem::milliseconds() const {
    return static_cast<std::int64_t>(::GetTickCount64());
}

int Win32WindowSystem::runLoop() {
    MSG message;
    while (!status_ && nextMessage(message)) dispatch(message);
    return status();
}

bool Win32WindowSystem::nextMessage(MSG& message) {
    showChanges();
    return ::GetMessageW(&message, nullptr, 0, 0) > 0;
}

void Win32WindowSystem::showChanges(bool paced) {
    for (auto& [window, form] : forms_) form->showChanges(paced);
}

Answer Win32WindowSystem::showBox(const std::string& text, Buttons buttons, Icon icon,
                                  const std::string& title, std::chrono::milliseconds closeAfter) {
    // The box's loop is the system's: the window behind it shows its last state first.
    showChanges();
    return showMessageBox(owner(), text, buttons, icon, title, closeAfter);
}

std::optional<std::string> Win32WindowSystem::showPrompt(const std::string& prompt,
                                                         const std::string& title,
                                                         const std::string& defaultText) {
    showChanges();
    return askText(owner(), prompt, title, defaultText);
}

void Win32WindowSystem::ring() {
    ::MessageBeep(MB_OK);
}

int Win32WindowSystem::screenWidth() {
    return ::MulDiv(mode().screen ? ::GetSystemMetrics(SM_CXSCREEN) : 1024, 1440, dpi_);
}

int Win32WindowSystem::screenHeight() {
    return ::MulDiv(mode().screen ? ::GetSystemMetrics(SM_CYSCREEN) : 768, 1440, dpi_);
}

Win32Form& Win32WindowSystem::formFor(Window& window) {
    if (Win32Form* form = formOf(window)) return *form;
    HWND above = owner();
    return *(forms_[&window] = std::make_unique<Win32Form>(window, *this, above));
}

void Win32WindowSystem::show(Window& window) {
    if (!mode().screen) {
        window.setVisible(true);
        return;
    }
    Win32Form& form = formFor(window);
    window.setVisible(true);
    form.present();
}

void Win32WindowSystem::runModal(Window& window) {
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
    while (window.visible() && !status_ && nextMessage(message)) dispatch(message);
    for (HWND hwnd : disabled) ::EnableWindow(hwnd, TRUE);
    if (!disabled.empty()) ::SetActiveWindow(disabled.front());
    release(window);
}

Win32Form* Win32WindowSystem::formOf(Window& window) {
    auto it = forms_.find(&window);
    return it == forms_.end() ? nullptr : it->second.get();
}

void Win32WindowSystem::release(Window& window) {
    forms_.erase(&window);
}

void Win32WindowSystem::stopLoops(int status) {
    ::PostQuitMessage(status);
}

}  // namespace vidor::platform::win32
