#include "platform/windows/WindowsProcess.h"

#include <windows.h>
// after windows.h, which it needs
#include <gtest/gtest.h>
#include <shellapi.h>

#include <chrono>
#include <thread>

#include "tests/support/TempDir.h"

namespace vidor::platform::windows {
namespace {

namespace fs = std::filesystem;

TEST(WindowsProcessTest, TheCommandLineIsTheRawTextAfterTheProgramsName) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("C:\Program Files\Vidor\Vidor.exe" /U:c  /E:tmp)", "/U:c  /E:tmp"},
        {R"(C:\Vidor\Vidor.exe   /AUTO "a  b" )", R"(/AUTO "a  b" )"},
        {R"("C:\Vidor\Vidor.exe"/AUTO)", "/AUTO"},
    };
    for (const auto& [raw, expected] : cases)
        EXPECT_EQ(WindowsProcess("C:\\Vidor\\Vidor.exe", raw).commandLine(), expected) << raw;
}

// The updater gets the run's parameters through one command line: each must come out whole,
// or the new version would clean other drives or extensions than the run was given.
TEST(WindowsProcessTest, ArgumentsAreQuotedAsTheSystemSplitsThem) {
    const wchar_t* arguments[] = {L"simple",          L"deux mots", L"",
                                  L"fin\\",           L"a \"b\" c", L"C:\\dossier avec espace\\",
                                  L"\\\\serveur\\\"x"};
    std::wstring line = L"prog.exe";
    for (const wchar_t* argument : arguments) line += L" " + quoteArgument(argument);
    int count = 0;
    wchar_t** split = ::CommandLineToArgvW(line.c_str(), &count);
    ASSERT_EQ(count, 8);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(std::wstring(split[i + 1]), arguments[i]) << i;
    ::LocalFree(split);
}

TEST(WindowsProcessTest, OneCopyPerProgramName) {
    const std::string name = "C:\\VidorTest" + std::to_string(::GetCurrentProcessId()) + ".exe";
    auto first = std::make_unique<WindowsProcess>(name, "");
    WindowsProcess second(name, "");
    EXPECT_FALSE(first->previousInstance());
    EXPECT_TRUE(second.previousInstance());
    first.reset();  // the first copy ends
    EXPECT_FALSE(second.previousInstance());
}

// What an update needs: a program folder that takes new files, and the updater started apart.
TEST(WindowsProcessTest, TheProgramIsReplaceableWhereItsFolderTakesNewFilesAndStartsAnother) {
    test::TempDir dir;
    EXPECT_TRUE(WindowsProcess((dir / "Vidor.exe").string(), "").programReplaceable());
    EXPECT_FALSE(WindowsProcess((dir / "absent" / "Vidor.exe").string(), "").programReplaceable());
    EXPECT_TRUE(fs::is_empty(dir.path()));  // the probe leaves nothing

    // This very test program, asked to run no test and to write its report where told.
    const fs::path report = dir / "rapport avec espace.xml";
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string error;
    ASSERT_TRUE(WindowsProcess::startDetached(
        fs::path(self).string(),
        {"--gtest_filter=Aucun.Test", "--gtest_output=xml:" + report.string()}, error))
        << error;
    for (int i = 0; i < 200 && !fs::exists(report); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(fs::exists(report));
}

}  // namespace
}  // namespace vidor::platform::windows
