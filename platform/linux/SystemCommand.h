#pragma once

#include <string>
#include <vector>

namespace vidor::platform::linux_ {

// What a command of the system did.
struct CommandResult {
    bool started = false;  // false: no such program, or it could not be started
    bool ran = false;      // false: it could not be started, or did not end within a minute
    int status = -1;       // its exit status when it ran
    std::string output;    // its standard output
    std::string errors;    // its standard error, or why it did not run
};

// Runs `program` (looked up in PATH) with `arguments`, gives it `input` on its standard input,
// and waits for it, a minute at most.
CommandResult runCommand(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input = {});

// The first line of what `result` wrote on its standard error, or why it did not run, for a
// message; its exit status when it wrote nothing.
std::string reasonOf(const CommandResult& result);

}  // namespace vidor::platform::linux_
