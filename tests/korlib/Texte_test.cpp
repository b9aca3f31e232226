#include "korlib/Texte.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vidor::korlib {
namespace {

TEST(ElementExtraitTest, CutsTheFirstElementAtTheEarliestSeparator) {
    struct Case {
        std::string text;
        std::initializer_list<std::string_view> separators;
        std::string element;
        std::string rest;
    };
    const Case cases[] = {
        {"a\tb\t", {"\t"}, "a", "b\t"},
        {"b\t", {"\t"}, "b", ""},
        {"", {"\t"}, "", ""},
        {"x,y z", {" ", ","}, "x", "y z"},
        // Both separators start at the same place: the first given decides the length cut.
        {"a, b", {",", ", "}, "a", " b"},
        {"a, b", {", ", ","}, "a", "b"},
        // Absent or empty separators take the whole text.
        {"abc", {";", ""}, "abc", ""},
        {" /E:tmp", {" "}, "", "/E:tmp"},
        // Quotes around a whole element go, but do not protect separators.
        {"\"a b\"", {" "}, "\"a", "b\""},
        {"\"C\",d", {","}, "C", "d"},
        {"\"\" x", {" "}, "", "x"},
        {"\" x", {" "}, "\"", "x"},
    };
    for (Case test : cases) {
        SCOPED_TRACE(test.text);
        EXPECT_EQ(ElementExtrait(test.text, test.separators), test.element);
        EXPECT_EQ(test.text, test.rest);
    }
    std::string text = "a\tb";
    EXPECT_EQ(ElementExtrait(text), "a");  // a tab unless told otherwise
}

TEST(SautsLigneTest, CountsAreBoundedAndRoundedHalfToEven) {
    const std::pair<std::optional<double>, std::size_t> sauts[] = {
        {2, 2},     {std::nullopt, 1}, {0, 1},   {-3, 1},  {std::nan(""), 1},
        {250, 100}, {2.5, 2},          {3.5, 4}, {0.4, 0},
    };
    for (const auto& [count, lines] : sauts) {
        std::string expected;
        for (std::size_t i = 0; i < lines; ++i) expected += "\r\n";
        EXPECT_EQ(SautsLigne(count), expected) << count.value_or(-1);
    }
    // At least one tab and no upper bound.
    EXPECT_EQ(Tabulations(), "\t");
    EXPECT_EQ(Tabulations(0), "\t");
    EXPECT_EQ(Tabulations(1.5), "\t\t");
    EXPECT_EQ(Tabulations(250), std::string(250, '\t'));
}

TEST(UpperCaseTest, AccentedLettersAreRaisedAndOtherBytesKept) {
    EXPECT_EQ(upperCase("tmp.Tmp$$$"), "TMP.TMP$$$");
    EXPECT_EQ(upperCase("répertoire çàùö÷"), "RÉPERTOIRE ÇÀÙÖ÷");
    EXPECT_EQ(upperCase(std::string("a\xff\xc3"
                                    "b")),
              std::string("A\xff\xc3"
                          "B"));
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\ta "), "\ta");
    EXPECT_EQ(trimSpaces("   "), "");
}

}  // namespace
}  // namespace vidor::korlib
