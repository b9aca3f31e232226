#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Notifier.h"

namespace vidor::platform::linux_ {

// Notifications of the freedesktop.org desktops, over the session's D-Bus. The call is made by a
// copy of the program started for it alone ("--avis"), which waits for the service so that this
// one never does: a run ends at once, whatever the desktop does.
class DesktopNotifier : public Notifier {
  public:
    // `program`: the program file, which makes the call.
    explicit DesktopNotifier(std::string program) : program_(std::move(program)) {}

    // Nothing outside a session with a D-Bus of its own.
    void notify(const std::string& summary, const std::string& text) override;

  private:
    std::string program_;
};

// When `arguments` ask for a notification ("--avis", title, text), makes the call and gives the
// exit status: 0 when a notification service took it, 1 when none did. Nothing otherwise.
std::optional<int> noticeAsked(const std::vector<std::string>& arguments);

// Sends one notification over the session bus and waits (a few seconds at most) for the
// service's answer; true when a service took it. A service not running is not started.
bool sendNotice(const std::string& summary, const std::string& text);

}  // namespace vidor::platform::linux_
