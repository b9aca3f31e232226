#include "tests/support/CensusTest.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;
using test::itemsOf;
using Items = std::vector<std::string>;

// The review after a census of C: for tmp files, then the deletion.
class ReviewTest : public test::CensusTest {
  protected:
    std::unique_ptr<test::Session> run;

    // The file named by a line of the list.
    fs::path fileOf(std::string line) const {
        std::replace(line.begin(), line.end(), '\\', '/');
        return c / line.substr(3);
    }

    app::F_Main& census(const std::vector<std::pair<std::string, std::string>>& files,
                        bool toTrash) {
        for (const auto& [name, contents] : files) test::writeFile(c / name, contents);
        run = std::make_unique<test::Session>();
        EXPECT_EQ(run->census({.extensions = {"tmp"}, .toTrash = toTrash}), std::nullopt);
        return *run->form;
    }
};

TEST_F(ReviewTest, TheReviewWaitsAndConserverTakesLinesOffSelectingTheOneInTheirPlace) {
    app::F_Main& form =
        census({{"a/1.tmp", "12"}, {"b/2.tmp", "12"}, {"c/3.tmp", "12"}, {"d/4.tmp", "12"}}, true);
    // The review waits: Enter deletes, Escape cancels, nothing is kept before a line is chosen.
    EXPECT_EQ(form.defaultButton(), &form.bEffacer);
    EXPECT_EQ(form.cancelButton(), &form.bAnn);
    EXPECT_FALSE(form.bConserver.enabled());
    const Items lines = itemsOf(form.lDel);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(form.eTaille.caption(), "8 bytes");

    form.lDel.setListIndex(1);  // a click on the second line
    EXPECT_TRUE(form.bConserver.enabled());
    // The total falls by the file's size now: it grew since the census.
    test::writeFile(fileOf(lines[1]), "1234567");
    form.bConserver.press();
    EXPECT_EQ(itemsOf(form.lDel), (Items{lines[0], lines[2], lines[3]}));
    EXPECT_EQ(form.lDel.listIndex(), 1);
    EXPECT_EQ(form.eTaille.caption(), "1 bytes");

    // The last line, of a file gone meanwhile: its line goes, the total stays.
    fs::remove(fileOf(lines[3]));
    form.lDel.setListIndex(2);
    form.bConserver.press();
    EXPECT_EQ(itemsOf(form.lDel), (Items{lines[0], lines[2]}));
    EXPECT_EQ(form.lDel.listIndex(), 1);
    EXPECT_EQ(form.eTaille.caption(), "1 bytes");

    form.bConserver.press();
    EXPECT_EQ(itemsOf(form.lDel), (Items{lines[0]}));
    EXPECT_EQ(form.lDel.listIndex(), 0);
    EXPECT_TRUE(form.bConserver.enabled());  // the first line may be kept too
    EXPECT_EQ(form.eTaille.caption(), "-1 bytes");

    // The only line: back to the selection panel with an empty list.
    form.lDel.doubleClick();
    EXPECT_EQ(form.lDel.count(), 0);
    EXPECT_TRUE(form.pSaisie.visible());
    EXPECT_EQ(form.defaultButton(), &form.bGo);
    EXPECT_TRUE(fs::exists(fileOf(lines[0])));
}

TEST_F(ReviewTest, DeletionGoesInListOrderUntilCancelledAndEndsTheProgramWithoutStoringChoices) {
    app::F_Main& form = census({{"x/a.tmp", "a"}, {"x/b.tmp", "b"}, {"y/c.tmp", "c"}}, false);
    const Items listed = itemsOf(form.lDel);
    // One file for each yield, in list order: "Annuler" at the second stops before the third.
    run->windows.atYield(run->windows.yields + 2, [&] { form.bAnn.press(); });
    EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    EXPECT_FALSE(fs::exists(fileOf(listed[0])) || fs::exists(fileOf(listed[1])));
    EXPECT_TRUE(fs::exists(fileOf(listed[2])));
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), std::nullopt);
}

}  // namespace
}  // namespace vidor::census
