#include <gtest/gtest.h>

#include "tests/support/ChildReport.h"
#include "tests/support/Session.h"
#include "tests/support/Unprivileged.h"

namespace vidor::census {
namespace {

namespace fs = std::filesystem;
using test::itemsOf;
using Items = std::vector<std::string>;

// A census of the hard disks C: and E: (the sandbox's folders c and e), the files found left for
// review.
class WalkTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c;E=3:e"};
    fs::path c = sandbox.drive('C');
    // A file name of this test's own, for the trash that Wine shares between tests and runs.
    const std::string own = sandbox.dir().path().filename().string() + ".txt";

    // A session whose census left what it found for review.
    std::unique_ptr<test::Session> census(const test::CensusChoices& choices) {
        auto session = std::make_unique<test::Session>();
        EXPECT_EQ(session->census(choices), std::nullopt);
        return session;
    }
};

TEST_F(WalkTest, ExtensionsOfThousandsMatchTheEndOfTheNameInAnyCaseAndTotalsPassFourGigabytes) {
    // An extension may hold a dot or an accent.
    std::string saved = "tmp\t$$$\ttar.gz\tbäk\t";
    for (int i = 0; i < 10000; ++i) saved += "x" + std::to_string(i) + "\t";
    test::storeUserSetting("Extensions", saved);
    test::storeUserSetting("Extensions sélectionnées", saved);
    for (const char* name : {"A.TMP", "b.tmp", "c.Tmp", "tmp", ".tmp", "x.tmp.bak", "xtmp",
                             "setup.$$$", "d.tmpx", "e.bak.tmp", ".hidden/f.tmp", "a.TAR.GZ",
                             "b.x9999", "c.X0", "d.x10000", "e.gz", "g.tar.gz.bak", "h.tar"}) {
        test::writeFile(c / name, "x");
    }
    test::writeFile(c / u8"f.BÄK", "x");
    for (int i = 0; i < 7; ++i) test::writeFile(c / "n" / ("f" + std::to_string(i) + ".tmp"), "x");
    for (const char* name : {"f0.tmp", "f1.tmp", "f2.tmp"})
        fs::resize_file(c / "n" / name, 2LL * 1024 * 1024 * 1024);  // sparse: no disk space used
    // A read-only file is listed like any other.
    fs::permissions(c / "b.tmp", fs::perms::owner_read | fs::perms::others_read);
    auto session = census({});
    EXPECT_EQ(test::selectedOf(session->form->lExt).size(), 10004u);
    Items found = itemsOf(session->form->lDel);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Items{"C:\\A.TMP", "C:\\a.TAR.GZ", "C:\\b.tmp", "C:\\b.x9999", "C:\\c.Tmp",
                            "C:\\c.X0", "C:\\e.bak.tmp", "C:\\f.BÄK", "C:\\n\\f0.tmp",
                            "C:\\n\\f1.tmp", "C:\\n\\f2.tmp", "C:\\n\\f3.tmp", "C:\\n\\f4.tmp",
                            "C:\\n\\f5.tmp", "C:\\n\\f6.tmp", "C:\\setup.$$$"}));
    // Sixteen lines: the last ten are shown.
    EXPECT_EQ(session->form->lDel.topIndex(), 6);
    EXPECT_EQ(session->form->eTaille.caption(), "6'442'450'957 bytes");
}

TEST_F(WalkTest, FoldersNamedSoArePurgedOnlyWithTheirOwnOptionCountedAndMadeAgainWithTheirRights) {
    // Named so in any letter case.
    const fs::path temp = c / "WINDOWS" / "temp";
    const fs::path internet = c / "u" / "TEMPORARY internet FILES";
    test::writeFile(temp / own, "abc");
    test::writeFile(temp / "x" / "y" / "z.dat", "12345");
    test::writeFile(temp / "keep.tmp", "1");
    test::writeFile(c / "WINDOWS" / "other.tmp", "22");
    test::writeFile(internet / "page.html", "abcd");
    // Folders whose names only end in the same letters are the user's own.
    const char* lookalikes[] = {"Projets/MonTemp", "Contemp", "My Temporary Internet Files"};
    for (const char* name : lookalikes) test::writeFile(c / name / "kept.doc", "k");
    // The folder made again has the rights and owner of the old one, where the system has them.
    const bool givenAway = test::giveAway(temp.string());

    // The internet files' option alone, without the trash: the TEMP folder is walked.
    auto session = census({.extensions = {"tmp"}, .toTrash = false, .purgeInternet = true});
    app::F_Main& form = *session->form;
    EXPECT_TRUE(fs::is_empty(internet));
    // A folder's files come before its sub-folders.
    EXPECT_EQ(itemsOf(form.lDel), (Items{"C:\\WINDOWS\\other.tmp", "C:\\WINDOWS\\temp\\keep.tmp"}));

    // The TEMP folders' option alone, to the trash.
    form.bAnn.press();
    EXPECT_EQ(session->census({.toTrash = true, .purgeTemp = true, .purgeInternet = false}),
              std::nullopt);
    EXPECT_EQ(itemsOf(form.lDel), (Items{"C:\\WINDOWS\\other.tmp"}));
    EXPECT_EQ(form.eTaille.caption(), "11 bytes");
    EXPECT_TRUE(fs::is_empty(temp));  // made again: a missing folder fails here too
    if (givenAway) {
        EXPECT_EQ(test::ownerAndRights(temp.string()), "65534 1777");
    }
    EXPECT_EQ(test::readFile(sandbox.trashFiles() / own), "abc");
    for (const char* name : lookalikes) EXPECT_TRUE(fs::exists(c / name / "kept.doc")) << name;
}

