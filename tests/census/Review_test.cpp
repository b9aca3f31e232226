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
    fs::path fileOf(const std::string& line) const {
        fs::path file = c;
        std::string rest = line.substr(3);
        for (std::size_t at = rest.find('\\'); at != std::string::npos; at = rest.find('\\')) {
            file /= rest.substr(0, at);
            rest.erase(0, at + 1);
        }
        return file / rest;
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

TEST_F(ReviewTest, TheReviewShowsTheListAndWaitsForTheUser) {
    app::F_Main& form = census({{"a.tmp", "1"}}, true);
    EXPECT_EQ(form.eExec.caption(), "Fichiers à supprimer :");
    EXPECT_EQ(run->windows.beeps, 1);
    EXPECT_TRUE(form.bConserver.visible());
    EXPECT_FALSE(form.bConserver.enabled());
    EXPECT_TRUE(form.bEffacer.visible());
    EXPECT_EQ(form.bEffacer.caption(), "Corbeille  ");
    EXPECT_EQ(form.defaultButton(), &form.bEffacer);
    EXPECT_EQ(form.cancelButton(), &form.bAnn);
    EXPECT_TRUE(form.Poubel2.visible());
    EXPECT_EQ(form.Poubel2.value(), 1);
    EXPECT_FALSE(form.bAuto.visible());
    EXPECT_FALSE(form.flags.enCours);
    EXPECT_EQ(form.mousePointer(), platform::kPointerDefault);
}

TEST_F(ReviewTest, ConserverTakesTheSelectedLineOffAndSelectsTheNext) {
    app::F_Main& form = census({{"a/1.tmp", "1"}, {"b/22.tmp", "22"}, {"c/333.tmp", "333"}}, false);
    ASSERT_EQ(itemsOf(form.lDel).size(), 3u);
    const Items before = itemsOf(form.lDel);
    EXPECT_EQ(form.eTaille.caption(), "6 bytes");

    form.lDel.setListIndex(1);  // a click on the middle line
    EXPECT_TRUE(form.bConserver.enabled());
    const std::size_t middle = test::readFile(fileOf(before[1])).size();
    form.bConserver.press();
    EXPECT_EQ(itemsOf(form.lDel), (Items{before[0], before[2]}));
    EXPECT_EQ(form.lDel.listIndex(), 1);
    EXPECT_TRUE(form.bConserver.enabled());
    EXPECT_EQ(form.eTaille.caption(), std::to_string(6 - middle) + " bytes");

    // The last line: the new last line is selected.
    form.bConserver.press();
    EXPECT_EQ(itemsOf(form.lDel), (Items{before[0]}));
    EXPECT_EQ(form.lDel.listIndex(), 0);

    // The only line: back to the selection panel with an empty list.
    form.lDel.doubleClick();
    EXPECT_EQ(form.lDel.count(), 0);
    EXPECT_TRUE(form.pSaisie.visible());
    EXPECT_FALSE(form.pExec.visible());
    EXPECT_EQ(form.eTaille.caption(), "0 bytes");
    // Nothing was deleted.
    EXPECT_TRUE(fs::exists(c / "a" / "1.tmp"));
}

TEST_F(ReviewTest, TheTotalFallsByTheFilesSizeNow) {
    app::F_Main& form = census({{"a.tmp", "12345"}, {"b.tmp", "1"}}, false);
    test::writeFile(c / "a.tmp", "1234567890");  // grew since the census
    form.lDel.setListIndex(form.lDel.item(0) == "C:\\a.tmp" ? 0 : 1);
    form.bConserver.press();
    EXPECT_EQ(form.eTaille.caption(), "-4 bytes");
    // A file gone meanwhile: its line goes, the total stays.
    fs::remove(c / "b.tmp");
    form.lDel.setListIndex(0);
    form.bConserver.press();
    EXPECT_EQ(form.eTaille.caption(), "-4 bytes");
}

TEST_F(ReviewTest, DeletionGoesInListOrderAndEndsTheProgramWithoutStoringChoices) {
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
    EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    EXPECT_EQ(removedAtEachYield, (Items{listed[0] + ";", listed[0] + ";" + listed[1] + ";",
                                         listed[0] + ";" + listed[1] + ";" + listed[2] + ";"}));
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

TEST_F(ReviewTest, TheTrashKeepsEachFileWithItsInformationAndBothOfTwoSameNames) {
    app::F_Main& form = census({{"x/same.tmp", "first"}, {"y/same.tmp", "second"}}, true);
    EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    std::set<std::string> contents;
    std::set<std::string> paths;
    for (const auto& entry : fs::directory_iterator(sandbox.trashFiles())) {
        contents.insert(test::readFile(entry.path()));
        const std::string info =
            test::readFile(sandbox.trashInfo() / (entry.path().filename().string() + ".trashinfo"));
        ASSERT_TRUE(info.starts_with("[Trash Info]\nPath=")) << info;
        paths.insert(info.substr(18, info.find('\n', 18) - 18));
        EXPECT_NE(info.find("\nDeletionDate="), std::string::npos);
    }
    EXPECT_EQ(contents, (std::set<std::string>{"first", "second"}));
    EXPECT_EQ(paths, (std::set<std::string>{(c / "x" / "same.tmp").string(),
                                            (c / "y" / "same.tmp").string()}));
    EXPECT_FALSE(fs::exists(c / "x" / "same.tmp"));
}

TEST_F(ReviewTest, CancelDuringTheDeletionEndsIt) {
    app::F_Main& form = census({{"a.tmp", "a"}, {"b.tmp", "b"}, {"c.tmp", "c"}}, false);
    run->windows.atYield(run->windows.yields + 1, [&] { form.bAnn.press(); });
    EXPECT_EQ(run->act([&] { form.bEffacer.press(); }), platform::kExitNormal);
    int left = 0;
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) left += fs::exists(c / name);
    EXPECT_EQ(left, 2);
}

TEST_F(ReviewTest, NothingFoundClosesTheWindowAndStoresTheChoices) {
    run = std::make_unique<test::Session>();
    run->load();
    EXPECT_EQ(run->act([&] { run->form->bGo.press(); }), platform::kExitNormal);
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "C:\t");
}

}  // namespace
}  // namespace vidor::census
