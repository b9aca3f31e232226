#include "help/F_Help.h"

#include <gtest/gtest.h>

#include "platform/scripted/ScriptedWindowSystem.h"
#include "tests/support/Sandbox.h"
#include "tests/support/TestMachine.h"

namespace vidor::help {
namespace {

// The help text cut at its line breaks: one string per line, blank lines included.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
        lines.push_back(text.substr(start, at - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpTextTest, EachLineIsFollowedByItsLineBreaksAndTheLastByNone) {
    const std::vector<std::string> lines = linesOf(helpText());
    // 25 lines and 40 breaks, each a carriage return and a line feed: n breaks after a line
    // leave n - 1 blank lines.
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(helpText().find('\n'), helpText().find("\r\n") + 1);  // no lone line feed
    EXPECT_EQ(lines[2], "Ce programme a été créé spécialement pour la suite Ostra 98");
    EXPECT_EQ(lines[29], "  /U:[<unité>[,<unité>[,...]]]");
    EXPECT_EQ(lines.back(),
              "La présence de paramètres sur la ligne de commande empêche la mise à jour des "
              "derniers paramètres utilisés qui sont ainsi conservés tels que définis lors de la "
              "dernière utilisation \"normale\".");
}

TEST(HelpWindowTest, LoadedItIsTitledWithTheProgramsVersionAndHoldsTheText) {
    test::Sandbox sandbox;
    test::TestMachine machine{test::kTestProgram, {}};
    platform::ScriptedWindowSystem windows;
    platform::Services services = machine.services(windows);
    F_Help help(services);
    help.Form_Load();
    EXPECT_EQ(help.caption(),
              "(Vidor v6.0.24) Suppression des fichiers temporaires et autres fichiers inutiles !");
    EXPECT_EQ(help.t.text(), helpText());
}

}  // namespace
}  // namespace vidor::help
