#pragma once

#include "census/RemovalJournal.h"
#include "platform/Process.h"
#include "platform/TrashedFiles.h"

namespace vidor::census {

// Puts back each file that the last run (the last one the journal records removing files) sent
// to the recycle bin and that the bin still holds as the journal recorded it, making again the
// folders that went meanwhile. A file whose place is taken stays in the bin. Prints the path of
// each file put back, then how many came back and how many the run deleted for good; names each
// file that could not come back, and why, on standard error. Returns the exit status: 0 when
// everything went back, kExitUndeleted otherwise.
int restoreLastRun(RemovalJournal& journal, platform::TrashedFiles& trashed,
                   platform::Process& process);

}  // namespace vidor::census
