#pragma once

#include <functional>
#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A check box whose value is 0 (unchecked) or 1 (checked).
class CheckBox : public Control {
  public:
    CheckBox(std::string name, Twips place, int tabIndex, std::string caption, int value = 0);

    const std::string& caption() const { return caption_; }
    int value() const { return value_; }
    // A change of value, by the user or by the program, runs the click handler;
    // setting the value it already has is no change and runs nothing.
    void setValue(int value);

    std::function<void()> onClick;

  private:
    std::string caption_;
    int value_;
};

}  // namespace vidor::platform
