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

TEST_F(ShutdownTest, ClosingAManualRunStoresTheChoicesAndEmptyOnesGiveTheDefaultsNextTime) {
    {
        test::Session session;
        session.load();
        F_Main& form = *session.form;
        test::selectOnly(form.lUnites, {});
        test::selectOnly(form.lExt, {});
        EXPECT_FALSE(form.bGo.enabled());
        EXPECT_EQ(session.act([&] { form.close(); }), platform::kExitNormal);
    }
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "");
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), "");
    test::Session next;
    next.load();
    EXPECT_EQ(selectedOf(next.form->lUnites), (Items{"C:", "E:"}));
    EXPECT_EQ(selectedOf(next.form->lExt), (Items{"tmp", "syd", "$$$", "old", "chk"}));
    // Stored in the list's order, a tab after each item.
    next.act([&] { next.form->close(); });
    EXPECT_EQ(test::userSetting("Unités sélectionnées"), "C:\tE:\t");
    EXPECT_EQ(test::userSetting("Extensions"), "bak\ttmp\tsyd\t$$$\twbk\told\tchk\tlog\t");
    EXPECT_EQ(test::userSetting("Extensions sélectionnées"), "tmp\tsyd\t$$$\told\tchk\t");
}

}  // namespace
}  // namespace vidor::app
