#pragma once

#include <string>

#include "census/RunReport.h"

namespace vidor::census {

// What a run did, in one French sentence for the user and the system's log: the files deleted
// and the bytes freed, the files sent to the recycle bin, the files that could not be removed.
std::string runSummary(const RunReport& report);

}  // namespace vidor::census
