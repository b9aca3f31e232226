// What every window binding must do, run against the one these tests are built with (Qt on an
// offscreen screen; Win32 under Wine on an X server): controls at their twips, the upper one where
// they overlap, Tab in the order of the tab indexes, the focus never left on a control the user
// cannot see or use, Enter and Escape as a user presses them at each stage of a census, and boxes
// that wait for nobody when nobody is there.

#include <filesystem>
#include <thread>

#include "platform/Keyboard.h"
#include "tests/platform/WindowTest.h"

namespace vidor::test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Buttons;
using platform::Control;
using platform::Icon;

// The names of the controls Tab visits from where the focus is, `count` presses.
std::string tabs(WindowDriver& driver, int count, platform::Window& window,
                 UserKey key = UserKey::Tab) {
    std::string visited;
    for (int i = 0; i < count; ++i) {
        driver.press(key);
        const Control* at = driver.focused(window);
        visited += (at ? at->name() : "-") + " ";
    }
    return visited;
}

bool usableFocus(WindowDriver& driver, platform::Window& window) {
    const Control* at = driver.focused(window);
    return at && platform::usable(*at);
}

TEST_F(WindowBindingTest, ControlsLieAtTheirTwipsAndTheUpperOneTakesTheClick) {
    showSample();
    // 15 twips a pixel; the window's inner area, and a frame's controls from the frame's corner.
    EXPECT_EQ(driver->placeOf(sample, sample), (platform::PixelRect{0, 0, 488, 226}));
    EXPECT_EQ(driver->placeOf(sample, sample.several), (platform::PixelRect{120, 32, 97, 173}));
    EXPECT_EQ(driver->placeOf(sample, sample.cancel), (platform::PixelRect{224, 192, 89, 25}));
    // The check box held before the button lies over it; a button lies over a label whatever
    // their tab indexes.
    EXPECT_EQ(driver->controlAt(sample, 475, 200), &sample.over);
    EXPECT_EQ(driver->controlAt(sample, 230, 200), &sample.cancel);
    EXPECT_EQ(driver->controlAt(sample, 50, 200), &sample.total);
}

TEST_F(WindowBindingTest, TabVisitsTheUsableControlsByTabIndexAndTheFocusLeavesWhatIsHidden) {
    sample.setDefaultButton(&sample.under);
    showSample();
    // The window opens on its default button.
    EXPECT_EQ(driver->focused(sample), &sample.under);
    EXPECT_EQ(tabs(*driver, 5, sample), "over several lines cancel under ");
    EXPECT_EQ(tabs(*driver, 2, sample, UserKey::BackTab), "cancel lines ");

    sample.cancel.setEnabled(false);
    sample.frame.setVisible(false);
    EXPECT_EQ(tabs(*driver, 3, sample), "under over lines ");
    // Enter presses the default button, Escape the cancel button, only while they can be used.
    int pressed = 0;
    sample.under.onClick = [&pressed] { ++pressed; };
    sample.cancel.onClick = [&pressed] { pressed += 10; };
    sample.setCancelButton(&sample.cancel);
    driver->press(UserKey::Enter);
    driver->press(UserKey::Escape);
    EXPECT_EQ(pressed, 1);

    // The focus on a control that hides, or one in a panel that hides, goes to the default
    // button; when that cannot be used either, to the first control Tab visits.
    sample.lines.setVisible(false);
    EXPECT_EQ(driver->focused(sample), &sample.under);
    sample.under.setEnabled(false);
    EXPECT_EQ(driver->focused(sample), &sample.over);
    driver->press(UserKey::Enter);
    EXPECT_EQ(pressed, 1);
    sample.surface.setVisible(false);
    sample.surface.setVisible(true);
    EXPECT_EQ(driver->focused(sample), &sample.over);
}

TEST_F(MainWindowTest, EnterStartsOneCensusAndAnnulerEscapeAndHelpLeaveTheKeysOnAUsableControl) {
    writeFile(file("a.tmp"), "x");
    // Enough folders for the walk to let events through while it runs.
    for (int i = 0; i < 200; ++i) writeFile(file("d" + std::to_string(i) + "/f.tmp"), "x");
    // "Annuler" during the census, clicked: back to the selection.
    driver->soon([&] { driver->click(form, form.bAnn); });
    driver->press(UserKey::Space);  // on "Recenser"
    ASSERT_TRUE(form.pSaisie.visible());
    EXPECT_TRUE(usableFocus(*driver, form));
    driver->press(UserKey::Letter);
    EXPECT_TRUE(form.pSaisie.visible());

    // Enter, and again while the walk lets events through, once a yield's time has passed.
    std::this_thread::sleep_for(platform::GuardedWindowSystem::kYield);
    int during = -1;
    driver->soon([&] {
        during = form.lDel.count();
        driver->press(UserKey::Enter);  // "Recenser" is hidden: nothing happens
    });
    driver->press(UserKey::Enter);
    ASSERT_GE(during, 0) << "the walk never let the events through";
    ASSERT_EQ(form.lDel.count(), 201) << "each file is listed once";

    // Escape at the review, the focus in the list on the line clicked.
    driver->clickLine(form, form.lDel, 150);
    EXPECT_EQ(form.lDel.listIndex(), 150);
    driver->press(UserKey::Escape);
    ASSERT_TRUE(form.pSaisie.visible());
    EXPECT_EQ(driver->focused(form), &form.bGo);
    driver->press(UserKey::Letter);

    // The help window, closed by Escape, gives the keys back to the main window.
    bool helpShown = false;
    driver->soon([&] {
        helpShown = driver->inFront() && driver->inFront() != &form;
        driver->press(UserKey::Escape);
    });
    driver->click(form, form.bSos);
    EXPECT_TRUE(helpShown);
    EXPECT_TRUE(usableFocus(*driver, form));
    driver->press(UserKey::Tab);
    EXPECT_TRUE(usableFocus(*driver, form));
    EXPECT_TRUE(fs::exists(file("a.tmp")));
    EXPECT_FALSE(driver->windows().ended());
}

