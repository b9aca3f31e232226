// The Windows form of the replacement: the system copies the new version (with its date) beside
// the program, and moves it over the program in one step, written through to the disk.

#include <windows.h>

#include <thread>

#include "platform/windows/Wide.h"
#include "renovex/Replace.h"

namespace vidor::renovex {

namespace {

using platform::windows::longPath;
using platform::windows::systemMessage;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string failure(const std::string& what, DWORD code) {
    return what + " (" + systemMessage(code) + ")";
}

std::uint64_t sizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return ~0ull;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// Writes the copy to the disk before it takes the program's place.
bool flushed(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool done = ::FlushFileBuffers(file);
    ::CloseHandle(file);
    return done;
}

}  // namespace

bool replaceProgram(const std::string& newVersion, const std::string& program,
                    std::chrono::steady_clock::time_point deadline, std::string& error) {
    const std::wstring source = longPath(newVersion);
    const std::wstring target = longPath(program);
    const std::wstring temp =
        target + L".renovex-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    if (!::CopyFileW(source.c_str(), temp.c_str(), FALSE)) {
        error = failure("je ne peux pas copier " + quoted(newVersion) + " près du programme",
                        ::GetLastError());
        ::DeleteFileW(temp.c_str());
        return false;
    }
    // Only a whole copy may take the program's place.
    if (sizeOf(temp) != sizeOf(source) || !flushed(temp)) {
        error = failure("la copie de " + quoted(newVersion) + " est incomplète", ::GetLastError());
        ::DeleteFileW(temp.c_str());
        return false;
    }
    for (;;) {
        if (::MoveFileExW(temp.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD code = ::GetLastError();
        // A program that is still ending keeps its file busy for a moment.
        const bool busy = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION;
        if (!busy || std::chrono::steady_clock::now() >= deadline) {
            error = failure("je ne peux pas remplacer " + quoted(program), code);
            ::DeleteFileW(temp.c_str());
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace vidor::renovex
