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
    const struct {
        const char* raw;
        const char* expected;
    } cases[] = {
        {R"("C:\Program Files\Vidor\Vidor.exe" /U:c  /E:tmp)", "/U:c  /E:tmp"},
        {R"(C:\Vidor\Vidor.exe   /AUTO "a  b" )", R"(/AUTO "a  b" )"},
        {R"("C:\Vidor\Vidor.exe"/AUTO)", "/AUTO"},
        {"Vidor.exe", ""},
        {"\"C:\\Vidor\\Vidor.exe\"\t\t", ""},
    };
    for (const auto& c : cases) {
        WindowsProcess process("C:\\Vidor\\Vidor.exe", c.raw);
        EXPECT_EQ(process.commandLine(), c.expected) << c.raw;
    }
    WindowsProcess process("C:\\Program Files\\Vidor 6\\Vidor.exe", "");
    EXPECT_EQ(process.exeName(), "Vidor");
    EXPECT_EQ(process.exeFolder(), "C:\\Program Files\\Vidor 6");
}

TEST(WindowsProcessTest, ArgumentsAreQuotedAsTheSystemSplitsThem) {
    const wchar_t* arguments[] = {L"simple",          L"deux mots", L"",
                                  L"fin\\",           L"a \"b\" c", L"C:\\dossier avec espace\\",
                                  L"\\\\serveur\\\"x"};
    std::wstring line = L"prog.exe";
    for (const wchar_t* argument : arguments) line += L" " + quoteArgument(argument);
    int count = 0;
    wchar_t** split = ::CommandLineToArgvW(line.c_str(), &count);
    ASSERT_TRUE(split);
    ASSERT_EQ(count, 8);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(std::wstring(split[i + 1]), arguments[i]) << i;
    ::LocalFree(split);
}

TEST(WindowsProcessTest, OneCopyPerProgramName) {
    const std::string name = "C:\\VidorTest" + std::to_string(::GetCurrentProcessId()) + ".exe";
    auto first = std::make_unique<WindowsProcess>(name, "");
    WindowsProcess second(name, "");
    WindowsProcess other("C:\\Autre" + std::to_string(::GetCurrentProcessId()) + ".exe", "");
    EXPECT_FALSE(first->previousInstance());
    EXPECT_TRUE(second.previousInstance());
    EXPECT_FALSE(other.previousInstance());
    first.reset();  // the first copy ends
    EXPECT_FALSE(second.previousInstance());
}

TEST(WindowsProcessTest, StartsAProgramWithoutWaitingForIt) {
    // This very test program, asked to run no test and to write its report where told.
    test::TempDir dir;
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
    EXPECT_FALSE(WindowsProcess::startDetached("C:\\absent\\absent.exe", {}, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vidor::platform::windows
