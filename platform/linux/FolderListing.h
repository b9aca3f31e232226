#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace vidor::platform::linux_ {

// Entries of a folder's listing held in memory, in the system's order, packed in one block (a
// kind, the name, a terminating zero) so that a listing costs about its names' length.
class FolderListing {
  public:
    void add(std::string_view name, EntryKind kind);
    // The next entry not yet handed out; false when none is left.
    bool next(FolderEntry& entry);
    // Calls `f` with each entry, from the first, whether handed out or not.
    template <class F>
    void forEach(F f) const {
        FolderEntry entry;
        for (std::size_t at = 0; at < data_.size();) {
            at = decode(at, entry);
            f(entry);
        }
    }
    void clear();
    std::size_t bytes() const { return data_.size(); }

  private:
    std::size_t decode(std::size_t at, FolderEntry& entry) const;

    std::string data_;
    std::size_t read_ = 0;
};

// Adds to `listing` the entries one call of getdents64 returns from the open folder `fd`, where
// its position is, using `buffer`: "." and "..", and names that hold a backslash (they cannot be
// written in the program's paths), are left out. False at the end of the listing or when reading
// fails, which ends it.
bool readListing(int fd, FolderListing& listing, std::vector<char>& buffer);

}  // namespace vidor::platform::linux_
