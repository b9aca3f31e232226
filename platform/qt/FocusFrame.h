#pragma once

#include <QPainter>
#include <QStyleOptionViewItem>

namespace vidor::platform::qt {

// Draws the frame that shows the current line of a list that has the focus: the line Space and
// the arrows act on. Dotted, in the colour of the line's text, so that it shows on a selected
// line as on any other, as Windows draws it.
void drawFocusFrame(QPainter& painter, const QStyleOptionViewItem& line);

}  // namespace vidor::platform::qt
