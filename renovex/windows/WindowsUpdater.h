#pragma once

#include "platform/windows/Handle.h"
#include "renovex/Updater.h"

namespace vidor::renovex {

// The updater's steps with the Win32 calls.
class WindowsUpdater : public Updater {
  public:
    bool openProgram(const std::string& program, std::string& error) override;
    bool waitUntilEnded(Deadline deadline) override;
    bool install(const std::string& newVersion, Deadline deadline, std::string& error) override;
    bool start(const std::string& program, const std::vector<std::string>& parameters, Start start,
               std::string& error) override;
    int waitForStarted() override;
    void tell(const std::string& text) override;

  private:
    std::string program_;
    platform::windows::Handle started_;
};

}  // namespace vidor::renovex
