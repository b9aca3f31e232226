#include <gtest/gtest.h>

#include "tests/support/Session.h"

namespace vidor::app {
namespace {

using test::selectedOf;
using Items = std::vector<std::string>;

class ShutdownTest : public ::testing::Test {
  protected:
    test::Sandbox sandbox{"C=3:c;D=2:d;E=3:e"};
};

TEST_F(ShutdownTest, ClosingAManualRunStoresTheChoicesInListOrder) {
    test::storeUserSetting("Extensions", "bak\ttmp\t");
    test::storeUserSetting("Extensions sélectionnées", "tmp\t");
    test::Session session;
    session.load();
    F_Main& form = *session.form;
    ASSERT_EQ(selectedOf(form.lUnites), (Items{"C:", "E:"}));

    EXPECT_EQ(session.act([&] { form.close(); }), platform::kExitNormal);
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "C:\tE:\t");
    EXPECT_EQ(test::userSetting("Extensions"), "bak\ttmp\t");
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), "tmp\t");
}

TEST_F(ShutdownTest, EmptySelectionsAreStoredAsEmptyTextsAndGiveTheDefaultsNextTime) {
    {
        test::Session session;
        session.load();
        F_Main& form = *session.form;
        test::selectOnly(form.lUnites, {});
        test::selectOnly(form.lExt, {});
        EXPECT_FALSE(form.bGo.enabled());
        session.act([&] { form.close(); });
    }
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "");
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), "");
    test::Session next;
    next.load();
    EXPECT_EQ(selectedOf(next.form->lUnites), (Items{"C:", "E:"}));
    EXPECT_EQ(selectedOf(next.form->lExt), (Items{"tmp", "syd", "$$$", "old", "chk"}));
}

TEST_F(ShutdownTest, ForbiddenExtensionsDroppedAtStartAreMissingFromTheStoredList) {
    test::storeUserSetting("Extensions", "exe\ttmp\tDll\t");
    test::Session session;
    session.load();
    session.act([&] { session.form->close(); });
    EXPECT_EQ(test::userSetting("Extensions"), "tmp\t");
}

TEST_F(ShutdownTest, ARunWithParametersStoresNothing) {
    test::storeUserSetting("Unités sélectionnées", "E:\t");
    test::Session session({"/U:c"});
    F_Main& form = *session.form;
    form.lUnites.addItem("C:");
    form.lUnites.setSelected(0, true);
    EXPECT_EQ(session.act([&] { form.close(); }), platform::kExitNormal);
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "E:\t");
    EXPECT_EQ(test::userSetting("Extensions"), std::nullopt);
}

}  // namespace
}  // namespace vidor::app
