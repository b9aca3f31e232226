#pragma once

#include <sys/types.h>

#include <memory>

#include "renovex/Updater.h"
#include "renovex/linux/ProgramFolder.h"

namespace vidor::renovex {

// The updater's steps on Linux: the program's folder held by descriptor, the new version
// checked whole before it takes the program's place, messages on standard error and in a
// message box when a display can be opened.
class LinuxUpdater : public Updater {
  public:
    bool openProgram(const std::string& program, std::string& error) override;
    bool waitUntilEnded(Deadline deadline) override;
    bool install(const std::string& newVersion, Deadline deadline, std::string& error) override;
    bool start(const std::string& program, const std::vector<std::string>& parameters, Start start,
               std::string& error) override;
    int waitForStarted() override;
    void tell(const std::string& text) override;

  private:
    std::unique_ptr<ProgramFolder> folder_;
    pid_t started_ = -1;
};

}  // namespace vidor::renovex
