#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls/Control.h"

namespace vidor::platform {
class GuardedWindowSystem;
}

namespace vidor::platform::win32 {

class FormFonts;

// The lists of one form, owner-drawn and virtual: the native list only counts the lines and asks
// for the ones it draws, which stay in the ListBox, so a hundred thousand lines cost no copy. The
// lines added between two turns of the message loop are drawn and measured together; each list
// scrolls sideways as far as its widest line; a tip shows a list's own tip of the line under the
// pointer, or else the line itself when the list's edge cuts it.
class NativeLists {
  public:
    // Posted to the form when a list stopped drawing itself: it draws again once the loop turns.
    static constexpr UINT kDrawAgain = WM_APP + 1;

    NativeLists(HWND form, const FormFonts& fonts, GuardedWindowSystem& system);
    ~NativeLists();
    NativeLists(const NativeLists&) = delete;
    NativeLists& operator=(const NativeLists&) = delete;

    // Makes the native list `hwnd` show `list`.
    void add(HWND hwnd, ListBox& list);
    // Mirrors a change of the lines of `list`, which `hwnd` shows.
    void changed(HWND hwnd, const ListBox& list, ListChange change, int index);
    // Draws again the lists whose drawing waited for the loop to turn.
    void drawAgain();

    // The form's messages about the lists: the height and the drawing of a line, and the tip's
    // request for its text (true when it was one).
    void measureLine(MEASUREITEMSTRUCT& item) const;
    void drawLine(const DRAWITEMSTRUCT& item);
    bool answerTip(NMHDR& header);

    // The form moved to a screen of `dpi`, and the lists were given the new font.
    void densityChanged(int oldDpi);

  private:
    ListBox* listOf(HWND hwnd) const;
    void addTip(HWND list);
    void pointerOver(HWND list, LPARAM where);
    void tipText(NMTTDISPINFOW& info);
    void scaleTipFont(int oldDpi);
    // The width of the widest of `lines` in the font `list` draws with, in pixels.
    static int widestLine(HWND list, const std::vector<std::wstring>& lines);
    static bool cut(HWND list, const std::wstring& line);
    void fitWidth(HWND list, const std::vector<std::wstring>& lines);
    // Measures every line of `list` again, as after a change of font.
    void fitWidth(HWND hwnd, const ListBox& list);
    static LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND form_;
    const FormFonts& fonts_;
    GuardedWindowSystem& system_;
    std::unordered_map<HWND, ListBox*> lists_;
    // The window procedure of every native list, which ours calls after its own.
    WNDPROC base_ = nullptr;
    // One tip window for the lists, the line under the pointer in each, and the text shown.
    HWND tip_ = nullptr;
    // The tip's font once a change of density made it ours.
    HFONT tipFont_ = nullptr;
    std::unordered_map<HWND, int> tipLine_;
    std::wstring tipShown_;
    bool drawPosted_ = false;
    // Lists whose drawing waits for the next turn of the message loop.
    std::vector<HWND> frozen_;
    // The lines added to each list since they were last measured, and how far each list scrolls
    // sideways.
    std::unordered_map<HWND, std::vector<std::wstring>> unmeasured_;
    std::unordered_map<HWND, int> extents_;
};

}  // namespace vidor::platform::win32
