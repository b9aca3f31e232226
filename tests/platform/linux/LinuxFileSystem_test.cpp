#include "platform/linux/LinuxFileSystem.h"

#include <gtest/gtest.h>

#include "tests/support/Sandbox.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

class LinuxFileSystemTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c"};
    fs::path c = sandbox.drive('C');
    DriveMap map = DriveMap::fromSystem();
};

TEST_F(LinuxFileSystemTest, PathsNeverGoThroughALinkBelowTheDrivesRoot) {
    LinuxFileSystem files(map);
    test::writeFile(sandbox / "outside" / "f.tmp", "x");
    fs::create_directory_symlink(sandbox / "outside", c / "link");
    EXPECT_FALSE(files.info("C:\\link\\f.tmp"));
    EXPECT_FALSE(files.deleteFile("C:\\link\\f.tmp"));
    EXPECT_FALSE(files.moveToTrash("C:\\link\\f.tmp"));
    EXPECT_FALSE(files.createFolder("C:\\link\\new"));
    FolderError error;
    EXPECT_FALSE(files.openFolder("C:\\link", error));
    EXPECT_TRUE(error.silent);
    EXPECT_TRUE(fs::exists(sandbox / "outside" / "f.tmp"));
    EXPECT_FALSE(fs::exists(sandbox / "outside" / "new"));
    // The link itself is a file of C:, and goes as one.
    auto link = files.info("C:\\link");
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->folder);
    EXPECT_TRUE(files.deleteFile("C:\\link"));
    EXPECT_TRUE(fs::is_directory(sandbox / "outside"));
}

TEST_F(LinuxFileSystemTest, DotNamesCannotClimbOutOfTheDrive) {
    LinuxFileSystem files(map);
    test::writeFile(sandbox / "secret.tmp", "x");
    EXPECT_FALSE(files.info("C:\\..\\secret.tmp"));
    EXPECT_FALSE(files.deleteFile("C:\\.\\..\\secret.tmp"));
    EXPECT_TRUE(fs::exists(sandbox / "secret.tmp"));
}

TEST_F(LinuxFileSystemTest, TheDrivesOwnFolderMayBeALink) {
    test::writeFile(sandbox / "real" / "a.tmp", "abc");
    fs::create_directory_symlink(sandbox / "real", sandbox / "alias");
    sandbox.setEnv("VIDOR_UNITES", "D=3:" + (sandbox / "alias").string());
    const DriveMap aliased = DriveMap::fromSystem();
    LinuxFileSystem files(aliased);
    auto info = files.info("D:\\a.tmp");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 3u);
    EXPECT_EQ(files.nativePath("D:\\x\\y"), (sandbox / "alias" / "x" / "y").string());
    EXPECT_EQ(files.nativePath("/etc/hosts"), "/etc/hosts");
}

TEST_F(LinuxFileSystemTest, AFolderIsNotDeletedAsAFile) {
    LinuxFileSystem files(map);
    fs::create_directories(c / "dir.tmp");
    std::string error;
    EXPECT_FALSE(files.deleteFile("C:\\dir.tmp", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(c / "dir.tmp"));
}

TEST_F(LinuxFileSystemTest, ListingSkipsNamesThatCannotBeWrittenInProgramPaths) {
    LinuxFileSystem files(map);
    test::writeFile(c / "a\\b.tmp", "x");
    test::writeFile(c / "line\nbreak.tmp", "x");
    test::writeFile(c / std::string("bad\xff.tmp"), "x");
    FolderError error;
    auto root = files.openFolder("C:\\", error);
    ASSERT_TRUE(root);
    std::set<std::string> names;
    for (FolderEntry entry; root->next(entry);) names.insert(entry.name);
    EXPECT_EQ(names, (std::set<std::string>{"line\nbreak.tmp", std::string("bad\xff.tmp")}));
    EXPECT_TRUE(files.deleteFile(std::string("C:\\bad\xff.tmp")));
    EXPECT_TRUE(files.deleteFile("C:\\line\nbreak.tmp"));
}

TEST_F(LinuxFileSystemTest, OpenFoldersStayFewAndReopenAsTheSameFolder) {
    LinuxFileSystem files(map, 8);
    fs::path deep = c;
    for (int i = 0; i < 40; ++i) {
        deep /= "d";
        test::writeFile(deep / "f", "x");
    }
    FolderError error;
    std::vector<std::unique_ptr<Folder>> chain;
    chain.push_back(files.openFolder("C:\\", error));
    for (int i = 0; i < 40; ++i) {
        chain.push_back(chain.back()->openFolder("d", error));
        ASSERT_TRUE(chain.back());
        EXPECT_LE(files.openFolders(), 9u);
    }
    // A folder whose descriptor was closed is opened again from its parent when used.
    EXPECT_TRUE(chain[3]->fileSize("f"));
    EXPECT_TRUE(chain[3]->deleteFile("f"));
    EXPECT_FALSE(fs::exists(c / "d" / "d" / "d" / "f"));
    // ...but only if it is still the same folder.
    fs::rename(c / "d" / "d" / "d" / "d", c / "d" / "d" / "d" / "moved");
    fs::create_directory(c / "d" / "d" / "d" / "d");
    test::writeFile(c / "d" / "d" / "d" / "d" / "f", "other");
    for (int i = 10; i < 40; ++i) chain[i]->fileSize("f");  // closes the early ones again
    EXPECT_FALSE(chain[4]->deleteFile("f"));
    EXPECT_TRUE(fs::exists(c / "d" / "d" / "d" / "d" / "f"));
    while (!chain.empty()) chain.pop_back();
    EXPECT_EQ(files.openFolders(), 0u);
}

TEST_F(LinuxFileSystemTest, CreateFolderLikeCopiesTheRightsAndRefusesALink) {
    LinuxFileSystem files(map);
    fs::create_directories(c / "model");
    fs::permissions(c / "model", fs::perms::owner_all | fs::perms::sticky_bit);
    FolderError error;
    auto root = files.openFolder("C:\\", error);
    auto model = root->openFolder("model", error);
    ASSERT_TRUE(model);
    EXPECT_TRUE(root->createFolderLike("copy", *model));
    EXPECT_EQ(fs::status(c / "copy").permissions(), fs::perms::owner_all | fs::perms::sticky_bit);
    fs::create_directory_symlink(sandbox / "elsewhere", c / "planted");
    EXPECT_FALSE(root->createFolderLike("planted", *model));
    EXPECT_FALSE(fs::exists(sandbox / "elsewhere"));
}

}  // namespace
}  // namespace vidor::platform::linux_
