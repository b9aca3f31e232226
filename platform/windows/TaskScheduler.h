#pragma once

#include <string>

#include "platform/Scheduler.h"

namespace vidor::platform::windows {

// Scheduled runs through the Task Scheduler's COM interface: one task in its root folder,
// registered for the user who schedules it and run only while that user is logged on.
class TaskScheduler : public Scheduler {
  public:
    // The task named `name`: "Vidor", or a name of their own for tests.
    explicit TaskScheduler(std::string name = "Vidor") : name_(std::move(name)) {}

    bool schedule(Frequency frequency, const std::string& program, const std::string& parameter,
                  Schedule& done, std::string& notice, std::string& error) override;
    bool unschedule(std::optional<Schedule>& removed, std::string& error) override;
    bool find(std::optional<Schedule>& found, std::string& error) override;

  private:
    std::string name_;
};

}  // namespace vidor::platform::windows
