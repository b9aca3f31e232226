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

TEST(HelpTextTest, LinesBreaksAndLeadingSpacesAreExact) {
    const std::vector<std::string> lines = linesOf(helpText());
    // Line breaks after each of the 25 lines (40 in all, none after the last): n breaks leave
    // n - 1 blank lines.
    const int breaks[] = {2, 1, 2, 2, 2, 2, 1, 2, 2, 1, 2, 1, 2,
                          3, 2, 2, 1, 1, 2, 1, 1, 2, 1, 2, 0};
    // Leading spaces of each line.
    const std::size_t spaces[] = {0, 0, 0, 0, 0,  0,  0, 3,  0,  0, 3,  0, 3,
                                  0, 0, 0, 2, 12, 12, 2, 12, 12, 2, 12, 0};
    ASSERT_EQ(lines.size(), 41u);
    std::size_t at = 0;
    for (int line = 0; line < 25; ++line) {
        // An empty line fails here too: it has no first character.
        EXPECT_EQ(lines[at].find_first_not_of(' '), spaces[line]) << lines[at];
        for (int blank = 1; blank < breaks[line]; ++blank) EXPECT_TRUE(lines[at + blank].empty());
        at += static_cast<std::size_t>(std::max(breaks[line], 1));
    }
    EXPECT_EQ(lines[2], "Ce programme a été créé spécialement pour la suite Ostra 98");
    EXPECT_EQ(lines[29], "  /U:[<unité>[,<unité>[,...]]]");
    EXPECT_EQ(lines.back(),
              "La présence de paramètres sur la ligne de commande empêche la mise à jour des "
              "derniers paramètres utilisés qui sont ainsi conservés tels que définis lors de la "
              "dernière utilisation \"normale\".");
    EXPECT_EQ(helpText().find('\n'), helpText().find("\r\n") + 1);  // no lone line feed
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
