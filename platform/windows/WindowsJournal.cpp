#include "platform/windows/WindowsJournal.h"

#include <ctime>

#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

std::wstring localAppData() {
    wchar_t folder[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool reparsePoint(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Makes Brenlo\Vidor under the local application folder, refusing a reparse point on the way;
// the folder, or the empty text with `error` set.
std::wstring folder(std::string& error) {
    std::wstring path = localAppData();
    if (path.empty()) {
        error = "LOCALAPPDATA n'est pas défini";
        return {};
    }
    for (const wchar_t* name : {L"\\Brenlo", L"\\Vidor"}) {
        path += name;
        if (!::CreateDirectoryW(path.c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            error = narrow(path) + " : " + systemMessage(::GetLastError());
            return {};
        }
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (reparsePoint(attributes) || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            error = narrow(path) + " n'est pas un dossier";
            return {};
        }
    }
    return path;
}

bool writeAll(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// True when the file handle is a reparse point (opened as itself, not followed).
bool isReparsePoint(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    return !::GetFileInformationByHandle(file, &information) ||
           reparsePoint(information.dwFileAttributes);
}

}  // namespace

WindowsJournal::~WindowsJournal() {
    if (file_) ::FlushFileBuffers(file_.get());
}

std::string WindowsJournal::path() {
    const std::wstring base = localAppData();
    return base.empty() ? std::string() : narrow(base + L"\\Brenlo\\Vidor\\journal.tsv");
}

std::int64_t WindowsJournal::now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

int WindowsJournal::utcOffset(std::int64_t time) {
    const __time64_t t = time;
    std::tm local{};
    if (_localtime64_s(&local, &t) != 0) return 0;
    return static_cast<int>(_mkgmtime64(&local) - t);
}

bool WindowsJournal::open(std::string& error) {
    const std::wstring dir = folder(error);
    if (dir.empty()) return false;
    Handle file(::CreateFileW((dir + L"\\journal.tsv").c_str(), GENERIC_READ | FILE_APPEND_DATA,
                              FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) {
        error = path() + " : " + systemMessage(::GetLastError());
        return false;
    }
    if (isReparsePoint(file.get())) {
        error = path() + " est un lien";
        return false;
    }
    // A line cut short by a crash is closed, so that the next one starts on its own.
    LARGE_INTEGER size{};
    char last = '\n';
    DWORD read = 0;
    if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(size.QuadPart - 1);
        at.OffsetHigh = static_cast<DWORD>((size.QuadPart - 1) >> 32);
        ::ReadFile(file.get(), &last, 1, &read, &at);
    }
    if (last != '\n' && !writeAll(file.get(), "\n")) {
        error = path() + " : " + systemMessage(::GetLastError());
        return false;
    }
    file_ = std::move(file);
    return true;
}

bool WindowsJournal::append(const std::string& line, std::string& error) {
    if (!file_ && !open(error)) return false;
    if (!writeAll(file_.get(), line)) {
        error = path() + " : " + systemMessage(::GetLastError());
        return false;
    }
    const std::int64_t second = now();
    if (second != lastFlush_) {
        ::FlushFileBuffers(file_.get());
        lastFlush_ = second;
    }
    return true;
}

std::optional<std::string> WindowsJournal::read() {
    const std::string file = path();
    if (file.empty()) return std::nullopt;
    Handle in(::CreateFileW(widen(file).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!in) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return std::string();
        return std::nullopt;
    }
    if (isReparsePoint(in.get())) return std::nullopt;
    std::string contents;
    char buffer[1 << 16];
    DWORD got = 0;
    while (::ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        contents.append(buffer, got);
    }
    return contents;
}

bool WindowsJournal::replace(const std::string& contents) {
    std::string error;
    const std::wstring dir = folder(error);
    if (dir.empty()) return false;
    // The append handle would keep the old file from being replaced.
    file_.reset();
    const std::wstring temporary =
        dir + L"\\journal.tsv." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    Handle out(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    bool done = out && writeAll(out.get(), contents) && ::FlushFileBuffers(out.get());
    out.reset();
    // A reparse point in the file's place is replaced, never followed.
    done = done && ::MoveFileExW(temporary.c_str(), (dir + L"\\journal.tsv").c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!done) ::DeleteFileW(temporary.c_str());
    return done;
}

}  // namespace vidor::platform::windows
