#include "platform/windows/WindowsProcess.h"

#include <windows.h>
// after windows.h, which it needs
#include <winver.h>

#include <cstdio>
#include <vector>

#include "platform/windows/Wide.h"

namespace vidor::platform::windows {

namespace {

std::string modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return "Vidor.exe";
        if (length < path.size()) {
            path.resize(length);
            return narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

WindowsProcess::WindowsProcess()
    : programPath_(modulePath()), rawCommandLine_(narrow(::GetCommandLineW())) {}

std::string afterProgramName(const std::string& rawCommandLine) {
    std::size_t at = 0;
    if (rawCommandLine.starts_with('"')) {
        const std::size_t close = rawCommandLine.find('"', 1);
        at = close == std::string::npos ? rawCommandLine.size() : close + 1;
    } else {
        at = rawCommandLine.find_first_of(" \t");
        if (at == std::string::npos) at = rawCommandLine.size();
    }
    while (at < rawCommandLine.size() && (rawCommandLine[at] == ' ' || rawCommandLine[at] == '\t'))
        ++at;
    return rawCommandLine.substr(at);
}

std::wstring quoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote, where each must be doubled.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

bool WindowsProcess::previousInstance() {
    if (mutex_) return false;
    // "Local\": one copy per user session, whatever other users run.
    const std::wstring name = L"Local\\Brenlo." + widen(instanceScope_ + exeName());
    Handle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!mutex || existed) return mutex ? true : false;
    mutex_ = std::move(mutex);
    return false;
}

std::string WindowsProcess::commandLine() {
    return afterProgramName(rawCommandLine_);
}

std::string WindowsProcess::exeName() {
    std::string name = programPath_.substr(programPath_.find_last_of("\\/") + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string WindowsProcess::exeFolder() {
    const std::size_t slash = programPath_.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : programPath_.substr(0, slash);
}

VersionNumbers WindowsProcess::version() {
    return fileVersion(programPath_).value_or(Process::version());
}

std::optional<VersionNumbers> fileVersion(const std::string& path) {
    const std::wstring file = widen(path);
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &unused);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(file.c_str(), 0, size, data.data()) ||
        !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        length < sizeof *info || info->dwSignature != VS_FFI_SIGNATURE)
        return std::nullopt;
    return VersionNumbers{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                          HIWORD(info->dwFileVersionLS)};
}

void WindowsProcess::writeStandardError(const std::string& text) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void WindowsProcess::writeOutput(const std::string& text) {
    // Through the C library, as "--help" writes: a program of the graphical subsystem has an
    // output only when its caller gave it one (a pipe, a file).
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

bool WindowsProcess::programReplaceable() {
    // The updater writes its copy beside the program, then renames it over the program.
    const std::wstring probe =
        longPath(exeFolder() + "\\.renovex-" + std::to_string(::GetCurrentProcessId()) + ".tmp");
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

bool WindowsProcess::updateFailed() {
    wchar_t value[4] = {};
    const DWORD length = ::GetEnvironmentVariableW(widen(kFailedUpdateVariable).c_str(), value, 4);
    return length == 1 && value[0] == L'1';
}

bool WindowsProcess::handOver(const std::string& program, const std::vector<std::string>& arguments,
                              std::string& error) {
    // Windows cannot run another program in this process: the updater starts beside it, and
    // this program ends so that its file can be replaced.
    return startDetached(program, arguments, error);
}

bool WindowsProcess::startDetached(const std::string& program,
                                   const std::vector<std::string>& arguments, std::string& error) {
    return static_cast<bool>(start(program, arguments, error));
}

Handle WindowsProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                             std::string& error) {
    const std::wstring file = widen(program);
    std::wstring line = quoteArgument(file);
    for (const std::string& argument : arguments) line += L" " + quoteArgument(widen(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        error = systemMessage(::GetLastError());
        return {};
    }
    ::CloseHandle(started.hThread);
    return Handle(started.hProcess);
}

}  // namespace vidor::platform::windows
