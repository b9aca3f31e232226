#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/windows/Handle.h"

namespace vidor::platform::windows {

// The running program: its module, its raw command line, a named mutex for the single copy.
class WindowsProcess : public Process {
  public:
    // Defaults: the program file from the module, the command line from GetCommandLineW.
    WindowsProcess();
    // `instanceScope` keeps apart copies that run together on purpose (the tests); empty for the
    // user's session.
    WindowsProcess(std::string programPath, std::string rawCommandLine,
                   std::string instanceScope = {})
        : programPath_(std::move(programPath)),
          rawCommandLine_(std::move(rawCommandLine)),
          instanceScope_(std::move(instanceScope)) {}

    bool previousInstance() override;
    std::string commandLine() override;
    std::string exeName() override;
    std::string exeFolder() override;
    VersionNumbers version() override;
    std::string programSuffix() override { return ".exe"; }
    char separator() override { return '\\'; }
    bool programReplaceable() override;
    bool updateFailed() override;
    bool handOver(const std::string& program, const std::vector<std::string>& arguments,
                  std::string& error) override;
    void writeOutput(const std::string& text) override;

    // Starts `program` with `arguments` in a new process and does not wait for it.
    static bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                              std::string& error);
    // Starts `program` with `arguments` in a new process; its handle, empty on failure (then
    // `error` says why).
    static Handle start(const std::string& program, const std::vector<std::string>& arguments,
                        std::string& error);

  protected:
    void writeStandardError(const std::string& text) override;

  private:
    std::string programPath_;
    std::string rawCommandLine_;
    std::string instanceScope_;
    Handle mutex_;
};

// The file version in the version resource of the program file at `path`, if it has one.
std::optional<VersionNumbers> fileVersion(const std::string& path);

// The text of a raw command line after the program's name (quoted or not) and the blanks that
// follow it; the rest is kept exactly.
std::string afterProgramName(const std::string& rawCommandLine);

// One argument quoted so that CommandLineToArgvW gives it back unchanged.
std::wstring quoteArgument(const std::wstring& argument);

}  // namespace vidor::platform::windows
