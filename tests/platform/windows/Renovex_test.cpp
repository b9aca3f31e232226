#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/windows/Wide.h"
#include "platform/windows/WindowsProcess.h"
#include "tests/support/TempDir.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;

// The built updater, from the build's own path.
std::wstring renovex() {
    std::wstring path = platform::windows::widen(RENOVEX_PROGRAM);
    if (path.starts_with(L"/")) path = L"Z:" + path;  // a Unix path, seen through Wine
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// Runs `command` and waits for it; its exit status, or -1.
int run(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        return -1;
    }
    ::WaitForSingleObject(started.hProcess, 60000);
    DWORD status = 0;
    ::GetExitCodeProcess(started.hProcess, &status);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return static_cast<int>(status);
}

TEST(RenovexTest, ReplacesTheProgramKeepingTheNewVersionsDateAndStartsIt) {
    test::TempDir dir;
    // A small program of the system stands for the new version: started, it prints and ends.
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    const fs::path newVersion = dir / "nouvelle" / "Vidor.exe";
    fs::create_directories(newVersion.parent_path());
    fs::copy_file(fs::path(system) / "hostname.exe", newVersion);
    const auto date = fs::last_write_time(newVersion) - std::chrono::hours(48);
    fs::last_write_time(newVersion, date);
    const fs::path folder = dir.path() / u8"mise à jour";
    const fs::path program = folder / "Vidor.exe";
    test::writeFile(program, "ancienne version");

    const std::wstring command =
        L"\"" + renovex() + L"\" \"" + newVersion.wstring() + L"\" \"" + program.wstring() + L"\"";
    ASSERT_EQ(run(command), 0);
    EXPECT_EQ(test::readFile(program), test::readFile(newVersion));
    EXPECT_EQ(fs::last_write_time(program), date);
    // Nothing else is left beside the program.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// The titles show the version the program file carries; a file without one gives the build's.
TEST(RenovexTest, TheProgramsVersionIsReadFromTheirFiles) {
    using platform::VersionNumbers;
    EXPECT_EQ(platform::windows::fileVersion(platform::windows::narrow(renovex())),
              (VersionNumbers{6, 0, 24}));
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(platform::windows::fileVersion(platform::windows::narrow(self)), std::nullopt);
    platform::windows::WindowsProcess missing("C:\\nulle-part\\Vidor.exe", "");
    EXPECT_EQ(missing.version(), (VersionNumbers{6, 0, 24}));
}

}  // namespace
}  // namespace vidor::renovex
