#include "platform/linux/LinuxScheduler.h"

namespace vidor::platform::linux_ {

bool LinuxScheduler::schedule(Frequency frequency, const std::string& program,
                              const std::string& parameter, Schedule& done, std::string& notice,
                              std::string& error) {
    std::optional<Schedule> earlier;
    if (timer_.answers()) {
        if (!timer_.schedule(frequency, program, parameter, done, notice, error)) return false;
        // A machine without crontab has no earlier line to remove.
        std::string ignored;
        cron_.unschedule(earlier, ignored);
        return true;
    }
    if (!cron_.schedule(frequency, program, parameter, done, error)) {
        error = "systemd ne répond pas, et " + error;
        return false;
    }
    return true;
}

bool LinuxScheduler::unschedule(std::optional<Schedule>& removed, std::string& error) {
    if (timer_.answers() && !timer_.unschedule(removed, error)) return false;
    std::optional<Schedule> fromCron;
    std::string cronError;
    if (!cron_.unschedule(fromCron, cronError) && !removed) {
        error = cronError;
        return false;
    }
    if (!removed) removed = fromCron;
    return true;
}

bool LinuxScheduler::find(std::optional<Schedule>& found, std::string& error) {
    if (!timer_.find(found, error)) return false;
    return found || cron_.find(found, error);
}

}  // namespace vidor::platform::linux_
