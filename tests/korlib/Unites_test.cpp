#include "korlib/Unites.h"

#include <gtest/gtest.h>

#include "platform/linux/LinuxDrives.h"
#include "tests/support/Sandbox.h"

namespace vidor::korlib {
namespace {

TEST(UnitesTest, TypeTextsBeginWithTheirDigitAndADriveExistsWhenItsRootCanBeListed) {
    test::Sandbox sandbox("A=2:a;C=3:c;D=4:d;E=5:e;F=6:f;G=0:g;H=9:h");
    std::filesystem::remove(sandbox.drive('E'));
    const auto map = platform::linux_::DriveMap::fromSystem();
    platform::linux_::LinuxDrives drives(map);
    const std::pair<const char*, const char*> types[] = {
        {"A", "2 - lecteur de disquettes"},       {"C:", "3 - disque dur"},
        {"d:\\some\\path", "4 - lecteur réseau"}, {"E:", "5 - CD-Rom"},
        {"F:", "6 - disque virtuel en mémoire"},  {"G:", "0 - disque de type inconnu (0)"},
        {"H:", "0 - disque de type inconnu (9)"}, {"Z:", "1 - disque non présent"},
        {"1", "1 - disque non présent"},          {"", "1 - disque non présent"},
    };
    for (const auto& [drive, type] : types) EXPECT_EQ(UniteType(drives, drive), type);
    EXPECT_TRUE(UniteExiste(drives, "C"));
    EXPECT_TRUE(UniteExiste(drives, "c:"));
    EXPECT_FALSE(UniteExiste(drives, "E:"));
    EXPECT_FALSE(UniteExiste(drives, "Z:"));
    EXPECT_FALSE(UniteExiste(drives, ""));
}

}  // namespace
}  // namespace vidor::korlib
