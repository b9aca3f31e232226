#pragma once

#include "platform/controls/Control.h"

namespace vidor::platform {

// A place on the screen in pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Twips (1/1440 inch), in which the windows are laid out, to the pixels of a screen of
// `dotsPerInch` and back, rounded to the nearest.
class PixelScale {
  public:
    explicit PixelScale(double dotsPerInch = 96) : dotsPerInch_(dotsPerInch) {}

    double dotsPerInch() const { return dotsPerInch_; }
    int pixels(int twips) const;
    int twips(int pixels) const;
    PixelRect rect(const Twips& place) const;

  private:
    double dotsPerInch_;
};

}  // namespace vidor::platform
