#include "renovex/DisplayChoice.h"

#include <string_view>

namespace vidor::renovex {

namespace {

bool set(const char* value) {
    return value && *value;
}

// "offscreen" and "minimal" draw into memory only; options may follow the name after a colon.
bool drawsNowhere(std::string_view platform) {
    const std::string_view name = platform.substr(0, platform.find(':'));
    return name == "offscreen" || name == "minimal";
}

}  // namespace

std::string displayPlatforms(const char* qpaPlatform, const char* waylandDisplay,
                             const char* display) {
    if (!set(waylandDisplay) && !set(display)) return {};
    if (set(qpaPlatform)) {
        if (drawsNowhere(qpaPlatform)) return {};
        return std::string(qpaPlatform) + ";offscreen";
    }
    std::string platforms;
    if (set(waylandDisplay)) platforms += "wayland;";
    if (set(display)) platforms += "xcb;";
    return platforms + "offscreen";
}

}  // namespace vidor::renovex
