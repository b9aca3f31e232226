#pragma once

#include <optional>
#include <string>

#include "platform/Scheduler.h"

namespace vidor::platform::linux_ {

// The user's crontab, through the crontab command: the program's run is one line there, under a
// comment line naming it; every other line stays as it is. Cron mails what the run writes.
class CronTable {
  public:
    // The line that runs `program` with `parameter` at `frequency`.
    static std::string entryLine(Frequency frequency, const std::string& program,
                                 const std::string& parameter);
    // `table` with the program's comment line and `line` in place of its earlier entry.
    static std::string withEntry(const std::string& table, const std::string& line);
    // `table` without the program's entry.
    static std::string withoutEntry(const std::string& table);
    // The program's entry line in `table`, if it has one.
    static std::optional<std::string> entryOf(const std::string& table);
    // What the entry `line` runs, and when.
    static Schedule scheduleOf(const std::string& line);

    bool schedule(Frequency frequency, const std::string& program, const std::string& parameter,
                  Schedule& done, std::string& error);
    bool unschedule(std::optional<Schedule>& removed, std::string& error);
    bool find(std::optional<Schedule>& found, std::string& error);

  private:
    bool read(std::string& table, std::string& error);
    bool write(const std::string& table, std::string& error);
};

}  // namespace vidor::platform::linux_