// A user who never touches the mouse: Tab in the order of the design, arrows and Space in the
// lists, Enter on the default button.
TEST_F(MainWindowTest, EachPanelCanBeUsedFromTheKeyboardAlone) {
    for (const char* name : {"a.bak", "b.bak", "c.tmp"}) writeFile(file(name), "x");
    // Kept: the recycle bin of a removable drive is not Wine's to give.
    writeFile(file("garder.bak", 'E'), "x");
    ASSERT_EQ(driver->focused(form), &form.bGo);
    EXPECT_EQ(tabs(*driver, 8, form), "lExt lUnites bSos bLocal VidorIE VidorTP poubel bGo ");

    // Down to a line, and Space selects it; the other lines keep their state.
    auto pick = [this](platform::ListBox& list, const std::string& line) {
        const std::vector<std::string> before = selectedOf(list);
        const auto items = itemsOf(list);
        const auto at = std::find(items.begin(), items.end(), line) - items.begin();
        ASSERT_LT(at, static_cast<long>(items.size())) << line;
        driver->press(UserKey::Tab);
        ASSERT_EQ(driver->focused(form), &list);
        // Up to the first line, wherever the list's current line was, and down to the one.
        for (std::size_t i = 0; i < items.size(); ++i) driver->press(UserKey::Up);
        for (long i = 0; i < at; ++i) driver->press(UserKey::Down);
        EXPECT_EQ(selectedOf(list), before) << "an arrow changed the selection";
        driver->press(UserKey::Space);
        EXPECT_EQ(selectedOf(list).size(), before.size() + 1) << line;
        EXPECT_TRUE(list.selected(static_cast<int>(at))) << line;
    };
    pick(form.lExt, "bak");
    pick(form.lUnites, "E:");
    driver->press(UserKey::Enter);  // in the list: the default button, "Recenser"
    ASSERT_EQ(form.lDel.count(), 4);
    driver->settle();  // the user sees the review drawn

    // The review opens in the list, where the arrows select a line.
    ASSERT_EQ(driver->focused(form), &form.lDel);
    const auto items = itemsOf(form.lDel);
    const int kept =
        static_cast<int>(std::find(items.begin(), items.end(), "E:\\garder.bak") - items.begin());
    ASSERT_LT(kept, 4);
    for (int i = 0; i < 4; ++i) driver->press(UserKey::Down);  // to the last line, whichever first
    for (int i = 3; i > kept; --i) driver->press(UserKey::Up);
    EXPECT_EQ(form.lDel.listIndex(), kept);
    EXPECT_EQ(tabs(*driver, 7, form), "bAnn bConserver bEffacer Poubel2 lDel bAnn bConserver ");
    driver->press(UserKey::Enter);  // on "Conserver", which then has no line to keep
    ASSERT_EQ(form.lDel.count(), 3);
    ASSERT_EQ(driver->focused(form), &form.bEffacer);
    driver->press(UserKey::Enter);
    EXPECT_TRUE(driver->windows().ended());
    EXPECT_EQ(driver->windows().status(), platform::kExitNormal) << "a file was removed twice";
    EXPECT_TRUE(fs::exists(file("garder.bak", 'E')));
    for (const fs::path& gone : {file("a.bak"), file("b.bak"), file("c.tmp")})
        EXPECT_FALSE(fs::exists(gone)) << gone;
}

// Without a screen, or in a run with parameters, whoever started the run need not be there.
TEST(BoxesTest, WithoutAScreenOrWithParametersNothingWaitsAndEverythingIsWrittenOnStandardError) {
    using namespace std::chrono_literals;
    for (const platform::RunMode mode :
         {platform::RunMode{.screen = false},
          platform::RunMode{.screen = true, .withParameters = true, .boxLifetime = 100ms}}) {
        SCOPED_TRACE(mode.screen ? "with parameters" : "without a screen");
        auto driver = makeDriver(mode);
        auto& windows = driver->windows();
        testing::internal::CaptureStderr();
        EXPECT_EQ(windows.messageBox("Continuer ?", Buttons::YesNo, Icon::Question, "Vidor"),
                  Answer::Yes);
        EXPECT_EQ(windows.messageBox("Fin.\r\n\r\nArrêt", Buttons::Ok, Icon::None, "Vidor"),
                  Answer::Ok);
        EXPECT_EQ(windows.inputBox("Répertoire ?", "Brenlo", "maj"), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Vidor\nContinuer ?\nVidor\nFin.\n\nArrêt\nBrenlo\nRépertoire ?\n");
    }
}

}  // namespace
}  // namespace vidor::test
