#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace vidor::platform {

// A file in the recycle bin, as the bin records it.
struct TrashedItem {
    std::uint64_t size = 0;
    std::int64_t deleted = 0;  // when it went there, seconds since 1970 UTC
};

// What became of a file the program was to put back from the recycle bin.
struct Restoral {
    bool done = false;
    // When not done: something else took its place meanwhile (the file stays in the bin).
    bool placeTaken = false;
    // When not done: why, in words the user can act on.
    std::string reason;
};

// The files the program sent to the recycle bin, found again by the name the bin gave them
// (Removal::trashedAs): to put them back, or to empty them from the bin. Nothing else of the
// bin is ever touched.
class TrashedFiles {
  public:
    virtual ~TrashedFiles() = default;

    // What putting the file `path` (program's form) back needs to know of the folders that
    // hold it, to make them again as they were if they go meanwhile; empty when nothing is kept.
    virtual std::string folderRights(const std::string& path) = 0;

    // The item `trashedAs`, when it is in the bin and the bin records it as the file `path`
    // (program's form); nullopt otherwise.
    virtual std::optional<TrashedItem> find(const std::string& trashedAs,
                                            const std::string& path) = 0;

    // Removes the item `trashedAs` from the bin for good, with what the bin records of it.
    virtual Removal empty(const std::string& trashedAs) = 0;

    // Puts the item `trashedAs` back as the file `path`, making again the folders that are
    // missing with `folderRights` (as folderRights() gave them). Never replaces anything.
    virtual Restoral putBack(const std::string& trashedAs, const std::string& path,
                             const std::string& folderRights) = 0;
};

}  // namespace vidor::platform
