#include "platform/windows/WindowsFileSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>

#include "tests/support/Sandbox.h"
#include "tests/support/TestMachine.h"
#include "tests/support/Unprivileged.h"

namespace vidor::platform::windows {
namespace {

namespace fs = std::filesystem;

// Wine has no links or junctions of Windows' kind, and deletes a link's target when asked to
// delete the link by handle.
bool underWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
}

class WindowsFileSystemTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c;E=2:e"};
    fs::path c = sandbox.drive('C');
    test::TestMachine machine{test::kTestProgram, {}};
    WindowsFileSystem& files = machine.files();
};

TEST_F(WindowsFileSystemTest, TheRecycleBinTakesOnlyWhatItCanKeep) {
    // A name of this run's own: Wine puts the recycle bin's files in the Unix user's trash.
    const std::string name = sandbox.dir().path().filename().string() + ".tmp";
    test::writeFile(c / name, "x");
    test::writeFile(c / "ouvert.tmp", "x");
    test::writeFile(sandbox.drive('E') / "amovible.tmp", "x");
    EXPECT_TRUE(files.moveToTrash("C:\\" + name));
    EXPECT_FALSE(fs::exists(c / name));
    if (underWine()) EXPECT_TRUE(fs::exists(sandbox.trashFiles() / name));

    // A file in use stays, and is not counted as moved.
    const auto held = test::keepInUse(c / "ouvert.tmp");
    ASSERT_TRUE(held);
    EXPECT_FALSE(files.moveToTrash("C:\\ouvert.tmp"));
    EXPECT_TRUE(fs::exists(c / "ouvert.tmp"));

    // A drive without a recycle bin: the file is neither moved nor deleted.
    EXPECT_FALSE(files.moveToTrash("E:\\amovible.tmp"));
    EXPECT_TRUE(fs::exists(sandbox.drive('E') / "amovible.tmp"));
}

TEST_F(WindowsFileSystemTest, LinksAndJunctionsAreNeverEnteredNorFollowed) {
    if (underWine()) GTEST_SKIP() << "runs on real Windows only: Wine makes no Windows links";
    test::writeFile(c / "cible" / "garder.tmp", "x");
    fs::create_directories(c / "liens");
    fs::create_directory_symlink(c / "cible", c / "liens" / "lien-dossier");
    fs::create_symlink(c / "cible" / "garder.tmp", c / "liens" / "lien-fichier.tmp");
    FolderError error;
    EXPECT_FALSE(files.openFolder("C:\\liens\\lien-dossier", error));
    EXPECT_TRUE(error.silent);
    const auto folder = files.openFolder("C:\\liens", error);
    ASSERT_TRUE(folder);
    std::map<std::string, EntryKind> listed;
    for (FolderEntry entry; folder->next(entry);) listed[entry.name] = entry.kind;
    const std::map<std::string, EntryKind> expected{{"lien-dossier", EntryKind::File},
                                                    {"lien-fichier.tmp", EntryKind::File}};
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(folder->deleteFile("lien-fichier.tmp"));
    EXPECT_TRUE(folder->deleteFile("lien-dossier"));
    EXPECT_TRUE(fs::exists(c / "cible" / "garder.tmp"));
    EXPECT_TRUE(fs::is_empty(c / "liens"));
}

}  // namespace
}  // namespace vidor::platform::windows
