#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// Text colours as the window layout gives them: 0x00BBGGRR.
inline constexpr int kBlack = 0;
inline constexpr int kRed = 255;

// A colour's red, green and blue, each 0 to 255.
struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

// The parts of a colour as the window layout gives it, 0x00BBGGRR.
constexpr Rgb rgbOf(int bgr) {
    return {bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF};
}

// A label: a caption, possibly bold, in a colour.
class Label : public Control {
  public:
    Label(std::string name, Twips place, int tabIndex, std::string caption, bool bold = false);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool bold() const { return bold_; }
    int foreColor() const { return foreColor_; }
    void setForeColor(int color);

  private:
    std::string caption_;
    bool bold_;
    int foreColor_ = kBlack;
};

}  // namespace vidor::platform
