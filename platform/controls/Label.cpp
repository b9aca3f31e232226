#include "platform/controls/Label.h"

#include <utility>

namespace vidor::platform {

Label::Label(std::string name, Twips place, int tabIndex, std::string caption, bool bold)
    : Control(std::move(name), place, tabIndex), caption_(std::move(caption)), bold_(bold) {}

void Label::setCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    notify(Property::Caption);
}

void Label::setForeColor(int color) {
    if (foreColor_ == color) return;
    foreColor_ = color;
    notify(Property::ForeColor);
}

}  // namespace vidor::platform
