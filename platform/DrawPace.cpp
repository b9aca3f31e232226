#include "platform/DrawPace.h"

namespace vidor::platform {

std::chrono::milliseconds DrawPace::wait(Clock::time_point now) const {
    if (cost_ < kQuick) return {};
    const Clock::duration left = end_ + kSpacing * cost_ - now;
    if (left <= Clock::duration::zero()) return {};
    return std::chrono::ceil<std::chrono::milliseconds>(left);
}

void DrawPace::drawn(Clock::time_point start, Clock::time_point end) {
    cost_ = end - start;
    end_ = end;
}

}  // namespace vidor::platform
