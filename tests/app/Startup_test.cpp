// The main window's start and its close by hand: what is listed and selected, and the choices
// kept from one manual run to the next.

#include <gtest/gtest.h>

#include "selection/ExtensionList.h"
#include "tests/support/Session.h"

namespace vidor::app {
namespace {

using selection::kDefaultForbidden;
using test::itemsOf;
using test::selectedOf;
using Items = std::vector<std::string>;

// Drives: C and G hard disks, D removable, E network, F CD-ROM, R RAM disk, H unknown type,
// K a hard disk whose folder is gone.
constexpr const char* kDrives = "C=3:c;D=2:d;E=4:e;F=5:f;G=3:g;H=0:h;K=3:k;R=6:r";

class StartupTest : public ::testing::Test {
  protected:
    StartupTest() { std::filesystem::remove(sandbox.drive('K')); }
    test::Sandbox sandbox{kDrives};
};

TEST_F(StartupTest, FirstStartListsTheDrivesSelectsTheHardDisksAndKeepsOutASecondCopy) {
    test::Session session;
    ASSERT_EQ(session.load(), std::nullopt);
    F_Main& form = *session.form;

    EXPECT_EQ(itemsOf(form.lUnites), (Items{"C:", "D:", "E:", "G:"}));
    EXPECT_EQ(selectedOf(form.lUnites), (Items{"C:", "G:"}));
    EXPECT_TRUE(form.bGo.enabled());
    EXPECT_EQ(form.defaultButton(), &form.bGo);

    EXPECT_EQ(test::userSetting("Extensions interdites"), kDefaultForbidden);
    // Only the forbidden list is written at start-up: the defaults are not.
    EXPECT_EQ(test::userSetting("Extensions"), std::nullopt);
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), std::nullopt);
    EXPECT_TRUE(session.windows.messages.empty());

    // A second copy ends silently and touches nothing, not even the run counter.
    test::Session second;
    EXPECT_EQ(second.load(), platform::kExitNormal);
    EXPECT_EQ(test::machineSetting("Vidor"), "1");
    EXPECT_TRUE(second.windows.shown.empty());
    EXPECT_TRUE(second.windows.messages.empty());

    // A run with parameters did nothing either, and says so: a scheduled run that meets the
    // open window must not pass for done.
    test::writeFile(sandbox.drive('C') / "nuit.tmp", "x");
    test::Session unattended({"/U:c", "/E:tmp"});
    EXPECT_EQ(unattended.loadPrinting(), platform::kExitAnotherCopy);
    const std::string& said = unattended.err;
    EXPECT_NE(said.find("une autre copie du programme fonctionne déjà"), std::string::npos) << said;
    EXPECT_TRUE(std::filesystem::exists(sandbox.drive('C') / "nuit.tmp"));
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

TEST_F(StartupTest, ClosingAManualRunStoresTheChoicesAndEmptyOnesGiveTheDefaultsNextTime) {
    {
        test::Session session;
        session.load();
        F_Main& form = *session.form;
        test::selectOnly(form.lUnites, {});
        test::selectOnly(form.lExt, {});
        EXPECT_FALSE(form.bGo.enabled());
        EXPECT_EQ(session.act([&] { form.close(); }), platform::kExitNormal);
    }
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "");
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), "");
    test::Session next;
    next.load();
    EXPECT_EQ(selectedOf(next.form->lUnites), (Items{"C:", "G:"}));
    EXPECT_EQ(selectedOf(next.form->lExt), (Items{"tmp", "syd", "$$$", "old", "chk"}));
    // Stored in the list's order, a tab after each item.
    next.act([&] { next.form->close(); });
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "C:\tG:\t");
    EXPECT_EQ(test::userSetting("Extensions"), "bak\ttmp\tsyd\t$$$\twbk\told\tchk\tlog\t");
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), "tmp\tsyd\t$$$\told\tchk\t");
}

TEST_F(StartupTest, ForbiddenExtensionsNeverEnterTheListFromTheSettings) {
    // The forbidden list as stored (none: the default one), the extensions, those listed.
    const std::tuple<std::optional<std::string>, std::string, Items> cases[] = {
        // Whole entries, compared in upper case: AC is not ACL, DA1 is not DA0.
        {std::nullopt, "exe\tDll\ttmp\tac\tDA0\tda1\t", {"tmp", "ac", "da1"}},
        // A stored list gets its commas at both ends, in memory only.
        {"EXE,DLL", "exe\tdll\tbat\ttmp\t", {"bat", "tmp"}},
        // A list in lower case forbids nothing.
        {",exe,", "exe\t", {"exe"}},
        // An extension holding a comma is forbidden when it spans entries of the list.
        {"EXE,DLL", "exe,dll\tex,e\t", {"ex,e"}},
    };
    for (const auto& [forbidden, extensions, listed] : cases) {
        SCOPED_TRACE(extensions);
        if (forbidden) test::storeUserSetting("Extensions interdites", *forbidden);
        test::storeUserSetting("Extensions", extensions);
        test::Session session;
        session.load();
        EXPECT_EQ(itemsOf(session.form->lExt), listed);
        EXPECT_EQ(test::userSetting("Extensions interdites"),
                  forbidden.value_or(kDefaultForbidden));
    }
}

}  // namespace
}  // namespace vidor::app
