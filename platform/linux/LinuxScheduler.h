#pragma once

#include "platform/Scheduler.h"
#include "platform/linux/CronTable.h"
#include "platform/linux/SystemdTimer.h"

namespace vidor::platform::linux_ {

// Scheduled runs on Linux: a systemd timer where the user's (or, for root, the system's) manager
// answers, the crontab where it does not. Scheduling in one removes the run from the other, so
// that a run is never scheduled twice.
class LinuxScheduler : public Scheduler {
  public:
    LinuxScheduler() : LinuxScheduler(SystemdTimer::ofThisUser()) {}
    explicit LinuxScheduler(SystemdTimer timer) : timer_(std::move(timer)) {}

    bool schedule(Frequency frequency, const std::string& program, const std::string& parameter,
                  Schedule& done, std::string& notice, std::string& error) override;
    bool unschedule(std::optional<Schedule>& removed, std::string& error) override;
    bool find(std::optional<Schedule>& found, std::string& error) override;

  private:
    SystemdTimer timer_;
    CronTable cron_;
};

}  // namespace vidor::platform::linux_
