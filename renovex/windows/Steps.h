#pragma once

#include <string>

#include "renovex/Updater.h"

namespace vidor::renovex::windows {

// Puts a whole copy of `newVersion` (with its date) in the place of `program` in one step,
// written through to the disk, retrying while the program is busy until `deadline`. Refused when
// the new version is being written by another, or is no whole program for this processor. On
// failure `error` says why, the program is untouched and no copy is left beside it.
bool installCopy(const std::string& newVersion, const std::string& program, Deadline deadline,
                 std::string& error);

// Waits until no process runs the file `program`; false when one still does at `deadline`.
bool waitUntilNotRunning(const std::string& program, Deadline deadline);

// Tells the user `text` where the program's messages go: a box on a screen a person sees (also
// written on standard error, and closing by itself, in a run with parameters); standard error
// without one.
void tellUser(const std::string& text);

}  // namespace vidor::renovex::windows
