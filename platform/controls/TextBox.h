#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A multi-line text with a vertical scroll bar, for the user to read, select and copy: every
// binding shows it read-only, since nothing typed into it would be kept. Tab moves on to the
// next control.
class TextBox : public Control {
  public:
    TextBox(std::string name, Twips place, int tabIndex);

    const std::string& text() const { return text_; }
    void setText(std::string text);

  private:
    std::string text_;
};

}  // namespace vidor::platform
