#pragma once

#include <functional>
#include <string>

#include "platform/controls/Control.h"

namespace vidor::platform {

class Button;

// Mouse pointers a window can show.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;

// A top-level window. Its place is the outer rectangle, frame and title bar included;
// the inner area holds the controls. A window starts hidden: the window system shows it.
class Window : public Control {
  public:
    // Height and width of the frame and title bar around the inner area.
    static constexpr int kFrameHeight = 330;
    static constexpr int kFrameWidth = 120;

    Window(std::string name, int innerWidth, int innerHeight, std::string caption);

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    int height() const { return place().height; }
    void setHeight(int height);
    int width() const { return place().width; }
    int innerHeight() const { return height() - kFrameHeight; }
    int innerWidth() const { return width() - kFrameWidth; }

    // The button that Enter presses, and the one that Escape presses; either may be null.
    Button* defaultButton() const { return defaultButton_; }
    void setDefaultButton(Button* button);
    Button* cancelButton() const { return cancelButton_; }
    void setCancelButton(Button* button);

    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    // Run once by the window system when it loads the window, before showing it.
    std::function<void()> onLoad;

    // Closing the window, by the user or the program, runs this handler, then hides it.
    std::function<void()> onUnload;
    void close();

  private:
    std::string caption_;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    int mousePointer_ = kPointerDefault;
};

}  // namespace vidor::platform
