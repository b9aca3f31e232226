#include <gtest/gtest.h>

#include "help/F_Help.h"
#include "tests/support/Session.h"

namespace vidor::app {
namespace {

// Counts the changes of value of the check boxes it watches.
class ValueCounter : public platform::ControlObserver {
  public:
    void changed(platform::Control&, platform::Property property) override {
        if (property == platform::Property::Value) ++changes;
    }
    void listChanged(platform::ListBox&, platform::ListChange, int) override {}
    int changes = 0;
};

class HandlersTest : public ::testing::Test {
  protected:
    HandlersTest() { session.load(); }
    test::Sandbox sandbox{"C=3:c"};
    test::Session session;
    F_Main& form = *session.form;
};

TEST_F(HandlersTest, RecycleBoxesMirrorEachOtherOnceAndNameTheDeleteButton) {
    ValueCounter poubel, poubel2;
    form.poubel.setObserver(&poubel);
    form.Poubel2.setObserver(&poubel2);
    // As the window opens: the box is checked, the flag not yet set.
    EXPECT_EQ(form.poubel.value(), 1);
    EXPECT_FALSE(form.flags.versCorbeille);

    form.Poubel2.setValue(1);
    EXPECT_EQ(form.poubel.value(), 1);
    EXPECT_EQ(form.bEffacer.caption(), "Corbeille  ");
    EXPECT_TRUE(form.flags.versCorbeille);
    EXPECT_EQ(poubel.changes, 0);
    EXPECT_EQ(poubel2.changes, 1);

    // Unchecked while hidden: the other box follows, the button is renamed, and neither box
    // changes more than once.
    form.poubel.setValue(0);
    EXPECT_EQ(form.Poubel2.value(), 0);
    EXPECT_FALSE(form.Poubel2.visible());
    EXPECT_EQ(form.bEffacer.caption(), "Effacer  ");
    EXPECT_FALSE(form.flags.versCorbeille);
    EXPECT_EQ(poubel.changes, 1);
    EXPECT_EQ(poubel2.changes, 2);
}

TEST_F(HandlersTest, TheLastAllUsersBoxClickedDecidesTheWarningLine) {
    form.VidorIE.setValue(1);
    EXPECT_TRUE(form.flags.tousIE);
    EXPECT_EQ(form.lblinfo.caption(),
              "Attention, cela efface tout le contenu Temporary Internet Files de tous les "
              "utilisateurs");
    form.VidorTP.setValue(1);
    EXPECT_TRUE(form.flags.tousTP);
    EXPECT_EQ(form.lblinfo.caption(),
              "Attention, cela efface tout le contenu de tous les répertoires TEMP de tous les "
              "utilisateurs");
    form.VidorTP.setValue(0);
    EXPECT_TRUE(form.flags.tousIE);
    EXPECT_FALSE(form.flags.tousTP);
    EXPECT_EQ(form.lblinfo.caption(), "");
}

TEST_F(HandlersTest, CancelDuringACensusOnlyAsksItToStop) {
    form.pSaisie.setVisible(false);
    form.pExec.setVisible(true);
    form.lDel.addItem("C:\\a.tmp");
    form.flags.enCours = true;
    form.bAnn.press();
    EXPECT_TRUE(form.flags.arretDemande);
    EXPECT_EQ(form.lDel.count(), 1);
    EXPECT_TRUE(form.pExec.visible());
}

TEST_F(HandlersTest, PointerHints) {
    form.pExec.onMouseMove();
    EXPECT_EQ(form.mousePointer(), platform::kPointerDefault);
    form.flags.enCours = true;
    form.pExec.onMouseMove();
    EXPECT_EQ(form.mousePointer(), platform::kPointerHourglass);
    form.bAnn.onMouseMove();
    EXPECT_EQ(form.mousePointer(), platform::kPointerDefault);
}

TEST_F(HandlersTest, HelpOpensModallyAFreshWindowEachTime) {
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    session.windows.onModal = [&](platform::Window& window) {
        auto& help = dynamic_cast<help::F_Help&>(window);
        texts.push_back(help.t.text());
        captions.push_back(help.caption());
        help.t.setText("typed by the user");
        help.BOk.press();
    };
    form.bSos.press();
    form.bSos.press();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], texts[0]);
    EXPECT_EQ(captions[0],
              "(Vidor v6.0.24) Suppression des fichiers temporaires et autres fichiers inutiles !");
}

}  // namespace
}  // namespace vidor::app
