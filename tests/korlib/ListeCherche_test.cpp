#include "korlib/ListeCherche.h"

#include <gtest/gtest.h>

namespace vidor::korlib {
namespace {

TEST(ListeChercheTest, FindsTheFirstEqualItemIgnoringCase) {
    const std::vector<std::string> drives = {"A:", "C:", "D:"};
    EXPECT_EQ(ListeCherche(drives, "c:"), 1);
    const std::vector<std::string> extensions = {"bak", "TMP2", "old", "tmp", "Tmp"};
    EXPECT_EQ(ListeCherche(extensions, "TMP"), 3);
    EXPECT_EQ(ListeCherche(extensions, "tmp2"), 1);
    EXPECT_EQ(ListeCherche({"été", "ÉTÉ"}, "ÉtÉ"), 0);
}

TEST(ListeChercheTest, StarMakesAPrefixSearch) {
    const std::vector<std::string> items = {"bak", "TMP2", "tmp"};
    EXPECT_EQ(ListeCherche(items, "TM*"), 1);
    EXPECT_EQ(ListeCherche(items, "*"), 0);
    EXPECT_EQ(ListeCherche(items, "tmp2x*"), -1);
}

TEST(ListeChercheTest, NothingFound) {
    EXPECT_EQ(ListeCherche({}, "tmp"), -1);
    EXPECT_EQ(ListeCherche({}, "*"), -1);
    EXPECT_EQ(ListeCherche({"tmp"}, ""), -1);
    EXPECT_EQ(ListeCherche({"tmp"}, "tm"), -1);
}

}  // namespace
}  // namespace vidor::korlib
