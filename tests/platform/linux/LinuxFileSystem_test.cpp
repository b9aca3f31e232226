#include "platform/linux/LinuxFileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <set>
#include <thread>

#include "platform/linux/ReadAhead.h"
#include "tests/support/Sandbox.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::linux_ {
namespace {

namespace fs = std::filesystem;

class LinuxFileSystemTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c"};
    fs::path c = sandbox.drive('C');
    DriveMap map = DriveMap::fromSystem();
    LinuxFileSystem files{map};
    FolderError error;
};

TEST_F(LinuxFileSystemTest, ListingsSkipNamesThatCannotBeWrittenInProgramPathsAndNothingElse) {
    test::writeFile(c / "a\\b.tmp", "x");
    test::writeFile(c / "line\nbreak.tmp", "x");
    test::writeFile(c / std::string("bad\xff.tmp"), "x");
    // A listing longer than what is read ahead is read on by the folder that takes it.
    for (int i = 0; i < 1500; ++i)
        test::writeFile(c / "big" / (std::string(240, 'p') + std::to_string(i)), "");
    auto root = files.openFolder("C:\\", error);
    ASSERT_TRUE(root);
    std::set<std::string> names;
    for (FolderEntry entry; root->next(entry);) names.insert(entry.name);
    EXPECT_EQ(names, (std::set<std::string>{"big", "line\nbreak.tmp", std::string("bad\xff.tmp")}));
    const auto opensNone = [](const FolderEntry&) { return false; };
    root->readAhead({"big"}, std::make_shared<const ListingUse>(ListingUse{opensNone, nullptr}));
    auto big = root->openFolder("big", error);
    names.clear();
    for (FolderEntry entry; big->next(entry);) names.insert(entry.name);
    EXPECT_EQ(names.size(), 1500u);
}

TEST_F(LinuxFileSystemTest, OpenFoldersStayFewAndReopenAsTheSameFolder) {
    LinuxFileSystem few(map, 8);
    fs::path deep = c;
    for (int i = 0; i < 40; ++i) {
        deep /= "d";
        test::writeFile(deep / "f", "x");
    }
    std::vector<std::unique_ptr<Folder>> chain;
    chain.push_back(few.openFolder("C:\\", error));
    for (int i = 0; i < 40; ++i) {
        chain.push_back(chain.back()->openFolder("d", error));
        ASSERT_TRUE(chain.back());
        EXPECT_LE(few.openFolders(), 9u);
    }
    // A folder whose descriptor was closed is opened again from its parent when used.
    EXPECT_TRUE(chain[3]->deleteFile("f"));
    EXPECT_FALSE(fs::exists(c / "d" / "d" / "d" / "f"));
    // ...but only if it is still the same folder.
    fs::rename(c / "d" / "d" / "d" / "d", c / "d" / "d" / "d" / "moved");
    fs::create_directory(c / "d" / "d" / "d" / "d");
    test::writeFile(c / "d" / "d" / "d" / "d" / "f", "other");
    for (int i = 10; i < 40; ++i) chain[i]->fileSize("f");  // closes the early ones again
    EXPECT_FALSE(chain[4]->deleteFile("f"));
    EXPECT_TRUE(fs::exists(c / "d" / "d" / "d" / "d" / "f"));
    // One that cannot be opened again for lack of descriptors is not taken for one that is gone.
    const auto exhausted = test::exhaustDescriptors();
    ASSERT_TRUE(exhausted);
    EXPECT_FALSE(chain[5]->openFolder("d", error));
    EXPECT_FALSE(error.silent);
    EXPECT_EQ(error.description, "Trop de fichiers ouverts");
}

TEST_F(LinuxFileSystemTest, FilesRemovedOneAfterTheOtherAreLookedForWhereTheirPathLeadsNow) {
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) test::writeFile(c / "m" / name, "old");
    EXPECT_TRUE(files.deleteFile("C:\\m\\a.tmp"));
    // The folder of the last removal moves away, another takes its name.
    fs::rename(c / "m", c / "moved");
    test::writeFile(c / "m" / "c.tmp", "new");
    EXPECT_EQ(files.deleteFile("C:\\m\\b.tmp").reason, "fichier introuvable");
    EXPECT_TRUE(files.moveToTrash("C:\\m\\c.tmp"));
    EXPECT_FALSE(fs::exists(c / "m" / "c.tmp"));
    EXPECT_TRUE(fs::exists(c / "moved" / "b.tmp") && fs::exists(c / "moved" / "c.tmp"));
}

