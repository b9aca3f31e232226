#include "help/F_Help.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vidor::help {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::size_t leadingSpaces(const std::string& line) {
    std::size_t spaces = line.find_first_not_of(' ');
    return spaces == std::string::npos ? line.size() : spaces;
}

TEST(HelpTextTest, FortyLineBreaksAndNoneAfterTheLastLine) {
    const std::string text = texteAide();
    std::size_t breaks = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++breaks;
    }
    EXPECT_EQ(breaks, 40u);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // no lone line feed
    const std::string last =
        "La présence de paramètres sur la ligne de commande empêche la mise à jour des derniers "
        "paramètres utilisés qui sont ainsi conservés tels que définis lors de la dernière "
        "utilisation \"normale\".";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(HelpTextTest, LinesAndTheirLeadingSpaces) {
    std::vector<std::string> lines;
    for (const std::string& line : linesOf(texteAide())) {
        if (!line.empty()) lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[1], "Ce programme a été créé spécialement pour la suite Ostra 98");
    EXPECT_EQ(lines[2], "Il peut néanmoins être utilisé sans l'interface Ostra 98");
    EXPECT_EQ(lines[5], "UTILISATION NORMALE :");
    EXPECT_EQ(lines[7], "   (un clic suffit pour sélectionner/désélectionner)");
    EXPECT_EQ(lines[14], "UTILISATION AVANCÉE :");
    EXPECT_EQ(lines[16], "  /U:[<unité>[,<unité>[,...]]]");
    EXPECT_EQ(lines[22], "  /AUTO");
    const std::vector<std::pair<std::size_t, std::size_t>> spaces = {
        {7, 3},   {10, 3},  {12, 3},  {16, 2}, {19, 2}, {22, 2}, {17, 12}, {18, 12},
        {20, 12}, {21, 12}, {23, 12}, {0, 0},  {5, 0},  {15, 0}, {24, 0}};
    for (const auto& [line, count] : spaces) {
        EXPECT_EQ(leadingSpaces(lines[line]), count) << lines[line];
    }
}

TEST(HelpTextTest, BlankLinesFallWhereTheLineBreaksSayTheyDo) {
    const std::vector<std::string> lines = linesOf(texteAide());
    // Line breaks after each of the 25 lines; n breaks make n-1 blank lines.
    const int breaks[] = {2, 1, 2, 2, 2, 2, 1, 2, 2, 1, 2, 1, 2,
                          3, 2, 2, 1, 1, 2, 1, 1, 2, 1, 2, 0};
    std::size_t at = 0;
    for (int count : breaks) {
        ASSERT_LT(at, lines.size());
        EXPECT_FALSE(lines[at].empty());
        for (int blank = 1; blank < count; ++blank) EXPECT_TRUE(lines[at + blank].empty());
        at += count;
    }
    EXPECT_EQ(at + 1, lines.size());
}

}  // namespace
}  // namespace vidor::help
