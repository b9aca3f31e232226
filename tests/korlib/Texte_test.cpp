#include "korlib/Texte.h"

#include <gtest/gtest.h>

namespace vidor::korlib {
namespace {

TEST(UpperCaseTest, AccentedLettersAreRaisedAndOtherBytesKept) {
    EXPECT_EQ(upperCase("tmp.Tmp$$$"), "TMP.TMP$$$");
    EXPECT_EQ(upperCase("répertoire çàùö÷"), "RÉPERTOIRE ÇÀÙÖ÷");
    EXPECT_EQ(upperCase(std::string("a\xff\xc3"
                                    "b")),
              std::string("A\xff\xc3"
                          "B"));
}

}  // namespace
}  // namespace vidor::korlib
