#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls/Control.h"
#include "platform/controls/Window.h"

namespace vidor::platform::win32 {

class Win32WindowSystem;

// Draws a Window and its controls as native Win32 controls at their twips positions scaled to the
// screen, forwards the user's clicks, double-clicks, selection changes, mouse moves, keys and
// closing to the controls' handlers, and mirrors every later change of the controls.
class Win32Form : public ControlObserver {
  public:
    Win32Form(Window& window, Win32WindowSystem& system, HWND owner);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    HWND hwnd() const { return top_; }
    // The dots per inch the window is drawn at now: the screen's, then the monitor's it was
    // moved to.
    int dpi() const { return dpi_; }
    // The native window that draws `control`, or nullptr.
    HWND hwndOf(const Control& control) const;

    // Shows the window in front, its first control focused.
    void present();
    // A modal window is closed by Escape when it has no cancel button.
    void setModal(bool modal) { modal_ = modal; }

    void changed(Control& control, Property property) override;
    void listChanged(ListBox& list, ListChange change, int index) override;

    // Keys the form handles itself before the dialog navigation: Tab in the order of the tab
    // indexes, and Escape. True when the message was used.
    bool keyDown(const MSG& message);

    // The window procedure of the form and of its panels.
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Item {
        Control* control;
        HWND hwnd;
    };

    void makeFonts();
    HFONT fontOf(const Control& control) const;
    void dpiChanged(int dpi, const RECT& suggested);
    void scaleTipFont(int oldDpi);
    void addTip(HWND list);
    static bool cut(HWND list, const std::wstring& line);
    // The width of the widest of `lines` in the font `list` draws with, in pixels.
    static int widestLine(HWND list, const std::vector<std::wstring>& lines);
    void fitWidth(HWND list, const std::vector<std::wstring>& lines);
    // Measures every line of `control` again, as after a change of font.
    void fitWidth(HWND list, const ListBox& control);
    void pointerOverList(HWND list, LPARAM where);
    void tipText(NMTTDISPINFOW& info);
    void build(Control& control, HWND parent);
    HWND create(Control& control, HWND parent);
    void stack(const std::vector<Control*>& siblings, std::vector<HWND>& order) const;
    void command(HWND from, int id, int code);
    void selectionChanged(ListBox& list, HWND hwnd);
    void syncSelection(ListBox& list, HWND hwnd);
    void flushLists();
    void drawLine(const DRAWITEMSTRUCT& item);
    LRESULT colors(HWND control, HDC dc, LRESULT byDefault);
    void applyWindow(Property property);
    void applyControl(Control& control, HWND hwnd, Property property);
    void pressKey(bool cancel);
    Control* controlAt(HWND hwnd) const;
    RECT pixels(const Control& control) const;
    bool shown(const Control& control) const;
    static LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    static LRESULT CALLBACK listProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Window& window_;
    Win32WindowSystem& system_;
    HWND top_ = nullptr;
    HFONT font_ = nullptr;
    HFONT bold_ = nullptr;
    int dpi_ = 96;
    // One tool tip window for the lists, and the line under the pointer in each: a list's own tip
    // of that line, or else the line itself when it is too long to be seen whole.
    HWND tip_ = nullptr;
    // The tip's font once a change of density made it ours.
    HFONT tipFont_ = nullptr;
    std::unordered_map<HWND, int> tipLine_;
    std::wstring tipShown_;
    int lineHeight_ = 13;
    bool modal_ = false;
    bool syncing_ = false;
    bool flushPosted_ = false;
    int nextId_ = 100;
    std::unordered_map<const Control*, HWND> hwnds_;
    std::unordered_map<HWND, Control*> controls_;
    // Lists whose drawing waits for the next turn of the message loop.
    std::vector<HWND> frozen_;
    // The lines added to each list since they were last measured, and how far each list scrolls
    // sideways.
    std::unordered_map<HWND, std::vector<std::wstring>> unmeasured_;
    std::unordered_map<HWND, int> extents_;
};

}  // namespace vidor::platform::win32
