#include "platform/qt/ListModel.h"

#include <gtest/gtest.h>

namespace vidor::platform::qt {
namespace {

// A deletion takes lines off one after the other at one place: the view hears of the first at
// once and of the others in one batch, and meanwhile each row it shows is the right line or none.
TEST(ListModelTest, LinesTakenOffOneAfterTheOtherAreShownRightBeforeTheyAreAnnounced) {
    ListBox list("lDel", {}, 0, ListBox::Selection::Single);
    for (const char* line : {"a", "b", "c", "d", "e"}) list.addItem(line);
    ListModel model(list);
    const auto row = [&model](int row) { return model.data(model.index(row), Qt::DisplayRole); };
    for (int i = 0; i < 3; ++i) {
        list.removeItem(1);
        model.listChanged(ListChange::Removed, 1);
    }
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(row(0).toString(), "a");
    EXPECT_FALSE(row(1).isValid());
    EXPECT_FALSE(row(2).isValid());
    EXPECT_EQ(row(3).toString(), "e");
    EXPECT_EQ(model.viewRow(1), 3);
    EXPECT_EQ(model.listLine(3), 1);
    EXPECT_EQ(model.listLine(2), -1);
    model.flush();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(row(1).toString(), "e");
    EXPECT_EQ(model.viewRow(1), 1);
}

}  // namespace
}  // namespace vidor::platform::qt
