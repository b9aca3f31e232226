#include "platform/win32/InputDialog.h"

#include <vector>

#include "platform/windows/Wide.h"

namespace vidor::platform::win32 {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// Dialog units: the prompt starts one line high and grows to fit its text when the dialog opens.
constexpr short kWidth = 260;
constexpr short kMargin = 7;
constexpr short kLineHeight = 8;

// An in-memory dialog template, so that the program needs no resource script.
class Template {
  public:
    void dialog(const std::wstring& title, short width, short height, WORD items) {
        DLGTEMPLATE header{};
        header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        header.cdit = items;
        header.cx = width;
        header.cy = height;
        raw(&header, sizeof header);
        word(0);  // no menu
        word(0);  // the standard dialog class
        text(title);
        word(8);  // point size of the font
        text(L"MS Shell Dlg");
    }

    void item(WORD kind, WORD id, DWORD style, short x, short y, short cx, short cy,
              const std::wstring& caption) {
        while (words_.size() % 2 != 0) word(0);  // items start on a DWORD
        DLGITEMTEMPLATE header{};
        header.style = style | WS_CHILD | WS_VISIBLE;
        header.x = x;
        header.y = y;
        header.cx = cx;
        header.cy = cy;
        header.id = id;
        raw(&header, sizeof header);
        word(0xFFFF);
        word(kind);
        text(caption);
        word(0);  // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void word(WORD value) { words_.push_back(value); }
    void text(const std::wstring& value) {
        words_.insert(words_.end(), value.begin(), value.end());
        word(0);
    }
    void raw(const void* data, std::size_t size) {
        const auto* words = static_cast<const WORD*>(data);
        words_.insert(words_.end(), words, words + size / sizeof(WORD));
    }

    std::vector<WORD> words_;
};

struct Exchange {
    std::wstring prompt;
    std::wstring text;
};

void moveDown(HWND dialog, int id, int pixels) {
    HWND item = ::GetDlgItem(dialog, id);
    RECT place;
    ::GetWindowRect(item, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    ::SetWindowPos(item, nullptr, place.left, place.top + pixels, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Makes the prompt as high as its wrapped text, and the dialog higher by as much.
void fitPrompt(HWND dialog, const std::wstring& prompt) {
    HWND label = ::GetDlgItem(dialog, kPromptId);
    RECT place;
    ::GetWindowRect(label, &place);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    RECT needed{0, 0, place.right - place.left, 0};
    HDC dc = ::GetDC(label);
    HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, prompt.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, previous);
    ::ReleaseDC(label, dc);
    const int grow = needed.bottom - (place.bottom - place.top);
    if (grow <= 0) return;
    ::SetWindowPos(label, nullptr, 0, 0, place.right - place.left, needed.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {int(kEditId), IDOK, IDCANCEL}) moveDown(dialog, id, grow);
    RECT frame;
    ::GetWindowRect(dialog, &frame);
    ::SetWindowPos(dialog, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
                   frame.bottom - frame.top + grow, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* exchange = reinterpret_cast<Exchange*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            exchange = reinterpret_cast<Exchange*>(lParam);
            fitPrompt(dialog, exchange->prompt);
            HWND edit = ::GetDlgItem(dialog, kEditId);
            ::SetWindowTextW(edit, exchange->text.c_str());
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            ::SetFocus(edit);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                HWND edit = ::GetDlgItem(dialog, kEditId);
                std::wstring typed(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1,
                                   L'\0');
                typed.resize(static_cast<std::size_t>(
                    ::GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size()))));
                exchange->text = typed;
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::string> askText(HWND owner, const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
    Exchange exchange{windows::widen(prompt), windows::widen(defaultText)};
    constexpr short inner = kWidth - 2 * kMargin;
    constexpr short editTop = kMargin + kLineHeight + 4;
    constexpr short buttonsTop = editTop + 12 + 7;
    Template form;
    form.dialog(windows::widen(title), kWidth, buttonsTop + 14 + kMargin, 4);
    form.item(kStaticClass, kPromptId, SS_LEFT | SS_NOPREFIX, kMargin, kMargin, inner, kLineHeight,
              exchange.prompt);
    form.item(kEditClass, kEditId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kMargin, editTop, inner,
              12, L"");
    form.item(kButtonClass, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - kMargin - 2 * 50 - 4,
              buttonsTop, 50, 14, L"OK");
    form.item(kButtonClass, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, kWidth - kMargin - 50, buttonsTop,
              50, 14, L"Annuler");
    const INT_PTR pressed =
        ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), form.get(), owner, dialogProc,
                                  reinterpret_cast<LPARAM>(&exchange));
    if (pressed != IDOK) return std::nullopt;
    return windows::narrow(exchange.text);
}

}  // namespace vidor::platform::win32
