#pragma once

#include <optional>
#include <string>

namespace vidor::platform {

// How often a scheduled run comes back: every night, or every Monday night.
enum class Frequency { Daily, Weekly };

// When scheduled runs start, in local time: at night, when the machine is seldom in use; a run
// missed because the machine was off is made up at its next start where the system can.
inline constexpr int kScheduledHour = 3;
inline constexpr int kScheduledMinute = 15;

// A scheduled run as the system holds it.
struct Schedule {
    std::optional<Frequency> frequency;  // nullopt: a timing this program does not write
    std::string command;                 // what it runs, as the system keeps it
    std::string where;                   // what runs it, in French ("minuteur systemd ...")
};

// The system's scheduler, for the unattended runs of this program. Each user has at most one
// scheduled run of the program, which belongs to the user who scheduled it (root's is the
// machine's). Failures are reported in `error`, in French, without a final period.
class Scheduler {
  public:
    virtual ~Scheduler() = default;

    // Schedules `program` with the one parameter `parameter` at `frequency`, in place of the run
    // scheduled before. True when done: `done` describes it, and `notice` is what the user must
    // still know to have it run (empty when nothing).
    virtual bool schedule(Frequency frequency, const std::string& program,
                          const std::string& parameter, Schedule& done, std::string& notice,
                          std::string& error) = 0;

    // Removes the scheduled run; `removed` is what was removed, nullopt when nothing was
    // scheduled.
    virtual bool unschedule(std::optional<Schedule>& removed, std::string& error) = 0;

    // The scheduled run in `found`, nullopt when there is none.
    virtual bool find(std::optional<Schedule>& found, std::string& error) = 0;
};

}  // namespace vidor::platform
