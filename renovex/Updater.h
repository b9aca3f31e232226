#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace vidor::renovex {

using Deadline = std::chrono::steady_clock::time_point;

// Which program the updater starts at its end: the new version, or the old one again.
enum class Start { NewVersion, AfterFailedUpdate };

// What the updater does on the machine. Every step that fails leaves the program as it was and
// says why in `error`, in French, without a final period.
class Updater {
  public:
    virtual ~Updater() = default;

    // Takes hold of the folder of `program` and checks that the program may be replaced there.
    virtual bool openProgram(const std::string& program, std::string& error) = 0;
    // Waits until no process runs the program any more; false when one still does at
    // `deadline`.
    virtual bool waitUntilEnded(Deadline deadline) = 0;
    // Puts a whole copy of `newVersion` in the program's place in one step, retrying while the
    // system says the program is busy until `deadline`.
    virtual bool install(const std::string& newVersion, Deadline deadline, std::string& error) = 0;
    // Starts `program` with `parameters`, without waiting for it. After a failed update the
    // program is told so, and does not hand the same copy over again in that run.
    virtual bool start(const std::string& program, const std::vector<std::string>& parameters,
                       Start start, std::string& error) = 0;
    // Waits for the program start() started to end; its exit status, or 1 when it did not end by
    // itself.
    virtual int waitForStarted() = 0;
    // Tells the user `text`, and returns once the user has read it where a person can.
    virtual void tell(const std::string& text) = 0;
};

}  // namespace vidor::renovex
