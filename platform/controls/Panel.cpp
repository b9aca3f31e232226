#include "platform/controls/Panel.h"

#include <utility>

namespace vidor::platform {

Panel::Panel(std::string name, Twips place, int tabIndex, Kind kind, std::string caption)
    : Control(std::move(name), place, tabIndex), kind_(kind), caption_(std::move(caption)) {}

}  // namespace vidor::platform
