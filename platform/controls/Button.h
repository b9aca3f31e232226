#pragma once

#include <functional>
#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A push button. press() is the click, whether the user or the program makes it.
class Button : public Control {
  public:
    Button(std::string name, Twips place, int tabIndex, std::string caption, bool bold = false);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    bool bold() const { return bold_; }

    // Runs the click handler, enabled or not: a press from the program is never refused.
    void press();

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

  private:
    std::string caption_;
    bool bold_;
};

}  // namespace vidor::platform
