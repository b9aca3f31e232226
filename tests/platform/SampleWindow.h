#pragma once

#include <initializer_list>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Panel.h"
#include "platform/controls/Window.h"

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

}  // namespace vidor::test
