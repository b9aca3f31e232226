#include "korlib/ListeCherche.h"

#include <gtest/gtest.h>

namespace vidor::korlib {
namespace {

TEST(ListeChercheTest, FindsTheFirstItemEqualIgnoringCaseOrStartingWithTheTextBeforeAStar) {
    platform::ListBox list("l", {}, 0, platform::ListBox::Selection::Multiple);
    EXPECT_EQ(ListeCherche(list, "*"), -1);
    for (const char* item : {"bak", "TMP2", "old", "tmp", "Tmp", "été", "ÉTÉ"}) list.addItem(item);
    const std::pair<const char*, int> cases[] = {
        {"TMP", 3},     {"tmp2", 1}, {"ÉtÉ", 5}, {"TM*", 1},   {"*", 0},
        {"tmp2x*", -1}, {"", -1},    {"tm", -1}, {"ol*d", -1},
    };
    for (const auto& [text, index] : cases) EXPECT_EQ(ListeCherche(list, text), index) << text;
}

}  // namespace
}  // namespace vidor::korlib
