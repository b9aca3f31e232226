#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vidor::app {

// The text that "--help" or "--version" asks for when it is the first of `arguments`, to be
// written on standard output before anything else runs; nothing for any other command line.
std::optional<std::string> informationAsked(const std::vector<std::string>& arguments);

// The message that refuses `parameter`, as it was written, and ends the program.
std::string parameterError(const std::string& parameter);

}  // namespace vidor::app
