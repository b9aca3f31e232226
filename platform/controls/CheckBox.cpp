#include "platform/controls/CheckBox.h"

#include <utility>

namespace vidor::platform {

CheckBox::CheckBox(std::string name, Twips place, int tabIndex, std::string caption, int value)
    : Control(std::move(name), place, tabIndex), caption_(std::move(caption)), value_(value) {}

void CheckBox::setValue(int value) {
    if (value_ == value) return;
    value_ = value;
    notify(Property::Value);
    if (onClick) onClick();
}

}  // namespace vidor::platform
