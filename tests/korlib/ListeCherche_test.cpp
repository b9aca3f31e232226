#include "korlib/ListeCherche.h"

#include <gtest/gtest.h>

namespace vidor::korlib {
namespace {

// A list holding `items`.
struct List : platform::ListBox {
    List(std::initializer_list<const char*> items) : ListBox("l", {}, 0, Selection::Multiple) {
        for (const char* item : items) addItem(item);
    }
};

TEST(ListeChercheTest, FindsTheFirstEqualItemIgnoringCase) {
    const List drives{"A:", "C:", "D:"};
    EXPECT_EQ(ListeCherche(drives, "c:"), 1);
    const List extensions{"bak", "TMP2", "old", "tmp", "Tmp"};
    EXPECT_EQ(ListeCherche(extensions, "TMP"), 3);
    EXPECT_EQ(ListeCherche(extensions, "tmp2"), 1);
    EXPECT_EQ(ListeCherche(List{"été", "ÉTÉ"}, "ÉtÉ"), 0);
}

TEST(ListeChercheTest, StarMakesAPrefixSearch) {
    const List items{"bak", "TMP2", "tmp"};
    EXPECT_EQ(ListeCherche(items, "TM*"), 1);
    EXPECT_EQ(ListeCherche(items, "*"), 0);
    EXPECT_EQ(ListeCherche(items, "tmp2x*"), -1);
}

TEST(ListeChercheTest, NothingFound) {
    EXPECT_EQ(ListeCherche(List{}, "tmp"), -1);
    EXPECT_EQ(ListeCherche(List{}, "*"), -1);
    EXPECT_EQ(ListeCherche(List{"tmp"}, ""), -1);
    EXPECT_EQ(ListeCherche(List{"tmp"}, "tm"), -1);
}

}  // namespace
}  // namespace vidor::korlib
