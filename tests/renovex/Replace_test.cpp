#include "renovex/Replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <random>
#include <tuple>

#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

namespace vidor::renovex {
namespace {

namespace fs = std::filesystem;
using fs::perms;

class ReplaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(program, "old program");
        fs::permissions(program, kOldMode);
        fs::create_directories(maj);
    }

    bool replace(const fs::path& newVersion, std::string& error, const fs::path& target) {
        return replaceProgram(newVersion.string(), target.string(),
                              std::chrono::steady_clock::now() + std::chrono::seconds(1), error);
    }

    // The old program, whole and as runnable as before, and no temporary file beside it: the
    // program's folder holds `files` files.
    void expectOldProgramIntact(long files = 1) const {
        EXPECT_EQ(test::readFile(program), "old program");
        EXPECT_EQ(fs::status(program).permissions(), kOldMode);
        EXPECT_EQ(std::distance(fs::directory_iterator(prog), {}), files);
    }

    static constexpr perms kOldMode = perms::owner_all | perms::group_read | perms::group_exec;
    test::TempDir dir;
    const fs::path prog = dir / "prog", maj = dir / "maj", program = prog / "Vidor";
};

TEST_F(ReplaceTest, NewVersionTakesTheProgramsPlaceInOneStep) {
    // Larger than one buffer, with every byte value.
    std::string contents(300'000, '\0');
    std::mt19937 random(7);
    for (char& byte : contents) byte = static_cast<char>(random());
    test::writeFile(maj / "Vidor", contents);
    fs::permissions(maj / "Vidor", perms::owner_read | perms::owner_write | perms::group_read |
                                       perms::others_read);
    // A second name for the old file: rewriting the file in place would change it too.
    fs::create_hard_link(program, dir / "old-link");

    std::string error;
    ASSERT_TRUE(replace(maj / "Vidor", error, program)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(test::readFile(program), contents);
    EXPECT_EQ(test::readFile(maj / "Vidor"), contents);
    EXPECT_EQ(test::readFile(dir / "old-link"), "old program");
    // The new version's mode, and its owner may run it; no temporary file is left.
    EXPECT_EQ(fs::status(program).permissions(),
              perms::owner_all | perms::group_read | perms::others_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(prog), {}), 1);
}

TEST_F(ReplaceTest, NewVersionThatCannotBeReadOrPutInPlaceLeavesTheOldProgram) {
    // The new version missing, a folder, or a named pipe (whose blocking read would wait for a
    // writer forever); then a folder in the way of the rename.
    ASSERT_EQ(::mkfifo((maj / "pipe").c_str(), 0644), 0);
    fs::create_directories(maj / "folder");
    test::writeFile(maj / "Vidor", "new program");
    fs::create_directories(prog / "dir" / "inside");
    const auto quoted = [](const fs::path& path) { return "\"" + path.string() + "\""; };
    const auto because = [](int code) { return std::string(" (") + std::strerror(code) + ")"; };
    const std::tuple<fs::path, fs::path, std::string> cases[] = {
        {maj / "none", program,
         "je ne peux pas lire la nouvelle version " + quoted(maj / "none") + because(ENOENT)},
        {maj / "folder", program,
         "la nouvelle version " + quoted(maj / "folder") + " n'est pas un fichier"},
        {maj / "pipe", program,
         "la nouvelle version " + quoted(maj / "pipe") + " n'est pas un fichier"},
        {maj / "Vidor", prog / "dir",
         "je ne peux pas remplacer " + quoted(prog / "dir") + because(EISDIR)}};
    for (const auto& [newVersion, target, reason] : cases) {
        std::string error;
        EXPECT_FALSE(replace(newVersion, error, target));
        EXPECT_EQ(error, reason);
        expectOldProgramIntact(2);
    }
    EXPECT_TRUE(fs::is_directory(prog / "dir" / "inside"));
}

TEST_F(ReplaceTest, ProgramFolderThatCannotBeWrittenLeavesTheOldProgram) {
    // The folders belong to root and only their owner may write there; the replacement runs in
    // a child process as the user nobody, since root writes anywhere. The child's status says
    // whether it failed for just that reason.
    test::writeFile(maj / "Vidor", "new program");
    test::openUpTo(maj.string(), dir.path().string());
    test::openUpTo(prog.string(), dir.path().string());
    const std::string expected = "je ne peux pas écrire dans le répertoire \"" + prog.string() +
                                 "\" (" + std::strerror(EACCES) + ")";
    const int status = test::asUnprivileged([&] {
        std::string error;
        const bool replaced = replace(maj / "Vidor", error, program);
        std::cerr << "error: " << error << "\n";
        return !replaced && error == expected ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    expectOldProgramIntact();
}

}  // namespace
}  // namespace vidor::renovex
