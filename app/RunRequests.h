#pragma once

#include <optional>
#include <string>

namespace vidor::app {

// The command line without its "/LISTE" parameter (in any letter case, wherever it stands)
// when it has one: the run then only prints what it would remove. Nothing otherwise.
std::optional<std::string> previewLine(const std::string& commandLine);

// True when the command line is "/RESTAURER" (in any letter case): the run puts back what the
// last run sent to the recycle bin.
bool restoreAsked(const std::string& commandLine);

}  // namespace vidor::app
