#include "platform/PixelScale.h"

#include <cmath>

namespace vidor::platform {

int PixelScale::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * dotsPerInch_ / 1440.0));
}

int PixelScale::twips(int pixels) const {
    return static_cast<int>(std::lround(pixels * 1440.0 / dotsPerInch_));
}

PixelRect PixelScale::rect(const Twips& place) const {
    return {pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height)};
}

}  // namespace vidor::platform
