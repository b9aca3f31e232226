// Looks at Vidor's windows from outside, as a person would: which controls show, their texts,
// the number and selection of list lines, whether a window takes input. Used by run.sh.
//
//   WindowProbe watch <seconds> <title> [<text>]
//                                         waits for a shown window of that exact title (and a
//                                         shown control of that text in it), then prints its
//                                         client origin on screen, its controls and the one that
//                                         has the keyboard focus
//   WindowProbe gone <seconds> <title>    waits until no shown window has that title
//   WindowProbe close <title>             asks the window to close, as its close box does
//   WindowProbe answers <title>           fails when the window does not answer within 2 s
//   WindowProbe unseen <program>          runs the program on a desktop nobody sees (a window
//                                         station of its own, as a service has) and returns its
//                                         exit status

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

// UTF-16 takes at most three bytes of UTF-8 a unit.
std::string narrow(const std::wstring& text) {
    std::string utf8(3 * text.size(), '\0');
    utf8.resize(::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                      nullptr));
    return utf8;
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 2000,
                          nullptr);
    return buffer;
}

// A shown window of that text: a top-level one, or a control of `parent`.
HWND findShown(const wchar_t* text, HWND parent = nullptr) {
    std::pair<const wchar_t*, HWND> search{text, nullptr};
    const WNDENUMPROC matches = [](HWND hwnd, LPARAM data) -> BOOL {
        auto& [text, found] = *reinterpret_cast<std::pair<const wchar_t*, HWND>*>(data);
        if (!::IsWindowVisible(hwnd) || textOf(hwnd) != text) return TRUE;
        found = hwnd;
        return FALSE;
    };
    if (parent)
        ::EnumChildWindows(parent, matches, reinterpret_cast<LPARAM>(&search));
    else
        ::EnumWindows(matches, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// A control as a line: class, text, enabled or not.
std::string describe(HWND hwnd) {
    wchar_t kind[64] = {};
    ::GetClassNameW(hwnd, kind, 64);
    return narrow(kind) + "|" + narrow(textOf(hwnd)) + "|" +
           (::IsWindowEnabled(hwnd) ? "enabled" : "disabled");
}

// One line a shown control: class, text, then for a list its line count and selected lines.
BOOL CALLBACK printControl(HWND hwnd, LPARAM) {
    if (!::IsWindowVisible(hwnd)) return TRUE;
    std::string line = describe(hwnd);
    if (line.starts_with("ListBox|") || line.starts_with("LISTBOX|")) {
        const auto count = ::SendMessageW(hwnd, LB_GETCOUNT, 0, 0);
        line += "|" + std::to_string(count) + "|";
        for (int row = 0; row < count && row < 64; ++row) {
            if (::SendMessageW(hwnd, LB_GETSEL, row, 0) > 0) line += std::to_string(row) + ",";
        }
    }
    std::printf("%s\n", line.c_str());
    return TRUE;
}

// Asks `done` every few milliseconds for `seconds` at most; its last answer.
template <class Done>
bool within(double seconds, Done done) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (!done() && ::GetTickCount64() <= end) ::Sleep(2);
    return done();
}

int watch(double seconds, const wchar_t* title, const wchar_t* text) {
    HWND hwnd = nullptr;
    if (!within(seconds,
                [&] { return (hwnd = findShown(title)) && (!text || findShown(text, hwnd)); }))
        return 1;
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    RECT client;
    ::GetClientRect(hwnd, &client);
    std::printf("window|%ld %ld|%s|%ld %ld\n", origin.x, origin.y,
                ::IsWindowEnabled(hwnd) ? "enabled" : "disabled", client.right, client.bottom);
    ::EnumChildWindows(hwnd, printControl, 0);
    // Where the keys go, as the window's thread has it: "focus|" and the control, shown or not.
    GUITHREADINFO thread{sizeof thread};
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &thread) &&
        thread.hwndFocus && ::IsChild(hwnd, thread.hwndFocus)) {
        std::printf("focus|%s|%s\n", describe(thread.hwndFocus).c_str(),
                    ::IsWindowVisible(thread.hwndFocus) ? "shown" : "hidden");
    }
    return 0;
}

bool answers(const wchar_t* title) {
    HWND hwnd = findShown(title);
    DWORD_PTR result = 0;
    return hwnd && ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
}

// The child inherits this program's standard handles, so that its messages reach the caller.
int runUnseen(const wchar_t* program) {
    HWINSTA shown = ::GetProcessWindowStation();
    HWINSTA station = ::CreateWindowStationW(L"VidorSansEcran", 0, WINSTA_ALL_ACCESS, nullptr);
    if (!station || !::SetProcessWindowStation(station)) return 125;
    HDESK desktop = ::CreateDesktopW(L"Bureau", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ::SetProcessWindowStation(shown);
    if (!desktop) return 125;
    std::wstring line = L"\"" + std::wstring(program) + L"\"";
    wchar_t where[] = L"VidorSansEcran\\Bureau";
    STARTUPINFOW start{sizeof start};
    start.lpDesktop = where;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    start.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                          &process))
        return 126;
    DWORD status = 124;
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"watch" && (argc == 4 || argc == 5))
        return watch(_wtof(argv[2]), argv[3], argc == 5 ? argv[4] : nullptr);
    if (command == L"gone" && argc == 4)
        return within(_wtof(argv[2]), [&] { return !findShown(argv[3]); }) ? 0 : 1;
    if (command == L"close" && argc == 3) {
        HWND hwnd = findShown(argv[2]);
        return hwnd && ::PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"answers" && argc == 3) return answers(argv[2]) ? 0 : 1;
    if (command == L"unseen" && argc == 3) return runUnseen(argv[2]);
    std::fprintf(stderr, "usage: see the top of WindowProbe.cpp\n");
    return 2;
}
