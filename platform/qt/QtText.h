#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>

#include "platform/PixelScale.h"
#include "platform/controls/Label.h"

namespace vidor::platform::qt {

// A text of the program for Qt: its line breaks are written CR LF.
inline QString text(const std::string& utf8) {
    return QString::fromStdString(utf8).replace("\r\n", "\n");
}

inline QRect qRect(const PixelRect& place) {
    return {place.left, place.top, place.width, place.height};
}

inline QColor qColor(Rgb colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace vidor::platform::qt
