#include "korlib/Unites.h"

#include <gtest/gtest.h>

#include "platform/linux/LinuxDrives.h"
#include "tests/support/Sandbox.h"

namespace vidor::korlib {
namespace {

namespace fs = std::filesystem;

TEST(UnitesTest, TypeTextsBeginWithTheirDigit) {
    test::Sandbox sandbox("A=2:a;C=3:c;D=4:d;E=5:e;F=6:f;G=0:g;H=9:h");
    const auto map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxDrives drives(map);
    EXPECT_EQ(UniteType(drives, "A"), "2 - lecteur de disquettes");
    EXPECT_EQ(UniteType(drives, "C:"), "3 - disque dur");
    EXPECT_EQ(UniteType(drives, "d:\\some\\path"), "4 - lecteur réseau");
    EXPECT_EQ(UniteType(drives, "E:"), "5 - CD-Rom");
    EXPECT_EQ(UniteType(drives, "F:"), "6 - disque virtuel en mémoire");
    EXPECT_EQ(UniteType(drives, "G:"), "0 - disque de type inconnu (0)");
    EXPECT_EQ(UniteType(drives, "H:"), "0 - disque de type inconnu (9)");
    EXPECT_EQ(UniteType(drives, "Z:"), "1 - disque non présent");
    EXPECT_EQ(UniteType(drives, "1"), "1 - disque non présent");
    EXPECT_EQ(UniteType(drives, ""), "1 - disque non présent");
}

TEST(UnitesTest, ADriveExistsWhenItsRootCanBeListed) {
    test::Sandbox sandbox("C=3:c;E=2:e");
    fs::remove(sandbox.drive('E'));
    const auto map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxDrives drives(map);
    EXPECT_TRUE(UniteExiste(drives, "C"));
    EXPECT_TRUE(UniteExiste(drives, "c:"));
    EXPECT_FALSE(UniteExiste(drives, "E:"));
    EXPECT_FALSE(UniteExiste(drives, "D:"));
    EXPECT_FALSE(UniteExiste(drives, ""));
}

}  // namespace
}  // namespace vidor::korlib
