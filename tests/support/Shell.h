#pragma once

#include <filesystem>
#include <string>

namespace vidor::test {

// `path` as one word for the shell, whatever quotes it holds.
std::string quoted(const std::filesystem::path& path);

// Runs `command` through the shell, killed after a minute, its standard error written to
// `errorFile`; returns its exit status, or -1 when it did not exit by itself.
int runShell(const std::string& command, const std::filesystem::path& errorFile);

}  // namespace vidor::test
