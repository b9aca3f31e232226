#include "platform/linux/Display.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/linux/UniqueFd.h"

namespace vidor::platform::linux_ {

namespace {

// A Wayland compositor lets in whoever reaches its socket.
bool accepts(const std::string& socketPath) {
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return fd && ::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool waylandReachable() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (!display || !*display) return false;
    if (display[0] == '/') return accepts(display);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && accepts(std::string(runtime) + "/" + display);
}

// An X server may refuse a client without the right authority: only a connection tells.
bool x11Reachable() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    // The library writes the server's refusal on standard error: a scheduled run prints only
    // the program's own messages.
    UniqueFd errors(::dup(STDERR_FILENO));
    UniqueFd nowhere(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    if (errors && nowhere) ::dup2(nowhere.get(), STDERR_FILENO);
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (errors && nowhere) ::dup2(errors.get(), STDERR_FILENO);
    return connected;
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
