#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Scheduler.h"

namespace vidor::platform::linux_ {

// The program's run as a systemd timer and the service it starts, in the user's unit folder
// (or, for root, the system's), enabled and started through systemctl. The service's output
// goes to the system log.
class SystemdTimer {
  public:
    // The timer of this user: root's in the system's folder, any other user's in their own.
    static SystemdTimer ofThisUser();
    // `system`: the system's manager rather than the user's; `unitFolder` holds the units;
    // `lingerFolder` has a file for each user whose manager runs while they are logged out.
    SystemdTimer(bool system, std::string unitFolder, std::string lingerFolder);

    // The units' names, such as vidor.timer.
    static std::string timerName();
    static std::string serviceName();
    // The units that run `program` with `parameter` at `frequency`; empty when systemd cannot
    // start that path (a quote, a backslash or a control character in it).
    static std::string serviceUnit(const std::string& program, const std::string& parameter);
    static std::string timerUnit(Frequency frequency);

    // True when the manager answers systemctl.
    bool answers() const;

    bool schedule(Frequency frequency, const std::string& program, const std::string& parameter,
                  Schedule& done, std::string& notice, std::string& error);
    bool unschedule(std::optional<Schedule>& removed, std::string& error);
    bool find(std::optional<Schedule>& found, std::string& error) const;

  private:
    bool systemctl(std::vector<std::string> arguments, std::string& error) const;
    std::string where() const;
    std::string lingerNotice() const;

    bool system_;
    std::string unitFolder_;
    std::string lingerFolder_;
};

}  // namespace vidor::platform::linux_
