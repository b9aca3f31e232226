#pragma once

#include <QRect>

#include "platform/controls/Control.h"

namespace vidor::platform::qt {

// Converts twips (1/1440 inch) to the screen's pixels and back, at its logical resolution.
class TwipScale {
  public:
    TwipScale();
    explicit TwipScale(double dotsPerInch) : dotsPerInch_(dotsPerInch) {}

    int pixels(int twips) const;
    int twips(int pixels) const;
    QRect rect(const Twips& place) const;

  private:
    double dotsPerInch_;
};

}  // namespace vidor::platform::qt