// A purged folder is made again under its name: a link planted there meanwhile is not followed.
TEST_F(LinuxFileSystemTest, CreateFolderLikeRefusesALinkInItsPlace) {
    fs::create_directories(c / "model");
    fs::permissions(c / "model", fs::perms::owner_all | fs::perms::sticky_bit);
    fs::create_directories(sandbox / "elsewhere");
    fs::create_directory_symlink(sandbox / "elsewhere", c / "planted");
    auto root = files.openFolder("C:\\", error);
    auto model = root->openFolder("model", error);
    ASSERT_TRUE(model);
    EXPECT_FALSE(root->createFolderLike("planted", *model));
    EXPECT_NE(fs::status(sandbox / "elsewhere").permissions(),
              fs::perms::owner_all | fs::perms::sticky_bit);
}

// A listed link is told of as itself: its own size and date, never its target's.
TEST_F(LinuxFileSystemTest, TheInformationOnALinkIsTheLinksOwn) {
    const fs::path target = sandbox / "target.dat";
    test::writeFile(target, std::string(1000, 'x'));
    fs::create_symlink(target, c / "link.tmp");
    fs::create_directory_symlink(sandbox.dir().path(), c / "folder.tmp");
    // The link a day older than its target.
    const timespec dates[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 86400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (c / "link.tmp").c_str(), dates, AT_SYMLINK_NOFOLLOW), 0);
    struct stat own {};
    ASSERT_EQ(::lstat((c / "link.tmp").c_str(), &own), 0);

    const auto link = files.info("C:\\link.tmp");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->size, target.string().size());
    EXPECT_EQ(link->modified, own.st_mtime);
    EXPECT_FALSE(files.info("C:\\folder.tmp").value().folder);
    EXPECT_EQ(files.openFolder("C:\\", error)->fileSize("link.tmp"), target.string().size());
}

// Waits until `count` folders are read ahead and not taken; false after ten seconds, so that
// workers nobody wakes fail the test instead of hanging it.
bool heldReaches(ReadAhead& ahead, std::size_t count) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ahead.held() < count) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST_F(LinuxFileSystemTest, TheReadAheadsWorkersAreWokenForNewFoldersAndHoldNoMoreThanTheirBound) {
    constexpr std::size_t kBound = ReadAhead::kHeldFolders;
    std::vector<std::string> names;
    for (std::size_t i = 1; i <= kBound + 8; ++i) names.push_back("d" + std::to_string(i));
    for (const std::string& name : names) fs::create_directories(c / name);
    fs::create_directories(c / "d0");
    const UniqueFd root(::open(c.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st {};
    ASSERT_EQ(::fstat(root.get(), &st), 0);
    const auto use = std::make_shared<const ListingUse>(
        ListingUse{[](const FolderEntry&) { return false; }, nullptr});
    ReadAhead ahead;

    // The first folder starts the workers; once they are idle, new folders must wake them.
    const auto first = ahead.schedule(root.get(), st.st_dev, {"d0"}, use);
    ASSERT_TRUE(heldReaches(ahead, 1)) << "d0 was never read";
    ahead.waitIdle();
    const auto rest = ahead.schedule(root.get(), st.st_dev, names, use);
    ASSERT_TRUE(heldReaches(ahead, kBound)) << "idle workers not woken: " << ahead.held();
    ahead.waitIdle();
    EXPECT_EQ(ahead.held(), kBound);
    // A folder taken makes room for one more, which the workers, stopped at the bound, read.
    EXPECT_TRUE(ahead.take(*rest, "d1"));
    ASSERT_TRUE(heldReaches(ahead, kBound)) << "workers at the bound not woken: " << ahead.held();
    ahead.waitIdle();
    EXPECT_EQ(ahead.held(), kBound);
}

}  // namespace
}  // namespace vidor::platform::linux_
