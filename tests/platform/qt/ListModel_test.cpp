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

// A line shows the name as it is, spaces included, but for what would break or hide it: a
// control character, or bytes that are no UTF-8, show as replacement characters.
TEST(ListModelTest, ControlCharactersInALineShowAsReplacementCharacters) {
    ListBox list("lDel", {}, 0, ListBox::Selection::Single);
    list.addItem("C:\\ a\tb\x01\x1f\x7f .tmp ");
    list.addItem("C:\\\xff.tmp");
    ListModel model(list);
    const auto line = [&model](int row) {
        return model.data(model.index(row), Qt::DisplayRole).toString();
    };
    EXPECT_EQ(line(0).toStdString(), "C:\\ a\uFFFDb\uFFFD\uFFFD\uFFFD .tmp ");
    EXPECT_EQ(line(1).toStdString(), "C:\\\uFFFD.tmp");
}

}  // namespace
}  // namespace vidor::platform::qt
