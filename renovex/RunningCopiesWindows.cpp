// The Windows form of the wait: the processes of the session are listed, and their program files
// compared with the program's, by full path, as the system compares names (ignoring case).

#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <thread>

#include "platform/windows/Handle.h"
#include "platform/windows/Wide.h"
#include "renovex/RunningCopies.h"

namespace vidor::renovex {

namespace {

using platform::windows::Handle;

std::wstring fullPath(const std::wstring& path) {
    wchar_t full[32768];
    const DWORD length = ::GetFullPathNameW(path.c_str(), 32768, full, nullptr);
    return length == 0 || length >= 32768 ? path : std::wstring(full, length);
}

bool samePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool running(const std::wstring& program) {
    Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (bool more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == ::GetCurrentProcessId()) continue;
        Handle process(
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[32768];
        DWORD size = 32768;
        if (::QueryFullProcessImageNameW(process.get(), 0, image, &size) &&
            samePath(std::wstring(image, size), program)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool waitUntilNotRunning(const std::string& program,
                         std::chrono::steady_clock::time_point deadline) {
    const std::wstring path = fullPath(platform::windows::widen(program));
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    while (running(path)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

}  // namespace vidor::renovex
