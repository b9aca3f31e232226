// Looks at Vidor's windows from outside, as a person would: which controls show, their texts,
// the number and selection of list lines, whether a window takes input. Used by run.sh.
//
//   WindowProbe watch <seconds> <title> [<text>]
//                                         waits for a shown window of that exact title (and a
//                                         shown control of that text in it), then prints its
//                                         client origin on screen and its controls
//   WindowProbe gone <seconds> <title>    waits until no shown window has that title
//   WindowProbe close <title>             asks the window to close, as its close box does

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          length, nullptr, nullptr);
    return utf8;
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 2000,
                          nullptr);
    return buffer;
}

struct Search {
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK matches(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!::IsWindowVisible(hwnd) || textOf(hwnd) != search->text) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A shown window of that text: a top-level one, or a control of `parent`.
HWND findShown(const wchar_t* text, HWND parent = nullptr) {
    Search search{text, nullptr};
    if (parent)
        ::EnumChildWindows(parent, matches, reinterpret_cast<LPARAM>(&search));
    else
        ::EnumWindows(matches, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One line a shown control: class, text, then for a list its line count and selected lines.
BOOL CALLBACK printControl(HWND hwnd, LPARAM) {
    if (!::IsWindowVisible(hwnd)) return TRUE;
    wchar_t kind[64] = {};
    ::GetClassNameW(hwnd, kind, 64);
    std::string line = narrow(kind) + "|" + narrow(textOf(hwnd)) + "|" +
                       (::IsWindowEnabled(hwnd) ? "enabled" : "disabled");
    if (std::wstring(kind) == L"ListBox" || std::wstring(kind) == L"LISTBOX") {
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
    return 0;
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
    std::fprintf(stderr, "usage: see the top of WindowProbe.cpp\n");
    return 2;
}
