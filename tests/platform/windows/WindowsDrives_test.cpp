#include "platform/windows/WindowsDrives.h"

#include <gtest/gtest.h>

namespace vidor::platform::windows {
namespace {

TEST(WindowsDrivesTest, TypesOfTheSystemsDrivesAndOfStandIns) {
    const DriveTable system;
    WindowsDrives drives(system);
    // Every Windows (and Wine) has C:; no machine of ours has a drive at letter I or at a digit.
    EXPECT_EQ(drives.type('C'), kDriveFixed);
    EXPECT_TRUE(drives.rootListable('C'));
    EXPECT_EQ(drives.type('I'), kDriveNoRoot);

    const DriveTable table{true, {{'E', {kDriveCdRom, "C:\\absent-vidor"}}}};
    WindowsDrives standIns(table);
    EXPECT_EQ(standIns.type('E'), kDriveCdRom);
    EXPECT_EQ(standIns.type('C'), kDriveNoRoot);  // the system's drives are out of reach
    EXPECT_FALSE(standIns.rootListable('E'));
}

}  // namespace
}  // namespace vidor::platform::windows
