// The Win32 binding's own drawing on a real X server under Wine (with-screen.sh): its fonts, lists
// that show the program's lines, tips for lines cut by the list's edge, and a move to a monitor of
// another density. What every binding does is in WindowBinding_test.cpp.

#include "platform/win32/Win32Form.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32WindowSystem.h"
#include "tests/platform/WindowTest.h"

namespace vidor::platform::win32 {
namespace {

class Win32FormTest : public test::WindowBindingTest {
  protected:
    Win32FormTest() { showSample(); }
    HWND hwnd(const Control& control) { return system.formOf(sample)->hwndOf(control); }
    LRESULT send(const Control& control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(hwnd(control), message, wParam, lParam);
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

    Win32WindowSystem& system = static_cast<Win32WindowSystem&>(driver->windows());
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

// The native list shows as many lines as the program's, however many, once the loop turns; a line
// taken off or selected at once: what the user keeps is what it shows. A long list is drawn at a
// pace while the program works; once the program waits for the user, at once.
TEST_F(Win32FormTest, ListsShowTheProgramsLinesAndSelectionAndALongOneIsDrawnOnceTheProgramWaits) {
    for (int i = 0; i < 100000; ++i) sample.lines.addItem("E:\\f" + std::to_string(i) + ".tmp");
    const auto count = [this] { return send(sample.lines, LB_GETCOUNT); };
    EXPECT_TRUE(turnsUntil([&] { return count() == 100000; })) << count();
    // The lines are drawn from the program's list: the native one holds their number alone.
    sample.lines.removeItem(0);
    EXPECT_EQ(count(), 99999);
    // A line appended, then selected before the loop turns.
    sample.lines.addItem("E:\\dernier.tmp");
    sample.lines.setListIndex(99999);
    EXPECT_EQ(send(sample.lines, LB_GETCURSEL), 99999);
    // The list scrolls to the first line the program shows, when it is next drawn.
    const auto top = [this] { return send(sample.lines, LB_GETTOPINDEX); };
    sample.lines.setTopIndex(50000);
    EXPECT_TRUE(turnsUntil([&] { return top() == 50000; }));

    // Just drawn, the list waits for its next turn while the program works.
    sample.lines.setTopIndex(50001);
    ::Sleep(20);  // a yield handles the events at most every 15 ms
    system.doEvents();
    if (top() == 50001) GTEST_SKIP() << "drawing the list is so quick here that nothing waits";
    // Another window's loop waits for the user; what it sees of the list once it has turned.
    LRESULT seen = 0;
    test::Sample other;
    driver->soon([&] {
        seen = top();
        other.setVisible(false);
    });
    system.showModal(other);
    system.release(other);
    EXPECT_EQ(seen, 50001);
}

TEST_F(Win32FormTest, ALineCutByTheListsEdgeShowsWholeInATipAndTheListScrollsSideways) {
    const std::string path = "E:\\" + std::string(40, 'd') + "\\b.tmp";
    for (const std::string& line : {std::string("E:\\a.tmp"), path}) sample.several.addItem(line);
    const std::wstring displayedPath = L"E:\\" + std::wstring(40, L'd') + L"\\b.tmp";
    // The long line is measured when the list is drawn again, and the list scrolls to its end.
    system.doEvents();
    const LONG whole = textWidth(hwnd(sample.several), displayedPath.c_str());
    EXPECT_EQ(send(sample.several, LB_GETHORIZONTALEXTENT), whole + 4);
    send(sample.several, WM_HSCROLL, SB_RIGHT);
    SCROLLINFO scroll{sizeof scroll, SIF_ALL};
    ::GetScrollInfo(hwnd(sample.several), SB_HORZ, &scroll);
    EXPECT_EQ(scroll.nPos + static_cast<int>(scroll.nPage), whole + 4);

    // The pointer over each line: only the one cut by the edge has a tip.
    const auto height = static_cast<int>(send(sample.several, LB_GETITEMHEIGHT));
    for (int line : {0, 1}) {
        send(sample.several, WM_MOUSEMOVE, 0, MAKELPARAM(20, line * height + height / 2));
        wchar_t text[128] = L"?";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = ::GetParent(hwnd(sample.several));
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd(sample.several));
        tool.lpszText = text;
        ::SendMessageW(tipWindow(system.formOf(sample)->hwnd()), TTM_GETTEXTW, 128,
                       reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), line == 1 ? displayedPath : L"") << line;
    }
}

TEST_F(Win32FormTest, BoldCaptionsLookBoldAndAMonitorOfAnotherDensityRemakesFontsAndPlaces) {
    // A font merely asked bold may be drawn from a normal face when the machine lacks the face
    // asked for. Bold strokes make the caption wider.
    EXPECT_GE(textWidth(hwnd(sample.under), L"Recenser") * 10,
              textWidth(hwnd(sample.cancel), L"Recenser") * 11);

    HWND form = system.formOf(sample)->hwnd();
    const LRESULT lineHeight = send(sample.lines, LB_GETITEMHEIGHT);
    RECT suggested{100, 50, 850, 620};
    ::SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(system.formOf(sample)->dpi(), 144);
    RECT outer;
    ::GetWindowRect(form, &outer);
    EXPECT_TRUE(::EqualRect(&outer, &suggested));

    sample.cancel.move(3360, 2160);  // a later move keeps the new density
    // Pixels at 144 DPI.
    EXPECT_EQ(driver->placeOf(sample, sample.several), (PixelRect{180, 48, 146, 260}));
    EXPECT_EQ(driver->placeOf(sample, sample.cancel), (PixelRect{336, 216, 134, 38}));
    EXPECT_EQ(fontHeight(hwnd(sample.under)), -16);  // 8 points at 144 DPI
    EXPECT_GT(send(sample.lines, LB_GETITEMHEIGHT), lineHeight);
    EXPECT_EQ(fontHeight(tipWindow(form)), -17);  // 16.5 pixels at 144 DPI
}

}  // namespace
}  // namespace vidor::platform::win32
