// The Win32 binding on a real X server under Wine (with-screen.sh): where the native controls lie,
// in which fonts, which one is above where they overlap, lists that follow their controls both
// ways, their tips, and a move to a monitor of another density.

#include "platform/win32/Win32Form.h"

#include <gtest/gtest.h>

#include <map>
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
    Button under{"under", {6000, 2880, 1335, 375}, 14, "Effacer  ", true};
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
        // A tip per line, as the drives' folders; a line without one shows none.
        lines.toolTip = [this](int line) {
            const std::map<std::string, std::string> folders{{"E:", "/tmp/vidor/E"}, {"F:", ""}};
            return folders.at(lines.item(line));
        };
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
    // `expected` in pixels, in the window that holds the control.
    void expectPlace(const Control& control, const RECT& expected) {
        RECT place;
        ::GetWindowRect(hwnd(control), &place);
        ::MapWindowPoints(nullptr, ::GetParent(hwnd(control)), reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(place.left, expected.left) << control.name();
        EXPECT_EQ(place.top, expected.top) << control.name();
        EXPECT_EQ(place.right, expected.right) << control.name();
        EXPECT_EQ(place.bottom, expected.bottom) << control.name();
    }

    Win32WindowSystem system;
    Sample window;
};

// The tip window the form made, owned by the form's window.
HWND tipWindow(HWND form) {
    struct Search {
        HWND form;
        HWND found;
    } search{form, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t kind[64]{};
            ::GetClassNameW(hwnd, kind, 64);
            if (std::wstring(kind) == TOOLTIPS_CLASSW && ::GetWindow(hwnd, GW_OWNER) == s->form)
                s->found = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The width of `text` in the font `control` draws with.
LONG textWidth(HWND control, const wchar_t* text) {
    HDC dc = ::GetDC(control);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(std::wstring(text).size()), &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return size.cx;
}

TEST_F(Win32FormTest, ControlsLieAtTheirPlacesInTheirFontsAndALaterTabIndexAbove) {
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
    for (const Case& c : cases) expectPlace(c.control, c.place);
    EXPECT_EQ(::GetParent(hwnd(window.several)), hwnd(window.surface));
    // A bold caption must look bold: a font merely asked bold may be drawn from a normal face
    // when the machine lacks the face asked for. Bold strokes make the caption wider.
    LOGFONTW bold{};
    ::GetObjectW(reinterpret_cast<HFONT>(send(window.under, WM_GETFONT)), sizeof bold, &bold);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_GE(textWidth(hwnd(window.under), L"Recenser") * 10,
              textWidth(hwnd(window.cancel), L"Recenser") * 11);
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

TEST_F(Win32FormTest, ATipShowsTheTextOfTheLineUnderThePointerOrALineCutByTheListsEdge) {
    for (const char* drive : {"E:", "F:"}) window.lines.addItem(drive);
    // The list of extensions gives no tips of its own: only a line too long for it shows whole.
    const std::string path = "E:\\" + std::string(40, 'd') + "\\b.tmp";
    for (const std::string& line : {std::string("E:\\a.tmp"), path}) window.several.addItem(line);
    const std::wstring displayedPath = L"E:\\" + std::wstring(40, L'd') + L"\\b.tmp";
    // The long line is measured when the list is drawn again, and the list scrolls to its end.
    system.doEvents();
    const LONG whole = textWidth(hwnd(window.several), displayedPath.c_str());
    EXPECT_EQ(send(window.several, LB_GETHORIZONTALEXTENT), whole + 4);
    send(window.several, WM_HSCROLL, SB_RIGHT);
    SCROLLINFO scroll{sizeof scroll, SIF_ALL};
    ::GetScrollInfo(hwnd(window.several), SB_HORZ, &scroll);
    EXPECT_EQ(scroll.nPos + static_cast<int>(scroll.nPage), whole + 4);
    HWND tip = tipWindow(system.formOf(window)->hwnd());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

    RECT last;
    send(window.lines, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&last));
    const int height = last.bottom - last.top;
    struct Case {
        const ListBox& list;
        int y;  // pixels in the list
        std::wstring text;
    };
    const Case cases[] = {
        {window.lines, height / 2, L"/tmp/vidor/E"},
        {window.lines, height + height / 2, L""},  // F: has none
        {window.lines, 1, L"/tmp/vidor/E"},
        {window.lines, last.bottom + 20, L""},  // below the last line
        {window.several, height / 2, L""},      // seen whole
        {window.several, height + height / 2, displayedPath},
    };
    for (const Case& c : cases) {
        send(c.list, WM_MOUSEMOVE, 0, MAKELPARAM(20, c.y));
        wchar_t text[128] = L"?";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = ::GetParent(hwnd(c.list));
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd(c.list));
        tool.lpszText = text;
        ::SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), c.text) << c.list.name() << " " << c.y;
    }
}

TEST_F(Win32FormTest, AMonitorOfAnotherDensityRemakesFontsAndPlaces) {
    HWND form = system.formOf(window)->hwnd();
    const LRESULT lineHeight = send(window.lines, LB_GETITEMHEIGHT);
    const auto tipFont = [tip = tipWindow(form)] {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(tip, WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        return font.lfHeight;
    };
    ASSERT_EQ(tipFont(), -11) << "the system's font of tips, at 96 DPI";
    RECT suggested{100, 50, 850, 620};
    ::SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(system.formOf(window)->dpi(), 144);
    RECT outer;
    ::GetWindowRect(form, &outer);
    EXPECT_TRUE(::EqualRect(&outer, &suggested));

    window.cancel.move(3360, 2160);  // a later move keeps the new density
    struct Case {
        const Control& control;
        RECT place;  // pixels at 144 DPI, in the window that holds it
    };
    const Case cases[] = {
        {window.frame, {156, 12, 350, 326}},   {window.several, {180, 48, 326, 308}},
        {window.lines, {360, 36, 660, 276}},   {window.under, {600, 288, 734, 326}},
        {window.cancel, {336, 216, 470, 254}},
    };
    for (const Case& c : cases) expectPlace(c.control, c.place);
    // 8 points at 144 DPI.
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(send(window.under, WM_GETFONT)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -16);
    EXPECT_GT(send(window.lines, LB_GETITEMHEIGHT), lineHeight);
    EXPECT_EQ(tipFont(), -17);  // 16.5 pixels at 144 DPI
}

}  // namespace
}  // namespace vidor::platform::win32
