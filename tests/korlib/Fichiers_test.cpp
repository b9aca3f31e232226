#include "korlib/Fichiers.h"

#include <gtest/gtest.h>

#include "platform/linux/LinuxFileSystem.h"
#include "tests/support/Sandbox.h"

namespace vidor::korlib {
namespace {

namespace fs = std::filesystem;

class FichiersTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c"};
    platform::linux_::DriveMap map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxFileSystem files{map};
    fs::path c = sandbox.drive('C');
};

TEST_F(FichiersTest, RepertoireCreeMakesTheMissingFoldersInsideTheDriveOnly) {
    test::writeFile(c / "A" / "keep.txt", "x");
    fs::create_directories(sandbox / "outside");
    fs::create_directory_symlink(sandbox / "outside", c / "link");
    for (const char* path :
         {"C:\\A\\B\\C\\", "  C:\\X\\Y  ", "", "   ", "C:", "C:\\", "C:\\A", "C:\\link\\inner"}) {
        RepertoireCree(files, path);
    }
    EXPECT_TRUE(fs::is_directory(c / "A" / "B" / "C"));
    EXPECT_TRUE(fs::is_directory(c / "X" / "Y"));
    EXPECT_EQ(test::readFile(c / "A" / "keep.txt"), "x");
    EXPECT_FALSE(fs::exists(sandbox / "outside" / "inner"));
    EXPECT_EQ(std::distance(fs::directory_iterator(c), fs::directory_iterator()), 3);
}

TEST_F(FichiersTest, ExistenceTestsTellFoldersFromFiles) {
    test::writeFile(c / "WINDOWS" / "a.tmp");
    EXPECT_TRUE(RepertoireExiste(files, "C:\\WINDOWS"));
    EXPECT_TRUE(RepertoireExiste(files, "C:\\WINDOWS\\"));
    EXPECT_TRUE(RepertoireExiste(files, "C:\\"));
    EXPECT_FALSE(RepertoireExiste(files, "C:\\WINDOWS\\a.tmp"));
    EXPECT_FALSE(RepertoireExiste(files, "C:\\NONE"));
    EXPECT_FALSE(RepertoireExiste(files, "Q:\\"));

    EXPECT_TRUE(FichierExiste(files, "C:\\WINDOWS\\a.tmp"));
    EXPECT_FALSE(FichierExiste(files, "C:\\WINDOWS"));
    EXPECT_FALSE(FichierExiste(files, "C:\\WINDOWS\\b.tmp"));
    // The machine's own paths, for the self-update.
    EXPECT_TRUE(FichierExiste(files, (c / "WINDOWS" / "a.tmp").string()));
    EXPECT_TRUE(RepertoireExiste(files, (c / "WINDOWS").string() + "/"));
}

}  // namespace
}  // namespace vidor::korlib
