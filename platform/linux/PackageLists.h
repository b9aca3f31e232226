#pragma once

#include <string>

#include "platform/linux/PathSet.h"

namespace vidor::platform::linux_ {

// The files that dpkg's lists in `folder` (<folder>/*.list) name. A listed folder that goes
// through a link (/lib on a merged /usr) is the same folder as its real path: a file is found
// under either, whichever of them the lists named it by. The lists are read one at a time, with
// a single descriptor open.
PathSet readPackageLists(const std::string& folder);

}  // namespace vidor::platform::linux_
