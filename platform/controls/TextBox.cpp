#include "platform/controls/TextBox.h"

#include <utility>

namespace vidor::platform {

TextBox::TextBox(std::string name, Twips place, int tabIndex)
    : Control(std::move(name), place, tabIndex) {}

void TextBox::setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    notify(Property::Text);
}

}  // namespace vidor::platform
