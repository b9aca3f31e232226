#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/Window.h"
#include "tests/platform/WindowDriver.h"
#include "tests/support/Session.h"

namespace vidor::test {

// A window laid out like the main one: a panel holding a frame with a multiple-selection list, a
// single-selection list, a check box held before the button it lies over, and a label of a later
// tab index than the button it overlaps.
struct Sample : platform::Window {
    platform::Panel surface{"surface", {0, 0, 7335, 3375}, 0};
    platform::Panel frame{"frame", {1560, 120, 1935, 3135}, 2, platform::Panel::Kind::Frame, "Ext"};
    platform::ListBox several{
        "several", {240, 360, 1455, 2595}, 3, platform::ListBox::Selection::Multiple};
    platform::ListBox lines{
        "lines", {3600, 360, 3000, 2400}, 9, platform::ListBox::Selection::Single};
    platform::CheckBox over{"over", {7080, 2970, 180, 195}, 21, ""};
    platform::Button under{"under", {6000, 2880, 1335, 375}, 14, "Effacer  ", true};
    platform::Button cancel{"cancel", {3360, 2880, 1335, 375}, 10, "Annuler"};
    platform::Label total{"total", {120, 2880, 3615, 375}, 11, "0 bytes"};

    Sample() : Window("Sample", 7320, 3390, "Essai") {
        hold(surface);
        surface.hold(frame);
        frame.hold(several);
        for (Control* control :
             std::initializer_list<Control*>{&lines, &over, &under, &cancel, &total}) {
            surface.hold(*control);
        }
    }
};

// The windows of the binding these tests are built with, through its driver, on a screen of 96
// pixels per inch; the sample is shown by the tests that need it.
class WindowBindingTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(driver->dotsPerInch(), 96) << "the pixels below are at 96"; }
    ~WindowBindingTest() override { driver->windows().release(sample); }

    void showSample() {
        driver->windows().show(sample);
        driver->settle();
    }

    std::unique_ptr<WindowDriver> driver = makeDriver({});
    Sample sample;
};

// The main window of the program, shown on a sandbox with drive C: and a removable drive E:,
// which "Local" leaves unselected.
class MainWindowTest : public WindowBindingTest {
  protected:
    MainWindowTest() {
        storeMachineSetting("RépertoireMiseAJour", "-");
        withoutPackageLists(machine);
        driver->windows().guard([this] {
            form.Form_Load();
            driver->windows().show(form);
        });
        driver->settle();
    }
    ~MainWindowTest() override { driver->windows().release(form); }

    std::filesystem::path file(const std::string& name, char drive = 'C') {
        return sandbox.drive(drive) / name;
    }

    Sandbox sandbox{"C=3:c;E=2:e"};
    TestMachine machine{kTestProgram, {}};
    platform::Services services = machine.services(driver->windows());
    app::F_Main form{services};
};

}  // namespace vidor::test
