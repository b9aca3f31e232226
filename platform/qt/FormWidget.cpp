#include "platform/qt/FormWidget.h"

#include <QCloseEvent>

#include "platform/qt/QtForm.h"

namespace vidor::platform::qt {

void FormWidget::closeEvent(QCloseEvent* event) {
    event->ignore();
    form_.closeAsked();
}

bool FormWidget::focusNextPrevChild(bool next) {
    return form_.tab(!next);
}

bool FormWidget::event(QEvent* event) {
    const bool done = QWidget::event(event);
    // Back in front (after a modal window, say): the focus returns where it belongs.
    if (event->type() == QEvent::WindowActivate) form_.activated();
    return done;
}

}  // namespace vidor::platform::qt
