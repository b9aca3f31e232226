#include "platform/windows/WindowsDrives.h"

#include <gtest/gtest.h>

#include "platform/windows/DriveDescription.h"

namespace vidor::platform::windows {
namespace {

TEST(WindowsDrivesTest, TypesAndTipsOfTheSystemsDrivesOfStandInsAndOfEveryKindOfVolume) {
    const DriveTable system;
    WindowsDrives drives(system);
    // Every Windows (and Wine) has C:; no machine of ours has a drive at letter I or at a digit.
    EXPECT_EQ(drives.type('C'), kDriveFixed);
    EXPECT_TRUE(drives.rootListable('C'));
    EXPECT_EQ(drives.type('I'), kDriveNoRoot);
    // The tip of C: names a hard disk as a user knows it, not the device behind the letter.
    const std::string tip = drives.location('C');
    EXPECT_TRUE(tip == "Disque dur" || tip.ends_with(" (disque dur)")) << tip;
    // Other volumes by their label and kind.
    EXPECT_EQ(driveDescription("Données", kDriveRemovable), "Données (disque amovible)");
    EXPECT_EQ(driveDescription("\\\\serveur\\partage", kDriveRemote),
              "\\\\serveur\\partage (lecteur réseau)");
    EXPECT_EQ(driveDescription("", kDriveFixed), "Disque dur");

    const DriveTable table{true, {{'E', {kDriveCdRom, "C:\\absent-vidor"}}}};
    WindowsDrives standIns(table);
    EXPECT_EQ(standIns.type('E'), kDriveCdRom);
    EXPECT_EQ(standIns.type('C'), kDriveNoRoot);  // the system's drives are out of reach
    EXPECT_FALSE(standIns.rootListable('E'));
}

}  // namespace
}  // namespace vidor::platform::windows
