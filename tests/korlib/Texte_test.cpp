#include "korlib/Texte.h"

#include <gtest/gtest.h>

namespace vidor::korlib {
namespace {

TEST(UpperCaseTest, AccentedLettersAreRaisedAndOtherBytesKept) {
    EXPECT_EQ(upperCase("tmp.Tmp$$$"), "TMP.TMP$$$");
    EXPECT_EQ(upperCase("répertoire çàùö÷"), "RÉPERTOIRE ÇÀÙÖ÷");
    EXPECT_EQ(upperCase("a\xff\xc3z"), "A\xff\xc3Z");
}

}  // namespace
}  // namespace vidor::korlib
