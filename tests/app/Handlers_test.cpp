#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::app {
namespace {

class HandlersTest : public ::testing::Test {
  protected:
    HandlersTest() { session.load(); }
    test::Sandbox sandbox{"C=3:c"};
    test::Session session;
    F_Main& form = *session.form;
};

TEST_F(HandlersTest, TheLastAllUsersBoxClickedDecidesTheWarningLine) {
    form.VidorIE.setValue(1);
    EXPECT_EQ(form.lblinfo.caption(),
              "Attention, cela efface tout le contenu Temporary Internet Files de tous les "
              "utilisateurs");
    form.VidorTP.setValue(1);
    EXPECT_EQ(form.lblinfo.caption(),
              "Attention, cela efface tout le contenu de tous les répertoires TEMP de tous les "
              "utilisateurs");
    form.VidorTP.setValue(0);
    EXPECT_TRUE(form.flags.tousIE);
    EXPECT_FALSE(form.flags.tousTP);
    EXPECT_EQ(form.lblinfo.caption(), "");
}

}  // namespace
}  // namespace vidor::app
