// What the program expects of the file system of every machine, checked on the backend of the
// system the tests are built for.

#include <gtest/gtest.h>

#include <map>

#include "tests/support/Sandbox.h"
#include "tests/support/TestMachine.h"

namespace vidor::platform {
namespace {

namespace fs = std::filesystem;
using Listing = std::map<std::string, EntryKind>;

class FileSystemTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c"};
    fs::path c = sandbox.drive('C');
    test::TestMachine machine{test::kTestProgram, {}};
    FileSystem& files = machine.files();

    std::unique_ptr<Folder> open(const std::string& path) {
        FolderError error;
        return files.openFolder(path, error);
    }

    Listing listing(const std::string& path) {
        Listing entries;
        const auto folder = open(path);
        for (FolderEntry entry; folder && folder->next(entry);) entries[entry.name] = entry.kind;
        return entries;
    }
};

TEST_F(FileSystemTest, FoldersListTheirEntriesAndGiveSizesWhatIsMissingIsPassedOverSilently) {
    test::writeFile(c / "a" / "cinq.tmp", "12345");
    test::writeFile(c / "a" / u8".cachée", "");
    test::writeFile(c / "a" / "sous" / "f", "x");
    EXPECT_EQ(listing("C:\\a"), (Listing{{"cinq.tmp", EntryKind::File},
                                         {".cachée", EntryKind::File},
                                         {"sous", EntryKind::Folder}}));
    const auto folder = open("C:\\a");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->fileSize("cinq.tmp"), 5u);
    EXPECT_EQ(folder->fileSize("absent.tmp"), std::nullopt);
    // A read that runs past a file's end, as in a cache entry cut short, gives nothing.
    const auto five = folder->openFile("cinq.tmp");
    ASSERT_TRUE(five);
    EXPECT_EQ(five->readAt(1, 4), "2345");
    EXPECT_EQ(five->readAt(3, 4), std::nullopt);
    EXPECT_EQ(five->readAt(5, 1), std::nullopt);
    EXPECT_TRUE(files.info("C:\\a\\sous").value().folder);
    EXPECT_FALSE(files.info("C:\\a\\absent"));
    // A drive's root, with or without its backslash.
    EXPECT_EQ(listing("C:"), listing("C:\\"));
    EXPECT_TRUE(files.info("C:").value().folder);

    // Missing folders, files taken for folders and unknown drives.
    for (const std::string path : {"C:\\absent", "C:\\a\\cinq.tmp", "Q:\\"}) {
        FolderError error;
        EXPECT_FALSE(files.openFolder(path, error)) << path;
        EXPECT_TRUE(error.silent) << path;
    }
}

TEST_F(FileSystemTest, FilesAndEmptyFoldersAreRemovedOnlyAsWhatTheyAreAndNeverAboveTheDrive) {
    test::writeFile(c / "d" / "a.tmp", "x");
    test::writeFile(c / "d" / "b.tmp", "x");
    test::writeFile(c / "d" / "plein.tmp" / "f.tmp", "x");
    const auto folder = open("C:\\d");
    ASSERT_TRUE(folder);
    EXPECT_FALSE(files.deleteFile("C:\\d\\plein.tmp"));  // a folder is no file
    EXPECT_FALSE(folder->deleteFile("plein.tmp"));
    EXPECT_FALSE(folder->removeFolder("plein.tmp"));  // not empty
    EXPECT_TRUE(fs::exists(c / "d" / "plein.tmp" / "f.tmp"));

    EXPECT_TRUE(folder->deleteFile("a.tmp"));
    EXPECT_TRUE(files.deleteFile("C:\\d\\plein.tmp\\f.tmp"));
    // A folder removed while it is held open can be made again in its place, like itself.
    const auto held = open("C:\\d\\plein.tmp");
    ASSERT_TRUE(held);
    EXPECT_TRUE(folder->removeFolder("plein.tmp"));
    EXPECT_TRUE(folder->createFolderLike("plein.tmp", *held));

    // Dot names never climb out of the drive, nor give the trash a folder.
    test::writeFile(sandbox / "secret.tmp", "x");
    EXPECT_FALSE(files.info("C:\\..\\secret.tmp"));
    EXPECT_FALSE(files.deleteFile("C:\\.\\..\\secret.tmp"));
    for (const std::string path : {"C:\\..\\secret.tmp", "C:\\d\\..", "C:\\d\\."})
        EXPECT_FALSE(files.moveToTrash(path)) << path;
    EXPECT_FALSE(files.createFolder("C:\\..\\nouveau"));
    EXPECT_TRUE(listing("C:\\..").empty());
    EXPECT_TRUE(fs::exists(sandbox / "secret.tmp"));
    EXPECT_FALSE(fs::exists(sandbox / "nouveau"));
    EXPECT_EQ(listing("C:\\d"),
              (Listing{{"b.tmp", EntryKind::File}, {"plein.tmp", EntryKind::Folder}}));
}

TEST_F(FileSystemTest, ACopyReplacesItsTargetWholeOrNotAtAll) {
    test::writeFile(c / "maj" / "nouveau.exe", "nouvelle version");
    test::writeFile(c / "prog" / "Vidor.exe", "ancienne");
    std::string error;
    EXPECT_TRUE(files.copyFile("C:\\maj\\nouveau.exe", "C:\\prog\\Vidor.exe", error)) << error;
    EXPECT_EQ(test::readFile(c / "prog" / "Vidor.exe"), "nouvelle version");
    EXPECT_FALSE(files.copyFile("C:\\maj\\absent.exe", "C:\\prog\\Vidor.exe", error));
    EXPECT_EQ(test::readFile(c / "prog" / "Vidor.exe"), "nouvelle version");
    EXPECT_EQ(listing("C:\\prog"), (Listing{{"Vidor.exe", EntryKind::File}}));
}

}  // namespace
}  // namespace vidor::platform
