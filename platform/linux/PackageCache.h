#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "platform/linux/PathSet.h"

namespace vidor::platform::linux_ {

// The table of the files packages own, kept in the user's cache between runs: a header that
// describes the lists' folder it was read from, the table, and what the lists gave when it was
// made (the number of paths, the table's size and a checksum of it).

// The lists' folder `folder` as it is now: its path, identity and times of change, as the lines
// that head the cache. A folder that cannot be read gives its own lines too. `modified` (when
// given) receives the folder's time of change.
std::string listFolderHeader(const std::string& folder, timespec* modified = nullptr);

// The table kept in `file` for the folder `header` describes. Nullopt when there is none, when
// anyone but the running user wrote it or could have, and when anything in it disagrees with
// what it says of itself. The file is read whole into memory: whatever is done to it meanwhile
// or later cannot reach the table.
std::optional<PathSet> readPackageCache(const std::string& file, const std::string& header);

// Keeps `table` in `file` for the folder `header` describes; false when it could not.
bool writePackageCache(const std::string& file, const std::string& header, const PathSet& table);

}  // namespace vidor::platform::linux_
