#include "platform/win32/FormFonts.h"

#include <initializer_list>

namespace vidor::platform::win32 {

namespace {

HFONT makeFont(int dpi, bool bold) {
    return ::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

void deleteFont(HFONT& font) {
    if (font) ::DeleteObject(font);
    font = nullptr;
}

}  // namespace

FormFonts::~FormFonts() {
    for (HFONT* font : {&normal_, &bold_, &oldNormal_, &oldBold_}) deleteFont(*font);
}

void FormFonts::remake(int dpi) {
    // A control still draws with the old font until it is told of the new one.
    deleteFont(oldNormal_);
    deleteFont(oldBold_);
    oldNormal_ = normal_;
    oldBold_ = bold_;
    make(dpi);
}

void FormFonts::make(int dpi) {
    dpi_ = dpi;
    normal_ = makeFont(dpi, false);
    bold_ = makeFont(dpi, true);
    if (HDC screen = ::GetDC(nullptr)) {
        HGDIOBJ previous = ::SelectObject(screen, normal_);
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(screen, &metrics)) lineHeight_ = metrics.tmHeight;
        ::SelectObject(screen, previous);
        ::ReleaseDC(nullptr, screen);
    }
}

}  // namespace vidor::platform::win32
