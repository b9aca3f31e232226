#pragma once

#include <cstdint>
#include <string>

#include "platform/Services.h"
#include "update/ProgramFiles.h"

namespace vidor::update {

// On the machine where the program is built: when the copy in `updateFolder` is older than the
// local program (modified at `localTime`), deletes it with a beep, then copies the local
// program there; with no copy there, copies it without a beep. The copy appears whole or not
// at all. A failure is told to the user and ends the publishing; the program goes on in every
// case.
void publish(platform::Services& sys, const ProgramFiles& files, const std::string& updateFolder,
             std::int64_t localTime);

}  // namespace vidor::update
