#include "platform/AccessibleName.h"

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/Label.h"
#include "platform/controls/Panel.h"
#include "platform/controls/Window.h"

namespace vidor::platform {

namespace {

bool isFrame(const Control& control) {
    auto* panel = dynamic_cast<const Panel*>(&control);
    return panel && panel->kind() == Panel::Kind::Frame;
}

bool hasCaption(const Control& control) {
    return dynamic_cast<const Button*>(&control) || dynamic_cast<const CheckBox*>(&control) ||
           dynamic_cast<const Label*>(&control) || dynamic_cast<const Window*>(&control) ||
           isFrame(control);
}

}  // namespace

const Control* nameSource(const Control& control) {
    if (const Control* label = control.labelledBy()) return label;
    if (hasCaption(control)) return &control;
    if (dynamic_cast<const Panel*>(&control)) return nullptr;
    for (const Control* up = control.parent(); up; up = up->parent()) {
        if (isFrame(*up) || !up->parent()) return up;
    }
    return nullptr;
}

std::string accessibleName(const Control& control) {
    const Control* source = nameSource(control);
    return source ? captionOf(*source) : std::string();
}

std::string captionOf(const Control& control) {
    if (auto* button = dynamic_cast<const Button*>(&control)) return button->caption();
    if (auto* box = dynamic_cast<const CheckBox*>(&control)) return box->caption();
    if (auto* label = dynamic_cast<const Label*>(&control)) return label->caption();
    if (auto* panel = dynamic_cast<const Panel*>(&control)) return panel->caption();
    if (auto* window = dynamic_cast<const Window*>(&control)) return window->caption();
    return {};
}

}  // namespace vidor::platform
