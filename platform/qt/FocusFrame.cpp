#include "platform/qt/FocusFrame.h"

namespace vidor::platform::qt {

void drawFocusFrame(QPainter& painter, const QStyleOptionViewItem& line) {
    // The styles draw this frame faintly, or only once Tab has been pressed: a user who clicked
    // in the list and then uses the arrows would not see which line Space selects.
    const bool selected = line.state & QStyle::State_Selected;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(line.palette.color(selected ? QPalette::HighlightedText : QPalette::Text),
                        1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(line.rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

}  // namespace vidor::platform::qt
