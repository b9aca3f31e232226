#include "platform/windows/WindowsFileSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/Drives.h"
#include "tests/platform/windows/support/RealWindows.h"
#include "tests/support/TempDir.h"

namespace vidor::platform::windows {
namespace {

namespace fs = std::filesystem;

class WindowsFileSystemTest : public ::testing::Test {
  protected:
    WindowsFileSystemTest() {
        table.standIns = true;
        table.drives['C'] = {kDriveFixed, (dir / "c").string()};
        table.drives['E'] = {kDriveRemovable, (dir / "e").string()};
        fs::create_directories(c);
        fs::create_directories(dir / "e");
    }

    std::map<std::string, EntryKind> listing(const std::string& path) {
        FolderError error;
        const auto folder = files.openFolder(path, error);
        std::map<std::string, EntryKind> entries;
        FolderEntry entry;
        while (folder && folder->next(entry)) entries[entry.name] = entry.kind;
        return entries;
    }

    test::TempDir dir;
    fs::path c = dir / "c";
    DriveTable table;
    WindowsFileSystem files{table};
};

TEST_F(WindowsFileSystemTest, ListsEveryEntryWhateverItsAttributes) {
    test::writeFile(c / "a" / "lecture seule.tmp", "12345");
    test::writeFile(c / "a" / u8"caché.tmp", "x");
    test::writeFile(c / "a" / u8"système.tmp", "xy");
    fs::create_directories(c / "a" / "sous");
    ::SetFileAttributesW((c / "a" / "lecture seule.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW((c / "a" / u8"caché.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW((c / "a" / u8"système.tmp").c_str(),
                         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    const std::map<std::string, EntryKind> expected{{"lecture seule.tmp", EntryKind::File},
                                                    {"caché.tmp", EntryKind::File},
                                                    {"système.tmp", EntryKind::File},
                                                    {"sous", EntryKind::Folder}};
    EXPECT_EQ(listing("C:\\a"), expected);

    FolderError error;
    const auto folder = files.openFolder("C:\\a", error);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->fileSize("lecture seule.tmp"), 5u);
    EXPECT_EQ(folder->fileSize("absent.tmp"), std::nullopt);
    const auto info = files.info("C:\\a\\système.tmp");
    ASSERT_TRUE(info);
    EXPECT_FALSE(info->folder);
    EXPECT_EQ(info->size, 2u);
    EXPECT_TRUE(files.info("C:\\a\\sous")->folder);
    EXPECT_FALSE(files.info("C:\\a\\absent"));

    // Missing folders, files taken for folders and unknown drives are passed over silently.
    for (const std::string path : {"C:\\absent", "C:\\a\\caché.tmp", "Q:\\"}) {
        EXPECT_FALSE(files.openFolder(path, error)) << path;
        EXPECT_TRUE(error.silent) << path;
    }
}

TEST_F(WindowsFileSystemTest, DeletesByHandleOnlyWhatItMay) {
    test::writeFile(c / "d" / u8"protégé.tmp", "x");
    test::writeFile(c / "d" / "plein" / "f.tmp", "x");
    ::SetFileAttributesW((c / "d" / u8"protégé.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
    FolderError error;
    const auto folder = files.openFolder("C:\\d", error);
    ASSERT_TRUE(folder);
    EXPECT_FALSE(folder->deleteFile("protégé.tmp"));  // read-only: refused
    EXPECT_TRUE(fs::exists(c / "d" / u8"protégé.tmp"));
    EXPECT_TRUE(folder->setNormal("protégé.tmp"));
    EXPECT_TRUE(folder->deleteFile("protégé.tmp"));
    EXPECT_FALSE(fs::exists(c / "d" / u8"protégé.tmp"));

    EXPECT_FALSE(folder->deleteFile("plein"));    // a folder is no file
    EXPECT_FALSE(folder->removeFolder("plein"));  // not empty
    EXPECT_TRUE(files.deleteFile("C:\\d\\plein\\f.tmp"));
    EXPECT_TRUE(folder->removeFolder("plein"));
    EXPECT_FALSE(fs::exists(c / "d" / "plein"));

    std::string why;
    EXPECT_FALSE(files.deleteFile("C:\\d\\absent.tmp", &why));
    EXPECT_FALSE(why.empty());
}

TEST_F(WindowsFileSystemTest, PathsLongerThanMaxPathWork) {
    std::string path = "C:";
    fs::path deep = c;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "dossier-au-nom-assez-long-" + std::to_string(i);
        path += "\\" + name;
        deep /= name;
    }
    ASSERT_GT(deep.string().size(), 300u);
    fs::create_directories(L"\\\\?\\" + deep.wstring());
    {
        std::string error;
        ASSERT_TRUE(files.createFolder(path + "\\fin"));
    }
    EXPECT_EQ(listing(path), (std::map<std::string, EntryKind>{{"fin", EntryKind::Folder}}));
    FolderError error;
    const auto folder = files.openFolder(path, error);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->removeFolder("fin"));
    EXPECT_TRUE(listing(path).empty());
}

TEST_F(WindowsFileSystemTest, TheRecycleBinTakesOnlyWhatItCanKeep) {
    test::writeFile(c / "corbeille.tmp", "x");
    test::writeFile(c / "ouvert.tmp", "x");
    test::writeFile(dir / "e" / "amovible.tmp", "x");
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string trash = test::underWine() && data ? "Z:" + std::string(data) + "/Trash" : "";
    EXPECT_TRUE(files.moveToTrash("C:\\corbeille.tmp"));
    EXPECT_FALSE(fs::exists(c / "corbeille.tmp"));
    if (!trash.empty()) {
        // Wine puts the recycle bin's files in the Unix user's trash.
        EXPECT_TRUE(fs::exists(fs::path(trash) / "files" / "corbeille.tmp")) << trash;
    }

    // A file in use stays, and is not counted as moved.
    const HANDLE held = ::CreateFileW((c / "ouvert.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files.moveToTrash("C:\\ouvert.tmp"));
    ::CloseHandle(held);
    EXPECT_TRUE(fs::exists(c / "ouvert.tmp"));

    // A drive without a recycle bin: the file is neither moved nor deleted.
    EXPECT_FALSE(files.moveToTrash("E:\\amovible.tmp"));
    FolderError error;
    EXPECT_FALSE(files.openFolder("E:\\", error)->moveToTrash("amovible.tmp"));
    EXPECT_TRUE(fs::exists(dir / "e" / "amovible.tmp"));
}

TEST_F(WindowsFileSystemTest, LinksAndJunctionsAreNeverEnteredNorFollowed) {
    VIDOR_ON_REAL_WINDOWS_ONLY();
    test::writeFile(c / "cible" / "garder.tmp", "x");
    fs::create_directories(c / "liens");
    fs::create_directory_symlink(c / "cible", c / "liens" / "lien-dossier");
    fs::create_symlink(c / "cible" / "garder.tmp", c / "liens" / "lien-fichier.tmp");
    const std::map<std::string, EntryKind> expected{{"lien-dossier", EntryKind::File},
                                                    {"lien-fichier.tmp", EntryKind::File}};
    EXPECT_EQ(listing("C:\\liens"), expected);
    FolderError error;
    EXPECT_FALSE(files.openFolder("C:\\liens\\lien-dossier", error));
    EXPECT_TRUE(error.silent);
    const auto folder = files.openFolder("C:\\liens", error);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->deleteFile("lien-fichier.tmp"));
    EXPECT_TRUE(folder->deleteFile("lien-dossier"));
    EXPECT_TRUE(fs::exists(c / "cible" / "garder.tmp"));
    EXPECT_TRUE(listing("C:\\liens").empty());
}

}  // namespace
}  // namespace vidor::platform::windows
