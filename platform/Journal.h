#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vidor::platform {

// The user's journal of what the program removed: a text file of whole lines, kept where the
// system keeps a program's state (Brenlo/Vidor under $XDG_STATE_HOME on Linux, under
// %LOCALAPPDATA% on Windows), with the clock that dates its lines and the system's log. The file
// is never written through a link, nor into a file or folder of another user.
class Journal {
  public:
    virtual ~Journal() = default;

    // Seconds since 1970-01-01 UTC, now.
    virtual std::int64_t now() = 0;
    // How far the local time is ahead of UTC at `time`, in seconds.
    virtual int utcOffset(std::int64_t time) = 0;

    // Adds `line` (ending with a line break) at the end of the file in one write, so that a crash
    // loses at most the line being written. False, with `error` set, when it could not.
    virtual bool append(const std::string& line, std::string& error) = 0;
    // The whole file; empty when there is none yet, nullopt when it cannot be read.
    virtual std::optional<std::string> read() = 0;
    // Replaces the whole file by `contents` in one step: a crash leaves the old file or the new.
    virtual bool replace(const std::string& contents) = 0;

    // Leaves one line in the system's log (syslog on Linux; Windows keeps none).
    virtual void systemLog(const std::string& line) = 0;
};

}  // namespace vidor::platform
