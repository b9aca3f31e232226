// The Win32 binding on a real X server under Wine (with-screen.sh): where the native controls lie,
// which one is above where they overlap, and lists that follow their controls both ways.

#include "platform/win32/Win32Form.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vidor::platform::win32 {
namespace {

// A window laid out like the main one: a panel holding a frame with a multiple-selection list, a
// single-selection list, a check box held before the button it lies over, and a label of a later
// tab index than the button it overlaps.
struct Sample : Window {
    Panel surface{"surface", {0, 0, 7335, 3375}, 0};
    Panel frame{"frame", {1560, 120, 1935, 3135}, 2, Panel::Kind::Frame, "Extensions"};
    ListBox several{"several", {240, 360, 1455, 2595}, 3, ListBox::Selection::Multiple};
    ListBox lines{"lines", {3600, 360, 3000, 2400}, 9, ListBox::Selection::Single};
    CheckBox over{"over", {7080, 2970, 180, 195}, 21, ""};
    Button under{"under", {6000, 2880, 1335, 375}, 14, "Effacer  "};
    Button cancel{"cancel", {3360, 2880, 1335, 375}, 10, "Annuler"};
    Label total{"total", {120, 2880, 3615, 375}, 11, "0 bytes"};

    Sample() : Window("Sample", 7320, 3390, "Essai") {
        hold(surface);
        surface.hold(frame);
        frame.hold(several);
        surface.hold(lines);
        surface.hold(over);
        surface.hold(under);
        surface.hold(cancel);
        surface.hold(total);
    }
};

class Win32FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system.show(window);
        ASSERT_NE(system.formOf(window), nullptr);
        ASSERT_EQ(system.dpi(), 96) << "the places below are for 96 DPI";
    }
    HWND hwnd(const Control& control) { return system.formOf(window)->hwndOf(control); }
    LRESULT send(const Control& control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(hwnd(control), message, wParam, lParam);
    }

    Win32WindowSystem system;
    Sample window;
};

TEST_F(Win32FormTest, ControlsLieAtTheirPlacesAndALaterTabIndexAbove) {
    struct Case {
        const Control& control;
        RECT place;  // pixels, in the window that holds it
    };
    const Case cases[] = {
        // A frame's controls lie beside it, on the panel, offset by the frame's place.
        {window.several, {120, 32, 217, 205}},
        {window.lines, {240, 24, 440, 184}},
        {window.over, {472, 198, 484, 211}},
        {window.under, {400, 192, 489, 217}},
    };
    for (const Case& c : cases) {
        RECT place;
        ::GetWindowRect(hwnd(c.control), &place);
        ::MapWindowPoints(nullptr, ::GetParent(hwnd(c.control)), reinterpret_cast<POINT*>(&place),
                          2);
        EXPECT_EQ(place.left, c.place.left) << c.control.name();
        EXPECT_EQ(place.top, c.place.top) << c.control.name();
        EXPECT_EQ(place.right, c.place.right) << c.control.name();
        EXPECT_EQ(place.bottom, c.place.bottom) << c.control.name();
    }
    EXPECT_EQ(::GetParent(hwnd(window.several)), hwnd(window.surface));
    // Where two overlap, a click meets the check box over the button, and the button over the
    // label whatever their tab indexes.
    const std::pair<POINT, const Control*> clicks[] = {{{475, 200}, &window.over},
                                                       {{230, 200}, &window.cancel}};
    for (const auto& [point, meets] : clicks) {
        EXPECT_EQ(::ChildWindowFromPointEx(hwnd(window.surface), point, CWP_SKIPINVISIBLE),
                  hwnd(*meets))
            << meets->name();
    }
}

TEST_F(Win32FormTest, ListsFollowTheirControlsBothWays) {
    for (int i = 0; i < 100000; ++i) window.lines.addItem("E:\\f" + std::to_string(i) + ".tmp");
    EXPECT_EQ(send(window.lines, LB_GETCOUNT), 100000);
    window.lines.removeItem(0);
    EXPECT_EQ(send(window.lines, LB_GETCOUNT), 99999);
    window.lines.setListIndex(5);
    EXPECT_EQ(send(window.lines, LB_GETCURSEL), 5);

    for (const char* extension : {"tmp", "bak", "old"}) window.several.addItem(extension);
    window.several.setSelected(2, true);
    EXPECT_EQ(send(window.several, LB_GETSEL, 0), 0);
    EXPECT_GT(send(window.several, LB_GETSEL, 2), 0);

    // The user's click: the native list changes, then tells the window that holds it.
    send(window.several, LB_SETSEL, TRUE, 0);
    ::SendMessageW(::GetParent(hwnd(window.several)), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(hwnd(window.several)), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(hwnd(window.several)));
    EXPECT_TRUE(window.several.selected(0));
    EXPECT_FALSE(window.several.selected(1));
    EXPECT_TRUE(window.several.selected(2));

    window.lines.clear();
    EXPECT_EQ(send(window.lines, LB_GETCOUNT), 0);
}

}  // namespace
}  // namespace vidor::platform::win32
