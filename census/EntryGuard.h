#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace vidor::census {

// Which entries found in a folder the program may touch. The walk and the purge ask it alike, so
// that a file the walk would never list is never purged either.
class EntryGuard {
  public:
    // `files` tells the files of the system; without it, no file is one.
    explicit EntryGuard(platform::FileSystem* files) : files_(files) {}

    // Whether an entry named so is hidden (its name starts with a dot): it is left alone, neither
    // entered, listed nor removed.
    static bool hidden(const std::string& name);
    // Whether the entry is a sub-folder to go into: not hidden and no file (a link is a file, and
    // is never followed).
    static bool entered(const platform::FolderEntry& entry);

    // Whether the file `name` of the folder `folder` (its path, with its final backslash) may be
    // listed or removed: not hidden, and no file of an installed package.
    bool mayTouch(const std::string& folder, const std::string& name) const;

  private:
    platform::FileSystem* files_;
};

}  // namespace vidor::census
