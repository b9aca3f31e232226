#include "platform/controls/Window.h"

#include <utility>

namespace vidor::platform {

Window::Window(std::string name, int innerWidth, int innerHeight, std::string caption)
    : Control(std::move(name), {0, 0, innerWidth + kFrameWidth, innerHeight + kFrameHeight}),
      caption_(std::move(caption)) {
    setVisible(false);
}

void Window::setCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    notify(Property::Caption);
}

void Window::setHeight(int height) {
    resize(width(), height);
}

void Window::setDefaultButton(Button* button) {
    if (defaultButton_ == button) return;
    defaultButton_ = button;
    notify(Property::Default);
}

void Window::setCancelButton(Button* button) {
    if (cancelButton_ == button) return;
    cancelButton_ = button;
    notify(Property::Default);
}

void Window::setMousePointer(int pointer) {
    if (mousePointer_ == pointer) return;
    mousePointer_ = pointer;
    notify(Property::Pointer);
}

void Window::close() {
    if (onUnload) onUnload();
    setVisible(false);
}

}  // namespace vidor::platform
