#include "platform/Keyboard.h"

#include <algorithm>

#include "platform/controls/Button.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Window.h"

namespace vidor::platform {

namespace {

void collectStops(const Control& container, std::vector<Control*>& stops) {
    for (Control* child : container.children()) {
        if (takesFocus(*child) && usable(*child)) stops.push_back(child);
        collectStops(*child, stops);
    }
}

}  // namespace

bool usable(const Control& control) {
    for (const Control* up = &control; up; up = up->parent()) {
        // The window itself is shown by the window system; what counts is what lies inside it.
        if (!up->parent()) break;
        if (!up->visible() || !up->enabled()) return false;
    }
    return true;
}

bool takesFocus(const Control& control) {
    return dynamic_cast<const Button*>(&control) || dynamic_cast<const CheckBox*>(&control) ||
           dynamic_cast<const ListBox*>(&control) || dynamic_cast<const TextBox*>(&control);
}

std::vector<Control*> tabStops(const Window& window) {
    std::vector<Control*> stops;
    collectStops(window, stops);
    std::stable_sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) {
        return a->tabIndex() < b->tabIndex();
    });
    return stops;
}

Control* nextTabStop(const Window& window, const Control* focused, bool backwards) {
    const std::vector<Control*> stops = tabStops(window);
    const auto at = std::find(stops.begin(), stops.end(), focused);
    if (at == stops.end()) return focusHome(window, nullptr);
    const std::size_t here = static_cast<std::size_t>(at - stops.begin());
    const std::size_t count = stops.size();
    return stops[backwards ? (here + count - 1) % count : (here + 1) % count];
}

Control* focusHome(const Window& window, const Control* focused) {
    if (focused && takesFocus(*focused) && usable(*focused)) return const_cast<Control*>(focused);
    if (Button* button = window.defaultButton(); button && usable(*button)) return button;
    const std::vector<Control*> stops = tabStops(window);
    return stops.empty() ? nullptr : stops.front();
}

KeyAction keyAction(const Window& window, Key key, const Control* focused, bool modal) {
    if (key == Key::Escape) {
        Button* cancel = window.cancelButton();
        if (!cancel) return {nullptr, modal};
        return {usable(*cancel) ? cancel : nullptr, false};
    }
    // Enter on a button presses that button, as everywhere else.
    if (auto* button = dynamic_cast<const Button*>(focused); button && usable(*button))
        return {const_cast<Button*>(button), false};
    Button* byDefault = window.defaultButton();
    return {byDefault && usable(*byDefault) ? byDefault : nullptr, false};
}

}  // namespace vidor::platform
