#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace vidor::test {

// The running program as a test wants it: its folder, name and path rules are set by the test,
// and the programs it is asked to start are recorded; a start fails when `startFailure` is set.
class FakeProcess : public platform::Process {
  public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };

    bool previousInstance() override { return false; }
    std::string commandLine() override { return {}; }
    std::string exeName() override { return name; }
    std::string exeFolder() override { return folder; }
    std::string programSuffix() override { return suffix; }
    char separator() override { return slash; }
    void writeError(const std::string& line) override { errors.push_back(line); }
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments,
                      std::string& error) override {
        started.push_back({program, arguments});
        if (!startFailure) return true;
        error = *startFailure;
        return false;
    }

    std::string folder;
    std::string name = "Vidor";
    std::string suffix;
    char slash = '/';
    std::optional<std::string> startFailure;
    std::vector<Start> started;
    std::vector<std::string> errors;
};

}  // namespace vidor::test
