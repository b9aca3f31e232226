#include "renovex/linux/ProgramFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "tests/support/TempDir.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolderTest, ACopyChangedAfterItWasOpenedIsNotInstalled) {
    // Each change comes between the opening of the new version and the end of its copy, as
    // when the new version is published while the updater reads it.
    const std::string vidor = test::readFile(VIDOR_PROGRAM);
    const std::pair<const char*, std::function<void(const fs::path&)>> changes[] = {
        {"grown", [](const fs::path& file) { std::ofstream(file, std::ios::app) << "more"; }},
        {"rewritten in place",
         [](const fs::path& file) {
             const int fd = ::open(file.c_str(), O_WRONLY);
             ASSERT_EQ(::pwrite(fd, "x", 1, 4096), 1);
             const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 60, 0}};
             ::futimens(fd, later);  // the date of the rewrite, be it within the same tick
             ::close(fd);
         }},
        {"replaced", [&](const fs::path& file) {
             test::writeFile(file.string() + ".new", vidor);
             fs::rename(file.string() + ".new", file);
         }}};
    for (const auto& [what, change] : changes) {
        test::TempDir dir;
        const fs::path prog = dir / "prog", copy = dir / "maj" / "Vidor";
        test::writeFile(prog / "Vidor", "old");
        fs::permissions(prog, fs::perms::owner_all);
        test::writeFile(copy, vidor);
        ProgramFolder folder((prog / "Vidor").string());
        ASSERT_EQ(folder.error(), "");
        const NewVersion newVersion(copy.string());
        change(copy);

        std::string error;
        EXPECT_FALSE(folder.install(newVersion, std::chrono::steady_clock::now(), error)) << what;
        EXPECT_NE(error.find("a changé pendant sa copie"), std::string::npos)
            << what << ": " << error;
        EXPECT_TRUE(test::readFile(prog / "Vidor") == "old") << what;
        EXPECT_EQ(std::distance(fs::directory_iterator(prog), {}), 1) << what;
    }
}

}  // namespace
}  // namespace vidor::renovex
