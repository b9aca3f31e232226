#pragma once

#include "renovex/Updater.h"

namespace vidor::renovex {

// The updater's steps with the Win32 calls.
class WindowsUpdater : public Updater {
  public:
    bool openProgram(const std::string& program, std::string& error) override;
    bool waitUntilEnded(Deadline deadline) override;
    bool install(const std::string& newVersion, Deadline deadline, std::string& error) override;
    bool start(const std::string& program, const std::vector<std::string>& parameters,
               std::string& error) override;
    void tell(const std::string& text) override;

  private:
    std::string program_;
};

}  // namespace vidor::renovex
