#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A multi-line text box with a vertical scroll bar; the user may edit its text.
class TextBox : public Control {
  public:
    TextBox(std::string name, Twips place, int tabIndex);

    const std::string& text() const { return text_; }
    void setText(std::string text);

  private:
    std::string text_;
};

}  // namespace vidor::platform