TEST_F(WalkTest, CancelStopsAfterTheCurrentEntryEnteringNoOtherFolderNorTheOtherDrive) {
    for (int i = 0; i < 5; ++i) test::writeFile(c / ("f" + std::to_string(i) + ".tmp"), "x");
    test::writeFile(c / "sub" / "g.tmp", "x");
    test::Session session;
    app::F_Main& form = *session.form;
    Items folders;
    int listed = -1;
    // Yield 1 follows the root's caption; yield 3 follows the second entry of the root.
    session.windows.atYield(3, [&] {
        listed = form.lDel.count();
        form.bAnn.press();
    });
    session.windows.whileYielding([&] {
        if (folders.empty() || folders.back() != form.eExec.caption())
            folders.push_back(form.eExec.caption());
        return false;
    });
    EXPECT_EQ(session.census({.extensions = {"tmp"}}), std::nullopt);
    EXPECT_EQ(folders, (Items{"C:\\"}));
    EXPECT_LE(listed, 2);
    // Back to the choices, where Enter starts a census again.
    EXPECT_TRUE(form.pSaisie.visible());
    EXPECT_EQ(form.defaultButton(), &form.bGo);
}

TEST_F(WalkTest, WhatTheUserMayNotReadOrRemoveIsPassedOverSilentlyAndNotCounted) {
    VIDOR_NEEDS_ANOTHER_USER();
    test::writeFile(c / "locked" / "a.tmp", "x");
    test::writeFile(c / "open" / "b.tmp", "x");
    fs::permissions(c / "locked", fs::perms::owner_all);
    // A TEMP folder open to all, holding a folder only its owner may change.
    test::writeFile(c / "TEMP" / "gone.txt", "abc");
    test::writeFile(c / "TEMP" / "theirs" / "stays.txt", "12345");
    fs::permissions(c / "TEMP", fs::perms::all);
    fs::permissions(c / "TEMP" / "theirs", static_cast<fs::perms>(0505));
    sandbox.shareWithEveryone();
    test::openUpTo(c.string(), sandbox.dir().path().string());
    // As nobody: no message box, and the total counts only what the purge removed.
    const test::ChildReport child;
    const int status = test::asUnprivileged([&] {
        test::Session session;
        if (session.census({.extensions = {"tmp"}, .toTrash = false, .purgeTemp = true}))
            return child.fail("the census ended the program");
        app::F_Main& form = *session.form;
        if (!session.windows.messages.empty())
            return child.fail("a box was shown: " + session.windows.messages[0].text);
        if (itemsOf(form.lDel) != Items{"C:\\open\\b.tmp"})
            return child.fail("the census listed " + test::quotedList(itemsOf(form.lDel)));
        if (form.eTaille.caption() != "4 bytes")
            return child.fail("the total is " + form.eTaille.caption());
        return 0;
    });
    EXPECT_EQ(status, 0) << child.said();
    EXPECT_FALSE(fs::exists(c / "TEMP" / "gone.txt"));
}

TEST_F(WalkTest, AFileInUseIsLeftInThePurgedFolderAndNotCountedAndStaysListedAfterItsRemoval) {
    const std::string gone = own + ".tmp";  // goes to the trash
    test::writeFile(c / gone, "x");
    test::writeFile(c / "b.tmp", "xy");
    test::writeFile(c / "TEMP" / "gone.txt", "abc");
    test::writeFile(c / "TEMP" / "in use.txt", "12345");
    const auto held = test::keepInUse(c / "TEMP" / "in use.txt");
    const auto listed = test::keepInUse(c / "b.tmp");
    if (!held || !listed) GTEST_SKIP() << "a file in use can be removed on this system";
    auto session = census({.extensions = {"tmp"}, .toTrash = false, .purgeTemp = true});
    app::F_Main& form = *session->form;
    EXPECT_EQ(form.eTaille.caption(), "6 bytes");
    EXPECT_TRUE(fs::exists(c / "TEMP" / "in use.txt"));
    EXPECT_FALSE(fs::exists(c / "TEMP" / "gone.txt"));
    // Sent to the trash, the listed file in use stays where it is, and on the list.
    form.poubel.setValue(1);
    EXPECT_EQ(session->act([&] { form.bEffacer.press(); }), std::nullopt);
    EXPECT_EQ(itemsOf(form.lDel), (Items{"C:\\b.tmp"}));
    EXPECT_EQ(form.eExec.caption(), "Impossible de supprimer ces fichiers :");
    EXPECT_TRUE(fs::exists(c / "b.tmp"));
    EXPECT_FALSE(fs::exists(c / gone));
}

}  // namespace
}  // namespace vidor::census
