// The Win32 binding's own drawing on a real X server under Wine (with-screen.sh): its fonts, lists
// that show the program's lines, tips for lines cut by the list's edge, and a move to a monitor of
// another density. What every binding does is in WindowBinding_test.cpp.

#include "platform/win32/Win32Form.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/win32/Win32WindowSystem.h"
#include "tests/platform/WindowTest.h"

namespace vidor::platform::win32 {
namespace {

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
    // Where `control` lies, in pixels, in the window that holds it.
    std::array<LONG, 4> place(const Control& control) {
        RECT place;
        ::GetWindowRect(hwnd(control), &place);
        ::MapWindowPoints(nullptr, ::GetParent(hwnd(control)), reinterpret_cast<POINT*>(&place), 2);
        return {place.left, place.top, place.right, place.bottom};
    }

    // Lets the window handle its messages, its timers too, until `done` or a few seconds pass.
    template <class Condition>
    bool turnsUntil(Condition done) {
        for (int turn = 0; turn < 500 && !done(); ++turn) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            system.doEvents();
        }
        return done();
    }

    Win32WindowSystem system;
    test::Sample window;
};

// The tip window the form made, owned by the form's window.
HWND tipWindow(HWND form) {
    HWND tip = nullptr;
    while ((tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) &&
           ::GetWindow(tip, GW_OWNER) != form) {
    }
    return tip;
}

// The height of the font `hwnd` draws with, in pixels (negative: of the characters alone).
LONG fontHeight(HWND hwnd) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    return font.lfHeight;
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

TEST_F(Win32FormTest, ABoldCaptionLooksBold) {
    // A font merely asked bold may be drawn from a normal face when the machine lacks the face
    // asked for. Bold strokes make the caption wider.
    EXPECT_GE(textWidth(hwnd(window.under), L"Recenser") * 10,
              textWidth(hwnd(window.cancel), L"Recenser") * 11);
}

// The native list shows as many lines as the program's, however many, once the loop turns; a line
// taken off or selected at once: what the user keeps is what it shows.
TEST_F(Win32FormTest, ListsShowTheProgramsLinesAndSelection) {
    for (int i = 0; i < 100000; ++i) window.lines.addItem("E:\\f" + std::to_string(i) + ".tmp");
    const auto count = [this] { return send(window.lines, LB_GETCOUNT); };
    EXPECT_TRUE(turnsUntil([&] { return count() == 100000; })) << count();
    // The lines are drawn from the program's list: the native one holds their number alone.
    window.lines.removeItem(0);
    EXPECT_EQ(count(), 99999);
    // A line appended, then selected before the loop turns.
    window.lines.addItem("E:\\dernier.tmp");
    window.lines.setListIndex(99999);
    EXPECT_EQ(send(window.lines, LB_GETCURSEL), 99999);
    // The list scrolls to the first line the program shows, when it is next drawn.
    window.lines.setTopIndex(50000);
    EXPECT_TRUE(turnsUntil([&] { return send(window.lines, LB_GETTOPINDEX) == 50000; }));
}

// A long list that grows while the program works is drawn at a pace; once the program waits for
// the user, it is drawn at once.
TEST_F(Win32FormTest, ALongListLeftForLaterIsDrawnOnceTheProgramWaits) {
    const auto yield = [this] {
        ::Sleep(20);  // a yield handles the events at most every 15 ms
        system.doEvents();
    };
    for (int i = 0; i < 100000; ++i) window.lines.addItem("E:\\f" + std::to_string(i) + ".tmp");
    window.lines.setTopIndex(50000);
    yield();
    window.lines.addItem("E:\\dernier.tmp");
    window.lines.setTopIndex(50001);
    yield();
    static LRESULT top = 0;
    top = send(window.lines, LB_GETTOPINDEX);
    if (top == 50001) GTEST_SKIP() << "drawing the list is so quick here that nothing waits";
    // Another window's loop waits for the user; what it sees of the list once it has turned.
    static HWND list = hwnd(window.lines);
    static test::Sample* shown = nullptr;
    test::Sample other;
    shown = &other;
    ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        shown->setVisible(false);
    });
    system.showModal(other);
    system.release(other);
    EXPECT_EQ(top, 50001);
}

TEST_F(Win32FormTest, ALineCutByTheListsEdgeShowsWholeInATipAndTheListScrollsSideways) {
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

    // The pointer over each line: only the one cut by the edge has a tip.
    const auto height = static_cast<int>(send(window.several, LB_GETITEMHEIGHT));
    for (int line : {0, 1}) {
        send(window.several, WM_MOUSEMOVE, 0, MAKELPARAM(20, line * height + height / 2));
        wchar_t text[128] = L"?";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = ::GetParent(hwnd(window.several));
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd(window.several));
        tool.lpszText = text;
        ::SendMessageW(tipWindow(system.formOf(window)->hwnd()), TTM_GETTEXTW, 128,
                       reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), line == 1 ? displayedPath : L"") << line;
    }
}

TEST_F(Win32FormTest, AMonitorOfAnotherDensityRemakesFontsAndPlaces) {
    HWND form = system.formOf(window)->hwnd();
    const LRESULT lineHeight = send(window.lines, LB_GETITEMHEIGHT);
    RECT suggested{100, 50, 850, 620};
    ::SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(system.formOf(window)->dpi(), 144);
    RECT outer;
    ::GetWindowRect(form, &outer);
    EXPECT_TRUE(::EqualRect(&outer, &suggested));

    window.cancel.move(3360, 2160);  // a later move keeps the new density
    // Pixels at 144 DPI.
    EXPECT_EQ(place(window.several), (std::array<LONG, 4>{180, 48, 326, 308}));
    EXPECT_EQ(place(window.cancel), (std::array<LONG, 4>{336, 216, 470, 254}));
    EXPECT_EQ(fontHeight(hwnd(window.under)), -16);  // 8 points at 144 DPI
    EXPECT_GT(send(window.lines, LB_GETITEMHEIGHT), lineHeight);
    EXPECT_EQ(fontHeight(tipWindow(form)), -17);  // 16.5 pixels at 144 DPI
}

}  // namespace
}  // namespace vidor::platform::win32
