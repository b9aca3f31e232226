#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace vidor::test {

// The running program as a test wants it: its folder, name, parameters and path rules are set by
// the test, and the programs it is asked to start are recorded, each followed by its arguments; a
// start fails when `startFailure` is set. It may always replace itself.
struct FakeProcess : platform::Process {
    bool previousInstance() override { return false; }
    std::string commandLine() override { return parameters; }
    std::string exeName() override { return name; }
    std::string exeFolder() override { return folder; }
    std::string programSuffix() override { return suffix; }
    char separator() override { return slash; }
    void writeStandardError(const std::string&) override {}
    void writeOutput(const std::string&) override {}
    bool programReplaceable() override { return true; }
    bool updateFailed() override { return false; }
    bool handOver(const std::string& program, const std::vector<std::string>& arguments,
                  std::string& error) override {
        started.push_back(arguments);
        started.back().insert(started.back().begin(), program);
        if (startFailure) error = *startFailure;
        return !startFailure;
    }

    std::string folder, name = "Vidor", suffix, parameters;
    char slash = '/';
    std::optional<std::string> startFailure;
    std::vector<std::vector<std::string>> started;
};

}  // namespace vidor::test
