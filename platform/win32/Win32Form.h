#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/Keyboard.h"
#include "platform/PixelScale.h"
#include "platform/controls/Control.h"
#include "platform/controls/Window.h"
#include "platform/win32/FormFonts.h"
#include "platform/win32/NativeLists.h"

namespace vidor::platform::win32 {

class Win32WindowSystem;

// Draws a Window and its controls as native Win32 controls at their twips positions scaled to the
// screen, forwards the user's clicks, double-clicks, selection changes, mouse moves, keys and
// closing to the controls' handlers, and mirrors every later change of the controls. Where the
// controls lie on each other, the tab order, the focus and what Enter and Escape press follow the
// rules of platform/.
class Win32Form : public ControlObserver {
  public:
    // The window classes of the forms and of their panels.
    static constexpr wchar_t kFormClass[] = L"VidorForm";
    static constexpr wchar_t kPanelClass[] = L"VidorPanel";
    // Registers them, once per program (a second registration fails and changes nothing).
    static void registerClasses();

    Win32Form(Window& window, Win32WindowSystem& system, HWND owner);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    Window& window() const { return window_; }
    HWND hwnd() const { return top_; }
    // The dots per inch the window is drawn at now: the screen's, then the monitor's it was
    // moved to.
    int dpi() const { return fonts_.dpi(); }
    // The native window that draws `control`, or nullptr; and the control a native window draws.
    HWND hwndOf(const Control& control) const;
    Control* controlOf(HWND hwnd) const;
    // The control that keys go to while the window is in front, or nullptr.
    Control* focusedControl() const;

    // Shows the window in front, the focus where it belongs.
    void present();
    // Shows what changed since the loop last turned: the labels' captions, the lines appended to
    // the lists and the first line each shows. A walk changes them at every file, and under Wine
    // each change shown costs calls to the Wine server: the window system calls this before each
    // turn of its loops and before a box, so that whatever is drawn, or read by another program,
    // is the program's last state. A long list is drawn at the pace DrawPace sets while the
    // program works between yields (`paced`), at once when it waits for the user.
    void showChanges(bool paced = false);
    // A modal window is closed by Escape when it has no cancel button.
    void setModal(bool modal) { modal_ = modal; }

    void changed(Control& control, Property property) override;
    void listChanged(ListBox& list, ListChange change, int index) override;

    // Keys the form handles itself before the dialog navigation: Tab in the order of the tab
    // indexes, Enter and Escape. True when the message was used.
    bool keyDown(const MSG& message);

  private:
    static constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    static constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
    // A frame's controls are not its children on screen: they lie beside it, on its panel.
    static bool isFrame(const Control* control);

    static LRESULT CALLBACK surfaceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
    // The window procedure of the form and of its panels: each message to its handler.
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Building (Win32Form.cpp).
    void build(Control& control, HWND parent);
    HWND create(Control& control, HWND parent);
    void stack(const std::vector<Control*>& siblings, std::vector<HWND>& order) const;
    HFONT fontOf(const Control& control) const;

    // Handlers of the window's messages (Win32FormEvents.cpp).
    void command(HWND from, int code);
    void selectionChanged(ListBox& list, HWND hwnd);
    LRESULT colors(HWND control, HDC dc, LRESULT byDefault);
    void mouseOverPanel(HWND hwnd);
    bool setCursor();
    void dpiChanged(int dpi, const RECT& suggested);
    bool closeAsked(HWND hwnd);

    // Mirroring the controls (Win32FormMirror.cpp).
    void applyWindow(Property property);
    void applyControl(Control& control, HWND hwnd, Property property);
    void syncSelection(ListBox& list, HWND hwnd);
    RECT pixels(const Control& control) const;
    bool shown(const Control& control) const;

    // The keyboard (Win32FormKeys.cpp).
    void pressKey(Key key);
    void tab(bool backwards);
    void activated(bool active);
    // Moves the focus off a control the user can no longer use, as the keyboard rules say.
    void keepFocusUsable();
    void focus(Control* control);

    Window& window_;
    Win32WindowSystem& system_;
    FormFonts fonts_;
    HWND top_ = nullptr;
    std::unique_ptr<NativeLists> lists_;
    bool modal_ = false;
    bool syncing_ = false;
    int nextId_ = 100;
    std::unordered_map<const Control*, HWND> hwnds_;
    std::unordered_map<HWND, Control*> controls_;
    // Labels whose caption changed since the loop last turned.
    std::vector<HWND> captionsOwed_;
    // Where the focus rested when the window last went behind another.
    Control* focusBehind_ = nullptr;
};

}  // namespace vidor::platform::win32
