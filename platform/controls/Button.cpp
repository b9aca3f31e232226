#include "platform/controls/Button.h"

#include <utility>

namespace vidor::platform {

Button::Button(std::string name, Twips place, int tabIndex, std::string caption, bool bold)
    : Control(std::move(name), place, tabIndex), caption_(std::move(caption)), bold_(bold) {}

void Button::setCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    notify(Property::Caption);
}

void Button::press() {
    if (onClick) onClick();
}

}  // namespace vidor::platform
