// The Windows form of the replacement: the system copies the new version (with its date) beside
// the program, and moves it over the program in one step, written through to the disk.

#include <windows.h>

#include <cstdint>
#include <thread>

#include "platform/windows/Handle.h"
#include "platform/windows/Wide.h"
#include "renovex/windows/Steps.h"

namespace vidor::renovex::windows {

namespace {

using platform::windows::Handle;
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

template <typename T>
bool readAt(HANDLE file, std::uint64_t offset, T& value) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ::ReadFile(file, &value, sizeof value, &read, &at) && read == sizeof value;
}

// True when `path` is a program for the processor this one runs on, every section of it within
// the file: a copy cut short or built for another machine would only fail once started.
bool wholeProgram(const std::wstring& path) {
    const auto* self = reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr));
    const auto* own = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        self + reinterpret_cast<const IMAGE_DOS_HEADER*>(self)->e_lfanew);
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const std::uint64_t size = sizeOf(path);
    IMAGE_DOS_HEADER dos{};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    const std::uint64_t at = readAt(file, 0, dos) ? static_cast<std::uint64_t>(dos.e_lfanew) : 0;
    bool whole = dos.e_magic == IMAGE_DOS_SIGNATURE && readAt(file, at, signature) &&
                 signature == IMAGE_NT_SIGNATURE && readAt(file, at + 4, header) &&
                 header.Machine == own->FileHeader.Machine && header.NumberOfSections > 0;
    const std::uint64_t sections = at + 4 + sizeof header + header.SizeOfOptionalHeader;
    for (WORD i = 0; whole && i < header.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section{};
        whole = readAt(file, sections + i * sizeof section, section) &&
                std::uint64_t{section.PointerToRawData} + section.SizeOfRawData <= size;
    }
    ::CloseHandle(file);
    return whole;
}

}  // namespace

bool installCopy(const std::string& newVersion, const std::string& program, Deadline deadline,
                 std::string& error) {
    const std::wstring source = longPath(newVersion);
    const std::wstring target = longPath(program);
    const std::wstring temp =
        target + L".renovex-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    // Held open, sharing neither writes nor deletion, until the end: the new version
    // cannot change meanwhile, and one still being written is not copied at all.
    const Handle held(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held || !::CopyFileW(source.c_str(), temp.c_str(), FALSE)) {
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
    if (!wholeProgram(temp)) {
        error = "la nouvelle version " + quoted(newVersion) +
                " n'est pas un programme complet pour cet ordinateur";
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

}  // namespace vidor::renovex::windows
