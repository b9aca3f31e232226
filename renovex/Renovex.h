#pragma once

#include <string>
#include <vector>

#include "renovex/Updater.h"

namespace vidor::renovex {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The whole update, from the updater's parameters: the new version, the program file, then the
// parameters of the run that met the update. Once the program has ended, puts the new version
// in its place and starts it with those parameters. Returns the updater's exit status; on
// failure the old program stays and the user is told why.
int runUpdate(const std::vector<std::string>& arguments, Updater& updater);

}  // namespace vidor::renovex
