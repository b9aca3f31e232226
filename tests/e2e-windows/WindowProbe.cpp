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
    const wchar_t* title;
    HWND found;
};

HWND findShown(const wchar_t* title) {
    Search search{title, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            if (::IsWindowVisible(hwnd) && textOf(hwnd) == search->title) {
                search->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
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

bool showsText(HWND hwnd, const wchar_t* text) {
    Search search{text, nullptr};
    ::EnumChildWindows(
        hwnd,
        [](HWND child, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            if (::IsWindowVisible(child) && textOf(child) == search->title) {
                search->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

int watch(double seconds, const wchar_t* title, const wchar_t* text) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    HWND hwnd = nullptr;
    while (!(hwnd = findShown(title)) || (text && !showsText(hwnd, text))) {
        if (::GetTickCount64() > end) return 1;
        ::Sleep(2);
    }
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    RECT client;
    ::GetClientRect(hwnd, &client);
    std::printf("window|%ld %ld|%s|%ld %ld\n", origin.x, origin.y,
                ::IsWindowEnabled(hwnd) ? "enabled" : "disabled", client.right, client.bottom);
    ::EnumChildWindows(hwnd, printControl, 0);
    return 0;
}

int gone(double seconds, const wchar_t* title) {
    const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (findShown(title)) {
        if (::GetTickCount64() > end) return 1;
        ::Sleep(20);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"watch" && (argc == 4 || argc == 5))
        return watch(_wtof(argv[2]), argv[3], argc == 5 ? argv[4] : nullptr);
    if (command == L"gone" && argc == 4) return gone(_wtof(argv[2]), argv[3]);
    if (command == L"close" && argc == 3) {
        HWND hwnd = findShown(argv[2]);
        return hwnd && ::PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: WindowProbe watch <seconds> <title> [<text>] | gone <seconds> <title> | "
                 "close <title>\n");
    return 2;
}
