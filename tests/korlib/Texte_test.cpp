#include "korlib/Texte.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vidor::korlib {
namespace {

TEST(ElementExtraitTest, CutsTabSeparatedElementsOneAtATime) {
    std::string text = "a\tb\t";
    EXPECT_EQ(ElementExtrait(text), "a");
    EXPECT_EQ(text, "b\t");
    EXPECT_EQ(ElementExtrait(text), "b");
    EXPECT_EQ(text, "");
    EXPECT_EQ(ElementExtrait(text), "");
    EXPECT_EQ(text, "");
}

TEST(ElementExtraitTest, EarliestSeparatorWinsAndTiesGoToTheFirstGiven) {
    std::string text = "x,y z";
    EXPECT_EQ(ElementExtrait(text, {" ", ","}), "x");
    EXPECT_EQ(text, "y z");

    // Both separators start at the same place: the first given decides the length cut.
    std::string tie = "a, b";
    EXPECT_EQ(ElementExtrait(tie, {",", ", "}), "a");
    EXPECT_EQ(tie, " b");
    std::string tie2 = "a, b";
    EXPECT_EQ(ElementExtrait(tie2, {", ", ","}), "a");
    EXPECT_EQ(tie2, "b");
}

TEST(ElementExtraitTest, AbsentOrEmptySeparatorsTakeTheWholeText) {
    std::string text = "abc";
    EXPECT_EQ(ElementExtrait(text, {";", ""}), "abc");
    EXPECT_EQ(text, "");
}

TEST(ElementExtraitTest, TwoSeparatorsInARowGiveAnEmptyElement) {
    std::string text = "/U:c  /E:tmp";
    EXPECT_EQ(ElementExtrait(text, {" "}), "/U:c");
    EXPECT_EQ(ElementExtrait(text, {" "}), "");
    EXPECT_EQ(text, "/E:tmp");
}

TEST(ElementExtraitTest, QuotesAroundAWholeElementGoButDoNotProtectSeparators) {
    std::string text = "\"a b\"";
    EXPECT_EQ(ElementExtrait(text, {" "}), "\"a");
    EXPECT_EQ(ElementExtrait(text, {" "}), "b\"");

    std::string quoted = "\"C\",d";
    EXPECT_EQ(ElementExtrait(quoted, {","}), "C");
    EXPECT_EQ(quoted, "d");

    std::string emptyQuotes = "\"\" x";
    EXPECT_EQ(ElementExtrait(emptyQuotes, {" "}), "");

    std::string lone = "\" x";
    EXPECT_EQ(ElementExtrait(lone, {" "}), "\"");
    EXPECT_EQ(lone, "x");
}

TEST(SautsLigneTest, CountsAreBoundedAndRoundedHalfToEven) {
    EXPECT_EQ(SautsLigne(2), "\r\n\r\n");
    EXPECT_EQ(SautsLigne(), "\r\n");
    EXPECT_EQ(SautsLigne(0), "\r\n");
    EXPECT_EQ(SautsLigne(-3), "\r\n");
    EXPECT_EQ(SautsLigne(std::nan("")), "\r\n");
    EXPECT_EQ(SautsLigne(250).size(), 200u);
    EXPECT_EQ(SautsLigne(2.5), "\r\n\r\n");
    EXPECT_EQ(SautsLigne(3.5).size(), 8u);
    EXPECT_EQ(SautsLigne(0.4), "");
}

TEST(TabulationsTest, AtLeastOneTabAndNoUpperBound) {
    EXPECT_EQ(Tabulations(), "\t");
    EXPECT_EQ(Tabulations(0), "\t");
    EXPECT_EQ(Tabulations(3), "\t\t\t");
    EXPECT_EQ(Tabulations(1.5), "\t\t");
    EXPECT_EQ(Tabulations(250).size(), 250u);
}

TEST(UpperCaseTest, AccentedLettersAreRaisedAndOtherBytesKept) {
    EXPECT_EQ(upperCase("tmp.Tmp"), "TMP.TMP");
    EXPECT_EQ(upperCase("répertoire"), "RÉPERTOIRE");
    EXPECT_EQ(upperCase("çàùö÷"), "ÇÀÙÖ÷");
    EXPECT_EQ(upperCase(std::string("a\xff\xc3"
                                    "b")),
              std::string("A\xff\xc3"
                          "B"));
    EXPECT_EQ(upperCase("$$$"), "$$$");
}

TEST(TrimSpacesTest, OnlySpacesAtBothEndsGo) {
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\ta "), "\ta");
    EXPECT_EQ(trimSpaces("   "), "");
}

}  // namespace
}  // namespace vidor::korlib
