#include "platform/controls/Control.h"

#include <utility>

namespace vidor::platform {

Control::Control(std::string name, Twips place, int tabIndex)
    : name_(std::move(name)), place_(place), tabIndex_(tabIndex) {}

void Control::move(int left, int top) {
    if (place_.left == left && place_.top == top) return;
    place_.left = left;
    place_.top = top;
    notify(Property::Geometry);
}

void Control::resize(int width, int height) {
    if (place_.width == width && place_.height == height) return;
    place_.width = width;
    place_.height = height;
    notify(Property::Geometry);
}

void Control::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    notify(Property::Visible);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    notify(Property::Enabled);
}

void Control::hold(Control& child) {
    child.parent_ = this;
    children_.push_back(&child);
}

void Control::notify(Property property) {
    if (observer_) observer_->changed(*this, property);
}

}  // namespace vidor::platform
