#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;
using test::itemsOf;
using Items = std::vector<std::string>;

// The review after a census of C: for tmp files, then the deletion.
class ReviewTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c"};
    fs::path c = sandbox.drive('C');
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
        run->load();
        app::F_Main& form = *run->form;
        test::selectOnly(form.lExt, {"tmp"});
        form.poubel.setValue(toTrash ? 1 : 0);
        EXPECT_EQ(run->act([&] { form.bGo.press(); }), std::nullopt);
        return form;
    }
};

TEST_F(ReviewTest, TheReviewWaitsAndConserverTakesLinesOffSelectingTheOneInTheirPlace) {
    app::F_Main& form =
        census({{"a/1.tmp", "12"}, {"b/2.tmp", "12"}, {"c/3.tmp", "12"}, {"d/4.tmp", "12"}}, true);
    EXPECT_EQ(form.eExec.caption(), "Fichiers à supprimer :");
    EXPECT_EQ(run->windows.beeps, 1);
    EXPECT_TRUE(form.bConserver.visible());
    EXPECT_FALSE(form.bConserver.enabled());
    EXPECT_EQ(form.bEffacer.caption(), "Corbeille  ");
    EXPECT_EQ(form.defaultButton(), &form.bEffacer);
    EXPECT_EQ(form.cancelButton(), &form.bAnn);
    EXPECT_TRUE(form.Poubel2.visible() && form.Poubel2.value() == 1);
    EXPECT_FALSE(form.bAuto.visible());
    EXPECT_FALSE(form.flags.enCours);
    EXPECT_EQ(form.mousePointer(), platform::kPointerDefault);
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
    EXPECT_TRUE(form.bConserver.enabled());
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
    EXPECT_EQ(form.eTaille.caption(), "-1 bytes");

    // The only line: back to the selection panel with an empty list.
    form.lDel.doubleClick();
    EXPECT_EQ(form.lDel.count(), 0);
    EXPECT_TRUE(form.pSaisie.visible());
    EXPECT_FALSE(form.pExec.visible());
    EXPECT_EQ(form.defaultButton(), &form.bGo);
    EXPECT_TRUE(fs::exists(fileOf(lines[0])));
}

TEST_F(ReviewTest, DeletionGoesInListOrderUntilCancelledAndEndsTheProgramWithoutStoringChoices) {
    app::F_Main& form = census({{"x/a.tmp", "a"}, {"x/b.tmp", "b"}, {"y/c.tmp", "c"}}, false);
    const Items listed = itemsOf(form.lDel);
    Items removedAtEachYield;
    run->windows.whileYielding([&] {
        std::string gone;
        for (const std::string& line : listed) {
            if (!fs::exists(fileOf(line))) gone += line + ";";
        }
        removedAtEachYield.push_back(gone);
        return false;
    });
    run->windows.atYield(run->windows.yields + 2, [&] { form.bAnn.press(); });
    EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    EXPECT_EQ(removedAtEachYield, (Items{listed[0] + ";", listed[0] + ";" + listed[1] + ";"}));
    EXPECT_TRUE(fs::exists(fileOf(listed[2])));
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), std::nullopt);
}

TEST_F(ReviewTest, FilesThatCannotBeRemovedStayListedUnderTheirCaption) {
    app::F_Main& form = census({{"a.tmp", "a"}, {"b.tmp", "b"}, {"c.tmp", "c"}}, false);
    // b.tmp became a folder with something in it: it cannot be deleted as a file.
    fs::remove(c / "b.tmp");
    test::writeFile(c / "b.tmp" / "inside", "x");
    form.eExec.setForeColor(platform::kRed);
    EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), std::nullopt);
    EXPECT_EQ(itemsOf(form.lDel), (Items{"C:\\b.tmp"}));
    EXPECT_EQ(form.eExec.caption(), "Impossible de supprimer ces fichiers :");
    EXPECT_EQ(form.eExec.foreColor(), platform::kBlack);
    EXPECT_FALSE(form.bEffacer.visible());
    EXPECT_EQ(run->windows.beeps, 2);
    EXPECT_FALSE(fs::exists(c / "a.tmp"));
    EXPECT_FALSE(fs::exists(c / "c.tmp"));
}

}  // namespace
}  // namespace vidor::census
