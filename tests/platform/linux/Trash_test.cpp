#include "platform/linux/Trash.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/UniqueFd.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

bool moveToTrash(Trash& trash, const fs::path& file) {
    UniqueFd folder(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY));
    return trash.move(folder.get(), file.filename().string());
}
bool moveToTrash(const fs::path& file) {
    Trash trash;
    return moveToTrash(trash, file);
}

std::string pathLine(const fs::path& info) {
    const std::string text = test::readFile(info);
    const std::size_t start = text.find("Path=") + 5;
    return text.substr(start, text.find('\n', start) - start);
}

TEST(TrashTest, PathsArePercentEncoded) {
    EXPECT_EQ(percentEncoded("/home/a b/été%.tmp"), "/home/a%20b/%C3%A9t%C3%A9%25.tmp");
    EXPECT_EQ(percentEncoded(std::string("/x/\n\xff~-_.")), "/x/%0A%FF~-_.");
}

TEST(TrashTest, SameNamesGetNewOnesAndEveryFileKeepsItsInformation) {
    test::Sandbox sandbox;
    const fs::path files = sandbox.trashFiles();
    // A file whose information was lost is never overwritten either.
    test::writeFile(files / "a.2.tmp", "orphan");
    Trash trash;
    for (int i = 0; i < 3; ++i) {
        test::writeFile(sandbox / std::to_string(i) / "a.tmp", std::to_string(i));
        ASSERT_TRUE(moveToTrash(trash, sandbox / std::to_string(i) / "a.tmp"));
    }
    EXPECT_EQ(test::readFile(files / "a.tmp"), "0");
    EXPECT_EQ(test::readFile(files / "a.2.tmp"), "orphan");
    EXPECT_EQ(test::readFile(files / "a.3.tmp"), "1");
    EXPECT_EQ(test::readFile(files / "a.4.tmp"), "2");
    EXPECT_FALSE(fs::exists(sandbox.trashInfo() / "a.2.tmp.trashinfo"));
    EXPECT_EQ(pathLine(sandbox.trashInfo() / "a.4.tmp.trashinfo"),
              (sandbox / "2" / "a.tmp").string());
    const std::string info = test::readFile(sandbox.trashInfo() / "a.tmp.trashinfo");
    EXPECT_TRUE(info.starts_with("[Trash Info]\nPath="));
    EXPECT_NE(info.find("\nDeletionDate=20"), std::string::npos);

    // A trash emptied away meanwhile is made again, for its owner only.
    fs::remove_all(sandbox.dataHome() / "Trash");
    test::writeFile(sandbox / "b.tmp", "b");
    ASSERT_TRUE(moveToTrash(trash, sandbox / "b.tmp"));
    EXPECT_EQ(test::readFile(files / "b.tmp"), "b");
    EXPECT_EQ(fs::status(sandbox.dataHome() / "Trash").permissions(), fs::perms::owner_all);
}

TEST(TrashTest, LongNamesAreShortenedForTheirInformationFileBetweenCharacters) {
    test::Sandbox sandbox;
    std::string accents;
    for (int i = 0; i < 124; ++i) accents += "\xC3\xA9";  // é, two bytes
    std::string kept;
    for (int i = 0; i < 120; ++i) kept += "\xC3\xA9";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(250, 'n'), std::string(245, 'n')},
        {accents + ".tmp", kept + ".tmp"},
        {std::string(250, 'x') + ".tmp", std::string(241, 'x') + ".tmp"},
    };
    for (const auto& [name, inTrash] : cases) {
        test::writeFile(sandbox / name, "long");
        ASSERT_TRUE(moveToTrash(sandbox / name)) << name.size();
        EXPECT_EQ(test::readFile(sandbox.trashFiles() / inTrash), "long") << name.size();
    }
}

TEST(TrashTest, FoldersMissingFilesAndFilesWithoutAHomeOrWithAnotherUsersTrashStayInPlace) {
    test::Sandbox sandbox;
    fs::create_directories(sandbox / "dir");
    EXPECT_FALSE(moveToTrash(sandbox / "dir"));
    EXPECT_FALSE(moveToTrash(sandbox / "none"));
    EXPECT_TRUE(fs::is_directory(sandbox / "dir"));
    test::writeFile(sandbox / "a.tmp", "a");
    sandbox.setEnv("XDG_DATA_HOME", std::nullopt);
    sandbox.setEnv("HOME", std::nullopt);
    const bool rootHadData = fs::exists("/.local");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(moveToTrash(sandbox / "a.tmp"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("HOME"), std::string::npos);
    EXPECT_EQ(fs::exists("/.local"), rootHadData);
    EXPECT_TRUE(fs::exists(sandbox / "a.tmp"));

    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the trash to another user";
    sandbox.setEnv("XDG_DATA_HOME", sandbox.dataHome().string());
    fs::create_directories(sandbox.dataHome() / "Trash");
    ASSERT_EQ(::chown((sandbox.dataHome() / "Trash").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(moveToTrash(sandbox / "a.tmp"));
    EXPECT_TRUE(fs::exists(sandbox / "a.tmp"));
    EXPECT_FALSE(fs::exists(sandbox.trashFiles()));
}

TEST(TrashTest, FilesOfAnotherVolumeGoToThatVolumesOwnTrash) {
    test::Sandbox sandbox;
    const fs::path volume = sandbox / "volume";
    fs::create_directories(volume);
    const int status = test::inMountNamespace([&] {
        if (::mount("none", volume.c_str(), "tmpfs", 0, nullptr) != 0) return 77;
        const std::string uid = std::to_string(::geteuid());
        // A link planted where the private trash goes is refused.
        fs::create_directory_symlink(sandbox / "stolen", volume / (".Trash-" + uid));
        test::writeFile(volume / "sub" / "a.tmp", "a");
        if (moveToTrash(volume / "sub" / "a.tmp") || fs::exists(sandbox / "stolen")) return 1;
        fs::remove(volume / (".Trash-" + uid));
        if (!moveToTrash(volume / "sub" / "a.tmp")) return 2;
        const fs::path trash = volume / (".Trash-" + uid);
        if (test::readFile(trash / "files" / "a.tmp") != "a") return 3;
        if (pathLine(trash / "info" / "a.tmp.trashinfo") != "sub/a.tmp") return 4;
        if (fs::status(trash).permissions() != fs::perms::owner_all) return 5;
        // A shared .Trash is used only when it is sticky: without the bit, anyone could
        // remove or replace what others put there.
        fs::create_directories(volume / ".Trash");
        fs::permissions(volume / ".Trash", fs::perms::all);
        test::writeFile(volume / "b.tmp", "b");
        if (!moveToTrash(volume / "b.tmp")) return 6;
        if (fs::exists(volume / ".Trash" / uid) || !fs::exists(trash / "files" / "b.tmp")) return 7;
        fs::permissions(volume / ".Trash", fs::perms::all | fs::perms::sticky_bit);
        test::writeFile(volume / "c.tmp", "c");
        if (!moveToTrash(volume / "c.tmp")) return 8;
        if (test::readFile(volume / ".Trash" / uid / "files" / "c.tmp") != "c") return 9;
        return 0;
    });
    if (status == 77) GTEST_SKIP() << "this machine cannot make a mount namespace (unshare -Urm)";
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace vidor::platform::linux_
