#include <gtest/gtest.h>

#include "selection/DriveList.h"
#include "selection/SelectionMark.h"

namespace vidor::selection {
namespace {

using platform::ListBox;

// A multiple-selection list holding `items`.
struct List : ListBox {
    List(std::initializer_list<const char*> items) : ListBox("l", {}, 0, Selection::Multiple) {
        for (const char* item : items) addItem(item);
    }
};

TEST(DriveListTest, SavedDrivesAreSelectedAndUnknownOnesSkippedAndNoneMeansEvery) {
    List drives{"C:", "D:", "E:"};
    EXPECT_TRUE(restoreDrives(drives, "Q:\te:\t\"C:\"\t"));
    EXPECT_TRUE(drives.selected(0) && !drives.selected(1) && drives.selected(2));
    List empty{"C:", "D:"};
    EXPECT_FALSE(restoreDrives(empty, ""));
    EXPECT_TRUE(empty.selected(0) && empty.selected(1));
}

TEST(SelectionMarkTest, RecenserNeedsADriveAndAnExtension) {
    List drives{"C:"};
    List extensions{"tmp", "bak"};
    platform::Button go("bGo", {}, 0, "Recenser");
    drives.onClick = [&] { updateMark(drives, drives, extensions, go); };
    extensions.onClick = [&] { updateMark(extensions, drives, extensions, go); };

    extensions.setSelected(1, true);
    EXPECT_EQ(extensions.tag, "OK");
    EXPECT_FALSE(go.enabled());
    drives.setSelected(0, true);
    EXPECT_TRUE(go.enabled());
    extensions.setSelected(1, false);
    EXPECT_EQ(extensions.tag, "");
    EXPECT_FALSE(go.enabled());
}

}  // namespace
}  // namespace vidor::selection
