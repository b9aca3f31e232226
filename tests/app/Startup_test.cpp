#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::app {
namespace {

using test::itemsOf;
using test::selectedOf;
using Items = std::vector<std::string>;

// Drives: C and G hard disks, D removable, E network, F CD-ROM, R RAM disk, H unknown type,
// K a hard disk whose folder is gone.
constexpr const char* kDrives = "C=3:c;D=2:d;E=4:e;F=5:f;G=3:g;H=0:h;K=3:k;R=6:r";
// The forbidden list written when none is stored.
constexpr const char* kForbidden =
    "ACL,BAT,CAB,CFG,CNT,COM,CPL,DA0,DAK,DAT,DLL,DOC,DOK,DOS,DOT,DRV,EXE,FON,GDI,GIF,ICM,ICO,"
    "INF,INI,JPG,LNK,LST,NLS,MPD,OCA,OCX,OLB,PCX,PDR,PIF,PPT,REG,RSC,SCF,SCR,SRG,SYS,TLB,TRN,"
    "TTF,TWD,TXT,VDX,XLM,XLS,XLW,";

class StartupTest : public ::testing::Test {
  protected:
    StartupTest() { std::filesystem::remove(sandbox.drive('K')); }
    test::Sandbox sandbox{kDrives};
};

TEST_F(StartupTest, FirstStartListsDrivesAndDefaultsSelectsTheHardDisksAndKeepsOutASecondCopy) {
    test::Session session;
    ASSERT_EQ(session.load(), std::nullopt);
    F_Main& form = *session.form;

    EXPECT_EQ(form.caption(), "(Vidor v6.0.24) Suppression des fichiers temporaires");
    EXPECT_EQ(itemsOf(form.lUnites), (Items{"C:", "D:", "E:", "G:"}));
    EXPECT_EQ(selectedOf(form.lUnites), (Items{"C:", "G:"}));
    EXPECT_EQ(itemsOf(form.lExt), (Items{"bak", "tmp", "syd", "$$$", "wbk", "old", "chk", "log"}));
    EXPECT_EQ(selectedOf(form.lExt), (Items{"tmp", "syd", "$$$", "old", "chk"}));
    EXPECT_EQ(form.lUnites.tag, "OK");
    EXPECT_EQ(form.lExt.tag, "OK");
    EXPECT_TRUE(form.bGo.enabled());
    EXPECT_EQ(form.defaultButton(), &form.bGo);
    EXPECT_EQ(form.bAuto.caption(), "Auto");
    EXPECT_FALSE(form.flags.modeAuto);
    // Centred, with only the selection panel shown, at the top left.
    EXPECT_EQ(form.place().left, (session.windows.screenWidth() - form.width()) / 2);
    EXPECT_EQ(form.place().top, (session.windows.screenHeight() - form.height()) / 2);
    EXPECT_EQ(form.height(), 3720);
    EXPECT_TRUE(form.pSaisie.visible());
    EXPECT_FALSE(form.pExec.visible());
    EXPECT_EQ(form.pExec.place().left + form.pExec.place().top, 0);

    EXPECT_EQ(test::userSetting("Extensions interdites"), kForbidden);
    // Only the forbidden list is written at start-up: the defaults are not.
    EXPECT_EQ(test::userSetting("Extensions"), std::nullopt);
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), std::nullopt);
    EXPECT_TRUE(session.windows.messages.empty());

    // A second copy ends silently and touches nothing, not even the run counter.
    test::Session second;
    EXPECT_EQ(second.load(), platform::kExitNormal);
    EXPECT_EQ(test::machineSetting("Vidor"), "1");
    EXPECT_EQ(second.form->lUnites.count(), 0);
    EXPECT_TRUE(second.windows.shown.empty());
    EXPECT_TRUE(second.windows.messages.empty());
}

TEST_F(StartupTest, SavedChoicesAreRestoredButAManualStartKeepsOnlyTheHardDisks) {
    test::storeUserSetting("Unités sélectionnées", "D:\tE:\t");
    test::storeUserSetting("Extensions", " log \t\tbak\tlog\txyz\t");
    test::storeUserSetting("Extensions sélectionnées", "XYZ\tnone\t");
    test::Session session;
    session.load();
    F_Main& form = *session.form;
    EXPECT_EQ(selectedOf(form.lUnites), (Items{"C:", "G:"}));
    // Trimmed, empty elements skipped, repeats kept, case kept.
    EXPECT_EQ(itemsOf(form.lExt), (Items{"log", "bak", "log", "xyz"}));
    EXPECT_EQ(selectedOf(form.lExt), (Items{"xyz"}));
}

TEST_F(StartupTest, ForbiddenExtensionsNeverEnterTheListFromTheSettings) {
    struct Case {
        std::optional<std::string> forbidden;  // as stored; nullopt: the default list
        std::string extensions;
        Items listed;
    };
    const Case cases[] = {
        // Whole entries, compared in upper case: AC is not ACL, DA1 is not DA0.
        {std::nullopt, "exe\tDll\ttmp\tac\tDA0\tda1\t", {"tmp", "ac", "da1"}},
        // A stored list gets its commas at both ends, in memory only.
        {"EXE,DLL", "exe\tdll\tbat\ttmp\t", {"bat", "tmp"}},
        // A list in lower case forbids nothing.
        {",exe,", "exe\t", {"exe"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.extensions);
        if (test.forbidden) test::storeUserSetting("Extensions interdites", *test.forbidden);
        test::storeUserSetting("Extensions", test.extensions);
        test::Session session;
        session.load();
        EXPECT_EQ(itemsOf(session.form->lExt), test.listed);
        EXPECT_EQ(test::userSetting("Extensions interdites"), test.forbidden.value_or(kForbidden));
    }
}

TEST_F(StartupTest, RecenserStaysDisabledWithoutASelectedDriveOrExtension) {
    struct Case {
        const char* drives;
        const char* selectedExtensions;  // saved beside the list "bak"
        Items listed;
        const char* drivesTag;
        const char* extensionsTag;
    };
    const Case cases[] = {
        {kDrives, "tmp\t", {"C:", "D:", "E:", "G:"}, "OK", ""},
        {"D=2:d;E=4:e", "bak\t", {"D:", "E:"}, "", "OK"},
        {"", "bak\t", {}, "", "OK"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.drives);
        if (row.drives != kDrives) sandbox.drives(row.drives);
        test::storeUserSetting("Extensions", "bak\t");
        test::storeUserSetting("Extensions sélectionnées", row.selectedExtensions);
        test::Session session;
        session.load();
        EXPECT_EQ(itemsOf(session.form->lUnites), row.listed);
        EXPECT_EQ(session.form->lUnites.tag, row.drivesTag);
        EXPECT_EQ(session.form->lExt.tag, row.extensionsTag);
        EXPECT_FALSE(session.form->bGo.enabled());
    }
}

TEST_F(StartupTest, TheRunCounterCountsEveryStartAndRestartsOnNonsense) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"41", "42"},    {"0", "1"},   {"32766", "32767"}, {"32767", "1"},
        {"abc", "1"},    {"-5", "-4"}, {"-1", "0"},        {"-32768", "-32767"},
        {"-32769", "1"}, {"", "1"},    {"12 ", "1"},       {"99999999999", "1"}};
    for (const auto& [stored, next] : cases) {
        test::storeMachineSetting("Vidor", stored);
        test::Session session;
        session.load();
        EXPECT_EQ(test::machineSetting("Vidor"), next) << "stored: " << stored;
    }
}

}  // namespace
}  // namespace vidor::app
