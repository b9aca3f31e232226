#include "platform/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

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

bool opensAny(const FolderEntry& entry) {
    return entry.kind != EntryKind::File;
}

const auto kUse = std::make_shared<const ListingUse>(ListingUse{opensAny, nullptr});

std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// Lists `folder` and below as a walk does, asking for its sub-folders to be read ahead; adds the
// paths of the files to `files`.
void walk(Folder& folder, const std::string& path, std::vector<std::string>& files) {
    std::vector<std::string> subFolders;
    for (FolderEntry entry; folder.next(entry);) {
        if (opensAny(entry))
            subFolders.push_back(entry.name);
        else
            files.push_back(path + entry.name);
    }
    folder.readAhead(subFolders, kUse);
    for (const std::string& name : subFolders) {
        FolderError error;
        auto sub = folder.openFolder(name, error);
        if (sub) walk(*sub, path + name + "\\", files);
    }
}

TEST_F(LinuxFileSystemTest, FoldersReadAheadListTheSameWithFewDescriptorsHeldAndGoWhenDropped) {
    std::vector<std::string> expected;
    for (int i = 0; i < 120; ++i) {
        const std::string name = "s" + std::to_string(i);
        test::writeFile(c / name / "a", "x");
        test::writeFile(c / name / "in" / "b", "x");
        expected.push_back("C:\\" + name + "\\a");
        expected.push_back("C:\\" + name + "\\in\\b");
    }
    // A listing longer than what is held ahead is read on from where the reader stopped.
    const std::string padding(40, 'p');
    for (int i = 0; i < 8000; ++i) {
        const std::string name = padding + std::to_string(i);
        ::close(::open((c / "s7" / "in" / name).c_str(), O_WRONLY | O_CREAT, 0644));
        expected.push_back("C:\\s7\\in\\" + name);
    }
    const std::size_t before = openDescriptors();
    LinuxFileSystem files(map);
    std::vector<std::string> found;
    {
        FolderError error;
        auto root = files.openFolder("C:\\", error);
        ASSERT_TRUE(root);
        std::vector<std::string> names;
        for (FolderEntry entry; root->next(entry);) names.push_back(entry.name);
        root->readAhead(names, kUse);
        files.readAhead().waitIdle();
        EXPECT_EQ(files.readAhead().held(), ReadAhead::kHeldFolders);
        // The folders held, the folders whose sub-folders wait and the drive's root.
        EXPECT_LE(openDescriptors(),
                  before + ReadAhead::kHeldFolders + ReadAhead::kOpenParents + 1);
        for (const std::string& name : names) {
            auto sub = root->openFolder(name, error);
            ASSERT_TRUE(sub) << name;
            walk(*sub, "C:\\" + name + "\\", found);
        }
    }
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(files.readAhead().held(), 0u);
    EXPECT_EQ(openDescriptors(), before);

    // Dropping a folder closes what was read ahead below it.
    {
        FolderError error;
        auto root = files.openFolder("C:\\", error);
        std::vector<std::string> names;
        for (FolderEntry entry; root->next(entry);) names.push_back(entry.name);
        root->readAhead(names, kUse);
        auto first = root->openFolder(names.front(), error);
        ASSERT_TRUE(first);
        files.readAhead().waitIdle();
        EXPECT_GT(files.readAhead().held(), 10u);
        EXPECT_GT(openDescriptors(), before + 10);
    }
    // A worker still reading a dropped folder lets go of it when its read ends.
    files.readAhead().waitIdle();
    EXPECT_EQ(files.readAhead().held(), 0u);
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace vidor::platform::linux_
