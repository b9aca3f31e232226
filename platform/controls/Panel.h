#pragma once

#include <functional>
#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

// A surface that holds other controls: a plain panel, or a frame with a caption.
class Panel : public Control {
  public:
    enum class Kind { Plain, Frame };

    Panel(std::string name, Twips place, int tabIndex, Kind kind = Kind::Plain,
          std::string caption = {});

    Kind kind() const { return kind_; }
    const std::string& caption() const { return caption_; }

    // The mouse moves over the panel's own surface (not over a control it holds).
    std::function<void()> onMouseMove;

  private:
    Kind kind_;
    std::string caption_;
};

}  // namespace vidor::platform
