#include "platform/Stacking.h"

#include <algorithm>
#include <utility>

#include "platform/controls/Label.h"

namespace vidor::platform {

std::vector<Control*> bottomToTop(const std::vector<Control*>& siblings) {
    auto layer = [](const Control* control) {
        return std::pair(dynamic_cast<const Label*>(control) ? 0 : 1, control->tabIndex());
    };
    std::vector<Control*> order(siblings);
    std::stable_sort(order.begin(), order.end(),
                     [&layer](const Control* a, const Control* b) { return layer(a) < layer(b); });
    return order;
}

}  // namespace vidor::platform
