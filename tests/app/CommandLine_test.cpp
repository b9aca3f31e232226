#include <gtest/gtest.h>

#include "tests/support/Session.h"
#include "tests/support/ShownMessages.h"

namespace vidor::app {
namespace {

namespace fs = std::filesystem;
using test::selectedOf;
using Items = std::vector<std::string>;

constexpr const char* kTitle = "(Vidor v6.0.24)";

// Unattended runs on C: and F: (hard disks), D: (removable) and E: (network).
class CommandLineTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c;D=2:d;E=4:e;F=3:f"};

    // Starts the program with `line` split at spaces, as a shell would pass it.
    std::unique_ptr<test::Session> start(const std::vector<std::string>& arguments) {
        auto session = std::make_unique<test::Session>(arguments);
        ending = session->load();
        return session;
    }
    std::optional<int> ending;
};

TEST_F(CommandLineTest, ParametersChooseTheDrivesAndExtensions) {
    test::storeUserSetting("Extensions", "bak\tzzz\t");
    // Arguments, then the drives and the extensions they select.
    const std::tuple<std::vector<std::string>, Items, Items> cases[] = {
        {{"/U:c,d", "/E:ZZZ"}, {"C:", "D:"}, {"zzz"}},
        // Alone, "/U:" takes the local hard disks and "/E:" every extension of the list.
        {{"/U:", "/E:"}, {"C:", "F:"}, {"bak", "zzz"}},
        // "C:" becomes "C::", which no drive is; a quoted element loses its quotes. Without "/E:",
        // the saved selection (none of the list's extensions is a default one).
        {{"/u:q,C:,\"f\""}, {"F:"}, {}},
        // A whole parameter between quotes loses them too.
        {{"\"/U:q,e\""}, {"E:"}, {}},
        // Unknown extensions are added as given, forbidden or not; the last "/E:" wins. Without
        // "/U:", every drive (nothing was saved).
        {{"/E:bak", "/E:xyz,exe,.tmp,,ZZZ"},
         {"C:", "D:", "E:", "F:"},
         {"zzz", "xyz", "exe", ".tmp"}},
        // Nothing selected: the census still runs, and ends the program.
        {{"/U:q"}, {}, {}},
    };
    for (const auto& [arguments, drives, extensions] : cases) {
        SCOPED_TRACE(arguments.front());
        auto run = start(arguments);
        EXPECT_EQ(selectedOf(run->form->lUnites), drives);
        EXPECT_EQ(selectedOf(run->form->lExt), extensions);
        EXPECT_EQ(ending, platform::kExitNormal);  // nothing found: the program ends
        EXPECT_TRUE(run->windows.messages.empty());
    }
}

TEST_F(CommandLineTest, AutoTakesTheLastManualChoicesOrAtFirstTheDefaultsAndWarnsOfMoreText) {
    // A first start: the hard disks and the default extensions.
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"/auto"}, false}, {{"/auto", "/U:D"}, true}, {{"/AUTOMATIQUE"}, true}};
    for (const auto& [arguments, warned] : cases) {
        SCOPED_TRACE(arguments.back());
        auto run = start(arguments);
        EXPECT_EQ(ending, platform::kExitNormal);
        EXPECT_EQ(selectedOf(run->form->lUnites), (Items{"C:", "F:"}));
        EXPECT_EQ(selectedOf(run->form->lExt), (Items{"tmp", "syd", "$$$", "old", "chk"}));
        test::expectShown(run->windows, warned ? 1 : 0,
                          "La présence du paramètre /AUTO fait ignorer les autres paramètres.",
                          platform::Buttons::Ok, platform::Icon::Exclamation,
                          std::string(kTitle) + " Avertissement !");
    }

    // The choices of the last manual run, which it leaves as they were.
    test::storeUserSetting("Unités sélectionnées", "Q:\tE:\t");  // Q: is gone since
    test::storeUserSetting("Extensions", "log\ttmp\t");
    // A "*" in the settings is a name like any other, never a pattern: "t*" is not tmp.
    test::storeUserSetting("Extensions sélectionnées", "t*\tlog\t");
    auto run = start({"/AUTO"});
    EXPECT_EQ(ending, platform::kExitNormal);
    EXPECT_TRUE(run->windows.messages.empty());
    EXPECT_EQ(selectedOf(run->form->lUnites), (Items{"E:"}));
    EXPECT_EQ(selectedOf(run->form->lExt), (Items{"log"}));
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "Q:\tE:\t");
}

TEST_F(CommandLineTest, AnUnknownParameterIsReportedAndEndsTheProgram) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"/X:abc"}, "/X:abc"},
        {{"/U:C", "/AUTO"}, "/AUTO"},
        {{"/U:c", "", "/E:tmp"}, ""},
        {{"/e:tmp", "\"Mixed Case\""}, "\"Mixed"},
        // A space always ends a parameter, quotes or not.
        {{"/U:\"q,", "e\""}, "e\""},
        // An extension is no pattern and no path: "*" would have taken the first of the list.
        {{"/E:*"}, "/E:*"},
        {{"/U:c", "/e:a?"}, "/e:a?"},
        {{"/E:../tmp"}, "/E:../tmp"},
        {{"/E:a\\b"}, "/E:a\\b"},
    };
    for (const auto& [arguments, shown] : cases) {
        test::storeUserSetting("Unités sélectionnées", "D:\t");
        auto run = start(arguments);
        EXPECT_EQ(ending, platform::kExitBadParameter);
        test::expectShown(run->windows, 1,
                          "Je ne comprend pas le paramètre \"" + shown +
                              "\" !\r\n\r\nArrêt du programme.\r\n\r\nRelancez le programme "
                              "sans paramètre et cliquez sur le bouton AIDE.",
                          platform::Buttons::Ok, platform::Icon::Exclamation,
                          std::string(kTitle) + " Erreur !");
        EXPECT_TRUE(run->windows.shown.empty());
        EXPECT_EQ(test::userSetting("Unités sélectionnées"), "D:\t");
    }
}

TEST_F(CommandLineTest, TheRunIsUnattendedInAReducedWindowUntilManuelEndsItInTheReview) {
    test::writeFile(sandbox.drive('C') / "a.tmp", "x");
    auto session = std::make_unique<test::Session>(std::vector<std::string>{"/U:c", "/E:tmp"});
    app::F_Main& form = *session->form;
    std::optional<int> height;
    session->windows.atYield(1, [&] {
        height = form.height();
        EXPECT_EQ(form.bAuto.caption(), "Manuel");
    });
    session->windows.atYield(2, [&] { form.bAuto.press(); });
    EXPECT_EQ(session->load(), std::nullopt);
    EXPECT_EQ(height, 3720 - 3390 + 360);
    EXPECT_EQ(session->windows.shown, (std::vector<platform::Window*>{&form}));
    EXPECT_EQ(form.height(), 3720);
    EXPECT_EQ(form.bAuto.caption(), "Auto");
    EXPECT_EQ(form.eExec.caption(), "Fichiers à supprimer :");
    EXPECT_TRUE(fs::exists(sandbox.drive('C') / "a.tmp"));
    // Closing the window of a run with parameters stores nothing.
    EXPECT_EQ(session->act([&] { form.close(); }), platform::kExitNormal);
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), std::nullopt);
}

}  // namespace
}  // namespace vidor::app
