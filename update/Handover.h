#pragma once

#include <cstdint>
#include <string>

#include "platform/Services.h"
#include "update/ProgramFiles.h"

namespace vidor::update {

// When the copy in `updateFolder` is newer than the local program (modified at `localTime`),
// starts the updater with the copy, the program file and the parameters of this run, then ends
// the program. When the updater cannot start, asks whether this version may go on: Yes
// returns, No ends the program. Returns at once when there is no newer copy, when this user
// cannot replace files in the program's folder, or when the program was replaced since it
// handed this same copy over.
void handOver(platform::Services& sys, const ProgramFiles& files, const std::string& updateFolder,
              std::int64_t localTime);

}  // namespace vidor::update
