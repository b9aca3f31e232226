#pragma once

#include <windows.h>

namespace vidor::platform::win32 {

// The two fonts a form draws with, normal and bold, in the size and face the window's layout was
// drawn for, at the density of the screen the form lies on; and the height of a list's line.
class FormFonts {
  public:
    explicit FormFonts(int dpi) { make(dpi); }
    ~FormFonts();
    FormFonts(const FormFonts&) = delete;
    FormFonts& operator=(const FormFonts&) = delete;

    int dpi() const { return dpi_; }
    HFONT normal() const { return normal_; }
    HFONT bold() const { return bold_; }
    int lineHeight() const { return lineHeight_; }

    // Makes the fonts again for `dpi`; the old ones are deleted once the caller no longer uses
    // them: at the next remake, or with this object.
    void remake(int dpi);

  private:
    void make(int dpi);

    int dpi_ = 96;
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
    HFONT oldNormal_ = nullptr;
    HFONT oldBold_ = nullptr;
    int lineHeight_ = 13;
};

}  // namespace vidor::platform::win32
