#include "renovex/linux/DisplayChoice.h"

#include "platform/linux/Display.h"

namespace vidor::renovex {

namespace {

bool set(const char* value) {
    return value && *value;
}

}  // namespace

std::string displayPlatforms(const char* qpaPlatform, const char* waylandDisplay,
                             const char* display) {
    if (!set(waylandDisplay) && !set(display)) return {};
    if (set(qpaPlatform)) {
        if (platform::linux_::drawsNowhere(qpaPlatform)) return {};
        return std::string(qpaPlatform) + ";offscreen";
    }
    std::string platforms;
    if (set(waylandDisplay)) platforms += "wayland;";
    if (set(display)) platforms += "xcb;";
    return platforms + "offscreen";
}

}  // namespace vidor::renovex
