#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <unordered_map>

#include "platform/DrawPace.h"
#include "platform/controls/Control.h"

namespace vidor::platform {
class GuardedWindowSystem;
}

namespace vidor::platform::win32 {

class FormFonts;

// The lists of one form, owner-drawn and virtual: the native list only counts the lines and asks
// for the ones it draws, which stay in the ListBox, so a hundred thousand lines cost no copy. Under
// Wine every message that changes a list on screen costs milliseconds (the scroll bars are drawn
// again): lines appended, and the first line to show, wait for a turn of the message loop at
// the pace DrawPace sets (at once when the program waits for the user), where they are counted
// and measured and the list drawn once; a list whose drawing must wait is drawn by a timer. Each
// list scrolls sideways as far as its widest line; a tip shows a list's own tip of the line under
// the pointer, or else the line itself when the list's edge cuts it.
class NativeLists {
  public:
    // The form's timer that draws a list whose drawing had to wait.
    static constexpr UINT_PTR kDrawTimer = 1;

    NativeLists(HWND form, const FormFonts& fonts, GuardedWindowSystem& system);
    ~NativeLists();
    NativeLists(const NativeLists&) = delete;
    NativeLists& operator=(const NativeLists&) = delete;

    // Makes the native list `hwnd` show `list`.
    void add(HWND hwnd, ListBox& list);
    // Mirrors a change of the lines of the list `hwnd` shows.
    void changed(HWND hwnd, ListChange change, int index);
    // The list's first line shown changed: it is scrolled there when next drawn.
    void topMoved(HWND hwnd);
    // Gives the native list as many lines as its list, so that it can be asked about any of them.
    void catchUp(HWND hwnd);
    // Brings the lists up to date when their pace allows, or at once when not `paced`: their lines
    // counted and measured, and drawn. Called before each turn of the message loop.
    void bringUpToDate(bool paced);
    // The form's timer kDrawTimer fired.
    void timerFired();

    // The form's messages about the lists: the height and the drawing of a line, and the tip's
    // request for its text (true when it was one).
    void measureLine(MEASUREITEMSTRUCT& item) const;
    void drawLine(const DRAWITEMSTRUCT& item);
    bool answerTip(NMHDR& header);

    // The form moved to a screen of `dpi`, and the lists were given the new font.
    void densityChanged(int oldDpi);

  private:
    // What the native list shows of its ListBox.
    struct Shown {
        ListBox* list = nullptr;
        int count = 0;     // lines the native list holds
        int measured = 0;  // the first lines of the ListBox, measured for the sideways scroll
        int extent = 0;    // how far the list scrolls sideways, in pixels
        bool topMoved = false;
        bool frozen = false;  // not drawn until it is brought up to date
    };

    ListBox* listOf(HWND hwnd) const;
    void freeze(HWND hwnd, Shown& shown);
    void catchUp(HWND hwnd, Shown& shown);
    // Shows `shown` again after changes: scrolled to its first line, and drawn.
    void show(HWND hwnd, Shown& shown);
    void addTip(HWND list);
    void pointerOver(HWND list, LPARAM where);
    void tipText(NMTTDISPINFOW& info);
    void scaleTipFont(int oldDpi);
    // The width of the widest of the lines [from, to) of `list`, in the font `hwnd` draws with,
    // in pixels.
    static int widestLine(HWND hwnd, const ListBox& list, int from, int to);
    static bool cut(HWND list, const std::wstring& line);
    // Measures the lines not measured yet and lets the list scroll sideways to the widest.
    void fitWidth(HWND hwnd, Shown& shown);
    static LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND form_;
    const FormFonts& fonts_;
    GuardedWindowSystem& system_;
    std::unordered_map<HWND, Shown> lists_;
    DrawPace pace_;
    bool timerSet_ = false;
    // The window procedure of every native list, which ours calls after its own.
    WNDPROC base_ = nullptr;
    // One tip window for the lists, the line under the pointer in each, and the text shown.
    HWND tip_ = nullptr;
    // The tip's font once a change of density made it ours.
    HFONT tipFont_ = nullptr;
    std::unordered_map<HWND, int> tipLine_;
    std::wstring tipShown_;
};

}  // namespace vidor::platform::win32
