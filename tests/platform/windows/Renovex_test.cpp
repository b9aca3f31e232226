#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "platform/windows/Handle.h"
#include "platform/windows/Wide.h"
#include "tests/support/TempDir.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using platform::windows::Handle;

// The built updater, from the build's own path.
std::wstring renovex() {
    std::wstring path = platform::windows::widen(RENOVEX_PROGRAM);
    if (path.starts_with(L"/")) path = L"Z:" + path;  // a Unix path, seen through Wine
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// Programs of the system stand for the versions of Vidor: hostname.exe prints and ends,
// cmd.exe runs the command it is given.
fs::path systemProgram(const wchar_t* name) {
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    return fs::path(system) / name;
}

// The headers of the program `image`, where its DOS header points.
IMAGE_NT_HEADERS64& headersOf(std::string& image) {
    const auto& dos = *reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    return *reinterpret_cast<IMAGE_NT_HEADERS64*>(image.data() + dos.e_lfanew);
}

class RenovexTest : public ::testing::Test {
  protected:
    // Runs the updater to put `newVersion` in the place of `program` and start it with
    // `parameters`; its exit status, and in `said` what it wrote.
    DWORD run(const fs::path& newVersion, const fs::path& program,
              const std::wstring& parameters = {}) {
        const fs::path errors = dir / "erreurs.txt";
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        Handle file(::CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                  CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW start{sizeof start};
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdOutput = start.hStdError = file.get();
        std::wstring line = L"Renovex \"" + newVersion.wstring() + L"\" \"" + program.wstring() +
                            L"\" " + parameters;
        PROCESS_INFORMATION process{};
        DWORD status = 99;
        if (::CreateProcessW(renovex().c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &start, &process)) {
            const Handle ended(process.hProcess), thread(process.hThread);
            ::WaitForSingleObject(process.hProcess, 60000);
            ::GetExitCodeProcess(process.hProcess, &status);
        }
        file.reset();
        said = test::readFile(errors);
        return status;
    }

    test::TempDir dir;
    std::string said;
};

TEST_F(RenovexTest, ReplacesTheProgramKeepingTheNewVersionsDateAndStartsIt) {
    const fs::path newVersion = dir / "Vidor.exe";
    fs::copy_file(systemProgram(L"hostname.exe"), newVersion);
    const auto date = fs::last_write_time(newVersion) - std::chrono::hours(48);
    fs::last_write_time(newVersion, date);
    const fs::path program = dir.path() / u8"mise à jour" / "Vidor.exe";
    test::writeFile(program, "ancienne version");

    EXPECT_EQ(run(newVersion, program), 0u) << said;
    EXPECT_EQ(test::readFile(program), test::readFile(newVersion));
    EXPECT_EQ(fs::last_write_time(program), date);
    // Nothing else is left beside the program.
    EXPECT_EQ(std::distance(fs::directory_iterator(program.parent_path()), {}), 1);
}

// No console window opens during an update; without a screen (these tests have none) the reason
// of a failure still reaches whoever reads standard error.
TEST_F(RenovexTest, IsAWindowedProgramWhoseMessagesGoToStandardErrorWithoutAScreen) {
    std::string image = test::readFile(fs::path(renovex()));
    EXPECT_EQ(headersOf(image).OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const fs::path nowhere = "C:\\nulle\\part\\Vidor.exe";
    EXPECT_EQ(run(nowhere, nowhere), 1u);
    EXPECT_EQ(said.find("Renovex - Erreur"), 0u) << said;
    EXPECT_NE(said.find("\"C:\\nulle\\part\\Vidor.exe\""), std::string::npos) << said;
}

TEST_F(RenovexTest, AProgramForAnotherProcessorCutShortOrStillWrittenIsNotInstalled) {
    const std::string host = test::readFile(systemProgram(L"hostname.exe"));
    const std::string cmd = test::readFile(systemProgram(L"cmd.exe"));
    const fs::path newVersion = dir / "Vidor.exe", program = dir / "prog" / "Vidor.exe";
    // The old version runs told of the failure, and its status becomes the updater's.
    const auto expectRefused = [&](const std::string& why) {
        test::writeFile(program, cmd);
        EXPECT_EQ(run(newVersion, program, L"/c exit 4%RENOVEX_ECHEC%"), 41u) << said;
        EXPECT_NE(said.find(why), std::string::npos) << said;
        EXPECT_TRUE(test::readFile(program) == cmd) << why;
        EXPECT_EQ(std::distance(fs::directory_iterator(program.parent_path()), {}), 1);
    };
    expectRefused("je ne peux pas copier");  // absent
    std::string arm = host;
    headersOf(arm).FileHeader.Machine = IMAGE_FILE_MACHINE_ARM64;
    for (const std::string& copy : {arm, host.substr(0, host.size() / 2)}) {
        test::writeFile(newVersion, copy);
        expectRefused("n'est pas un programme complet pour cet ordinateur");
    }
    // Still open for writing, as while it is published: it could change during the copy.
    test::writeFile(newVersion, host);
    const Handle writer(::CreateFileW(newVersion.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    expectRefused("je ne peux pas copier");
}

}  // namespace
}  // namespace vidor::renovex
