#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/linux/SingleInstance.h"

namespace vidor::platform::linux_ {

// The running program: its file, its arguments, and the claim that keeps a second copy from
// running for the same user.
class LinuxProcess : public Process {
  public:
    // `programPath` is the program file; `arguments` are those that follow its name.
    LinuxProcess(std::string programPath, std::vector<std::string> arguments);
    ~LinuxProcess() override;

    bool previousInstance() override;
    std::string commandLine() override;
    std::string exeName() override;
    std::string exeFolder() override;
    std::string programSuffix() override { return {}; }
    char separator() override { return '/'; }
    bool programReplaceable() override;
    bool updateFailed() override { return updateFailed_; }
    bool handOver(const std::string& program, const std::vector<std::string>& arguments,
                  std::string& error) override;
    void writeOutput(const std::string& text) override;

    // The program file of the running process.
    static std::string runningProgram();

    // Starts `program` with `arguments` without waiting for it, in this process's environment;
    // on failure `error` says why.
    static bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                              std::string& error);

  protected:
    void writeStandardError(const std::string& text) override;

  private:
    std::string programPath_;
    std::vector<std::string> arguments_;
    // The environment as the program found it, before it made settings for itself (such as
    // the Qt platform it chose without a screen).
    std::vector<std::string> environment_;
    bool updateFailed_ = false;
    std::unique_ptr<SingleInstance> claim_;
};

}  // namespace vidor::platform::linux_
