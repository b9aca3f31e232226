#include "platform/linux/Display.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace vidor::platform::linux_ {

namespace {

bool isSocket(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

bool waylandReachable() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (!display || !*display) return false;
    if (display[0] == '/') return isSocket(display);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && isSocket(std::string(runtime) + "/" + display);
}

bool x11Reachable() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    std::string name = display;
    const std::size_t colon = name.rfind(':');
    if (colon == std::string::npos) return false;
    const std::string host = name.substr(0, colon);
    if (!host.empty() && host != "unix") return true;  // a remote display: only a connection tells
    const std::string number = name.substr(colon + 1, name.find('.', colon) - colon - 1);
    return isSocket("/tmp/.X11-unix/X" + number);
}

}  // namespace

bool drawsNowhere(std::string_view qtPlatform) {
    const std::string_view name = qtPlatform.substr(0, qtPlatform.find(':'));
    return name == "offscreen" || name == "minimal";
}

bool displayReachable() {
    return waylandReachable() || x11Reachable();
}

}  // namespace vidor::platform::linux_
