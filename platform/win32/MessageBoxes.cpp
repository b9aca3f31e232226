#include "platform/win32/MessageBoxes.h"

#include "platform/windows/Wide.h"

namespace vidor::platform::win32 {

namespace {

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

BOOL CALLBACK pressDefault(HWND hwnd, LPARAM) {
    wchar_t kind[16] = {};
    ::GetClassNameW(hwnd, kind, 16);
    // The box is the dialog of this thread that shows. Its default answer is Yes where it has
    // one, else OK (Wine's box tells OK for either when asked for its default button).
    if (std::wstring(kind) != L"#32770" || !::IsWindowVisible(hwnd)) return TRUE;
    const int byDefault = ::GetDlgItem(hwnd, IDYES) ? IDYES : IDOK;
    ::PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(byDefault, BN_CLICKED), 0);
    return FALSE;
}

// A thread's timer runs inside the box's own message loop, which MessageBoxW keeps to itself.
void CALLBACK timeIsUp(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    ::EnumThreadWindows(::GetCurrentThreadId(), pressDefault, 0);
}

}  // namespace

Answer showMessageBox(HWND owner, const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title, std::chrono::milliseconds closeAfter) {
    const Answer byDefault = buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    UINT_PTR timer = 0;
    if (closeAfter.count() > 0)
        timer = ::SetTimer(nullptr, 0, static_cast<UINT>(closeAfter.count()), timeIsUp);
    const UINT flags = (buttons == Buttons::YesNo ? MB_YESNO : MB_OK) | iconFlag(icon);
    const int pressed =
        ::MessageBoxW(owner, windows::widen(text).c_str(), windows::widen(title).c_str(), flags);
    if (timer) ::KillTimer(nullptr, timer);
    if (pressed <= 0) return byDefault;  // no desktop to show it on after all
    if (buttons == Buttons::Ok) return Answer::Ok;
    return pressed == IDYES ? Answer::Yes : Answer::No;
}

}  // namespace vidor::platform::win32
