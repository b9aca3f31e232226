#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <fstream>

#include "platform/windows/Handle.h"
#include "platform/windows/Wide.h"
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

    // The C library passes the arguments on as they are: their spaces need the quotes.
    const std::wstring from = L"\"" + newVersion.wstring() + L"\"";
    const std::wstring to = L"\"" + program.wstring() + L"\"";
    ASSERT_EQ(::_wspawnl(_P_WAIT, renovex().c_str(), L"Renovex", from.c_str(), to.c_str(), nullptr),
              0);
    EXPECT_EQ(test::readFile(program), test::readFile(newVersion));
    EXPECT_EQ(fs::last_write_time(program), date);
    // Nothing else is left beside the program.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(RenovexTest, AVersionThatCannotBeInstalledLeavesTheRunToTheOldOneAndItsStatus) {
    // The system's command interpreter stands for the old version: given the run's parameters,
    // it ends with a status that says it ran, and whether it was told of the failed update.
    test::TempDir dir;
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    const fs::path program = dir / "Vidor.exe";
    fs::copy_file(fs::path(system) / "cmd.exe", program);
    const std::wstring from = L"\"" + (dir / "absente" / "Vidor.exe").wstring() + L"\"";
    const std::wstring to = L"\"" + program.wstring() + L"\"";
    const intptr_t status = ::_wspawnl(_P_WAIT, renovex().c_str(), L"Renovex", from.c_str(),
                                       to.c_str(), L"/c", L"exit", L"4%RENOVEX_ECHEC%", nullptr);
    EXPECT_EQ(status, 41);
}

// Runs the updater with `arguments`, its standard error in `errors`; its exit status.
DWORD runRenovex(const std::wstring& arguments, const fs::path& errors) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE file = ::CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW start{sizeof start};
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = start.hStdError = file;
    std::wstring line = L"Renovex " + arguments;
    PROCESS_INFORMATION process{};
    DWORD status = 99;
    if (::CreateProcessW(renovex().c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &start, &process)) {
        ::WaitForSingleObject(process.hProcess, 60000);
        ::GetExitCodeProcess(process.hProcess, &status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(file);
    return status;
}

// No console window opens during an update; without a screen (these tests have none) the reason
// of a failure still reaches whoever reads standard error.
TEST(RenovexTest, IsAWindowedProgramWhoseMessagesGoToStandardErrorWithoutAScreen) {
    std::ifstream image(fs::path(renovex()), std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    image.read(reinterpret_cast<char*>(&dos), sizeof dos);
    IMAGE_NT_HEADERS64 headers{};
    image.seekg(dos.e_lfanew).read(reinterpret_cast<char*>(&headers), sizeof headers);
    EXPECT_EQ(headers.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    test::TempDir dir;
    EXPECT_EQ(runRenovex(L"\"C:\\nulle\\part\\Vidor.exe\" \"C:\\nulle\\part\\Vidor.exe\"",
                         dir / "erreurs.txt"),
              1u);
    const std::string said = test::readFile(dir / "erreurs.txt");
    EXPECT_EQ(said.find("Renovex - Erreur"), 0u) << said;
    EXPECT_NE(said.find("\"C:\\nulle\\part\\Vidor.exe\""), std::string::npos) << said;
}

TEST(RenovexTest, AProgramForAnotherProcessorCutShortOrStillWrittenIsNotInstalled) {
    test::TempDir dir;
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string host = test::readFile(fs::path(system) / "hostname.exe");
    const std::string cmd = test::readFile(fs::path(system) / "cmd.exe");
    const fs::path newVersion = dir / "Vidor.exe", program = dir / "prog" / "Vidor.exe";
    // The old version, the system's command interpreter, runs told of the failure.
    const auto expectRefused = [&](const std::string& why) {
        test::writeFile(program, cmd);
        const DWORD status = runRenovex(L"\"" + newVersion.wstring() + L"\" \"" +
                                            program.wstring() + L"\" /c exit 4%RENOVEX_ECHEC%",
                                        dir / "erreurs.txt");
        const std::string said = test::readFile(dir / "erreurs.txt");
        EXPECT_EQ(status, 41u) << said;
        EXPECT_NE(said.find(why), std::string::npos) << said;
        EXPECT_TRUE(test::readFile(program) == cmd) << why;
        EXPECT_EQ(std::distance(fs::directory_iterator(program.parent_path()), {}), 1);
    };
    // The processor a program is built for follows the signature the DOS header points to.
    std::string arm = host;
    const auto pe =
        *reinterpret_cast<const LONG*>(host.data() + offsetof(IMAGE_DOS_HEADER, e_lfanew));
    const WORD machine = IMAGE_FILE_MACHINE_ARM64;
    arm.replace(static_cast<std::size_t>(pe) + 4, 2, reinterpret_cast<const char*>(&machine), 2);
    for (const std::string& copy : {arm, host.substr(0, host.size() / 2)}) {
        test::writeFile(newVersion, copy);
        expectRefused("n'est pas un programme complet pour cet ordinateur");
    }
    // Still open for writing, as while it is published: it could change during the copy.
    test::writeFile(newVersion, host);
    const platform::windows::Handle writer(
        ::CreateFileW(newVersion.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    expectRefused("je ne peux pas copier");
}

}  // namespace
}  // namespace vidor::renovex
