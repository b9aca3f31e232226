// The form's mirror: every change of the window's or a control's state shown on its widget.

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/AccessibleName.h"
#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/TextBox.h"
#include "platform/qt/QtForm.h"
#include "platform/qt/QtText.h"

namespace vidor::platform::qt {

void QtForm::applyWindow(Property property) {
    switch (property) {
        case Property::Caption:
            top_->setWindowTitle(text(window_.caption()));
            captionChanged(window_);
            break;
        case Property::Geometry:
            top_->resize(scale_.pixels(window_.innerWidth()), scale_.pixels(window_.innerHeight()));
            top_->move(scale_.pixels(window_.place().left), scale_.pixels(window_.place().top));
            break;
        case Property::Visible:
            if (window_.visible()) {
                top_->show();
            } else {
                top_->hide();
                if (onHidden) onHidden();
            }
            break;
        case Property::Pointer:
            if (window_.mousePointer() == kPointerHourglass)
                top_->setCursor(Qt::WaitCursor);
            else
                top_->unsetCursor();
            break;
        case Property::Default:
            for (auto& [control, widget] : widgets_) {
                if (auto* push = qobject_cast<QPushButton*>(widget)) {
                    push->setDefault(control == window_.defaultButton());
                }
            }
            break;
        default:
            break;
    }
}

void QtForm::applyControl(Control& control, QWidget* widget, Property property) {
    switch (property) {
        case Property::Geometry:
            widget->setGeometry(qRect(scale_.rect(control.place())));
            break;
        case Property::Visible:
            widget->setVisible(control.visible());
            break;
        case Property::Enabled:
            widget->setEnabled(control.enabled());
            break;
        case Property::Caption:
            if (auto* button = dynamic_cast<Button*>(&control)) {
                static_cast<QPushButton*>(widget)->setText(text(button->caption()));
            } else if (auto* label = dynamic_cast<Label*>(&control)) {
                static_cast<QLabel*>(widget)->setText(text(label->caption()));
            }
            captionChanged(control);
            break;
        case Property::Value: {
            QSignalBlocker quiet(widget);
            static_cast<QCheckBox*>(widget)->setChecked(static_cast<CheckBox&>(control).value() ==
                                                        1);
            break;
        }
        case Property::Text:
            static_cast<QPlainTextEdit*>(widget)->setPlainText(
                text(static_cast<TextBox&>(control).text()));
            break;
        case Property::ForeColor: {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText,
                             qColor(rgbOf(static_cast<Label&>(control).foreColor())));
            widget->setPalette(palette);
            break;
        }
        case Property::Selection:
            syncSelection(static_cast<ListBox&>(control));
            break;
        case Property::TopIndex:
            topMoved_.insert(&static_cast<ListBox&>(control));
            queueShowLists();
            break;
        default:
            break;
    }
}

void QtForm::name(const Control& control) {
    const Control* source = nameSource(control);
    if (!source) return;
    widgetOf(control)->setAccessibleName(text(captionOf(*source)));
    named_.emplace(source, &control);
}

void QtForm::captionChanged(const Control& control) {
    const auto [first, last] = named_.equal_range(&control);
    for (auto it = first; it != last; ++it)
        widgetOf(*it->second)->setAccessibleName(text(captionOf(control)));
}

}  // namespace vidor::platform::qt
