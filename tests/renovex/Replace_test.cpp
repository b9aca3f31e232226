#include "renovex/Replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

class ReplaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(prog);
        fs::create_directories(maj);
        test::writeFile(program, "old program");
        fs::permissions(program,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    }

    bool replace(const fs::path& newVersion, std::string& error) {
        return replaceProgram(newVersion.string(), program.string(),
                              steady_clock::now() + std::chrono::seconds(1), error);
    }

    std::set<std::string> namesIn(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    // The old program, whole and as runnable as before, alone in its folder.
    void expectOldProgramIntact() const {
        EXPECT_EQ(test::readFile(program), "old program");
        EXPECT_EQ(fs::status(program).permissions(),
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        EXPECT_EQ(namesIn(prog), std::set<std::string>{"Vidor"});
    }

    test::TempDir dir;
    const fs::path prog = dir / "prog";
    const fs::path maj = dir / "maj";
    const fs::path program = prog / "Vidor";
};

TEST_F(ReplaceTest, NewVersionTakesTheProgramsPlaceInOneStep) {
    // Larger than one buffer, with every byte value.
    std::string contents(300'000, '\0');
    std::mt19937 random(7);
    for (char& byte : contents) byte = static_cast<char>(random());
    test::writeFile(maj / "Vidor", contents);
    fs::permissions(maj / "Vidor", fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read | fs::perms::others_read);
    // A second name for the old file: rewriting the file in place would change it too.
    fs::create_hard_link(program, dir / "old-link");

    std::string error;
    ASSERT_TRUE(replace(maj / "Vidor", error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(test::readFile(program), contents);
    EXPECT_EQ(test::readFile(dir / "old-link"), "old program");
    // The new version's mode, and its owner may run it.
    EXPECT_EQ(fs::status(program).permissions(),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(namesIn(prog), std::set<std::string>{"Vidor"});
    EXPECT_EQ(test::readFile(maj / "Vidor"), contents);
}

TEST_F(ReplaceTest, NewVersionThatCannotBeReadLeavesTheOldProgram) {
    ASSERT_EQ(::mkfifo((maj / "pipe").c_str(), 0644), 0);
    fs::create_directories(maj / "folder");
    const std::string missing = (maj / "none").string();
    const std::vector<std::pair<fs::path, std::string>> cases = {
        {maj / "none", "je ne peux pas lire la nouvelle version \"" + missing + "\" (" +
                           std::strerror(ENOENT) + ")"},
        {maj / "folder",
         "la nouvelle version \"" + (maj / "folder").string() + "\" n'est pas un fichier"},
        // A named pipe would make a blocking read wait for a writer forever.
        {maj / "pipe",
         "la nouvelle version \"" + (maj / "pipe").string() + "\" n'est pas un fichier"},
    };
    for (const auto& [newVersion, reason] : cases) {
        std::string error;
        EXPECT_FALSE(replace(newVersion, error));
        EXPECT_EQ(error, reason);
        expectOldProgramIntact();
    }
}

TEST_F(ReplaceTest, ProgramThatCannotBeReplacedIsLeftWithoutATemporaryFile) {
    test::writeFile(maj / "Vidor", "new program");
    std::string error;

    // A folder stands where the program should be: the rename is refused.
    fs::remove(program);
    fs::create_directories(program / "inside");
    EXPECT_FALSE(replace(maj / "Vidor", error));
    EXPECT_EQ(error, "je ne peux pas remplacer \"" + program.string() + "\" (" +
                         std::strerror(EISDIR) + ")");
    EXPECT_EQ(namesIn(prog), std::set<std::string>{"Vidor"});
    EXPECT_TRUE(fs::is_directory(program / "inside"));

    // The program's folder is gone: there is nowhere to write the new version.
    const fs::path elsewhere = dir / "none" / "Vidor";
    EXPECT_FALSE(
        replaceProgram((maj / "Vidor").string(), elsewhere.string(), steady_clock::now(), error));
    EXPECT_EQ(error, "je ne peux pas écrire dans le répertoire \"" + (dir / "none").string() +
                         "\" (" + std::strerror(ENOENT) + ")");
    EXPECT_FALSE(fs::exists(dir / "none"));
}

TEST_F(ReplaceTest, ProgramFolderThatCannotBeWrittenLeavesTheOldProgram) {
    // The folders belong to root and only their owner may write there; the replacement runs in
    // a child process as the user nobody, since root writes anywhere.
    test::writeFile(maj / "Vidor", "new program");
    test::openUpTo(maj.string(), dir.path().string());
    test::openUpTo(prog.string(), dir.path().string());
    const std::string expected = "je ne peux pas écrire dans le répertoire \"" + prog.string() +
                                 "\" (" + std::strerror(EACCES) + ")";
    // The child's status says whether it failed for just that reason.
    const int status = test::asUnprivileged([&] {
        std::string error;
        if (replace(maj / "Vidor", error) || error != expected) {
            std::cerr << "replaced, or failed with: " << error << "\n";
            return 1;
        }
        return 0;
    });
    EXPECT_EQ(status, 0);
    expectOldProgramIntact();
}

}  // namespace
}  // namespace vidor::renovex
