#include "platform/qt/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace vidor::platform::qt {

TwipScale::TwipScale() : dotsPerInch_(96) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dotsPerInch_ = screen->logicalDotsPerInch();
}

int TwipScale::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * dotsPerInch_ / 1440.0));
}

int TwipScale::twips(int pixels) const {
    return static_cast<int>(std::lround(pixels * 1440.0 / dotsPerInch_));
}

QRect TwipScale::rect(const Twips& place) const {
    return {pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height)};
}

}  // namespace vidor::platform::qt
