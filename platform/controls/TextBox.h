#pragma once

#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A multi-line text box with a vertical scroll bar. The user may edit its text unless it is
// locked; Tab moves on to the next control either way.
class TextBox : public Control {
  public:
    TextBox(std::string name, Twips place, int tabIndex, bool locked = false);

    const std::string& text() const { return text_; }
    void setText(std::string text);
    bool locked() const { return locked_; }

  private:
    std::string text_;
    bool locked_;
};

}  // namespace vidor::platform
